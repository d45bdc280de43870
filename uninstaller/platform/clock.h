// Time: the millisecond tick and waiting.
#pragma once

#include <cstdint>

namespace platform {

class Clock {
 public:
  virtual ~Clock() = default;
  // GetTickCount.
  virtual std::uint32_t tickCount() = 0;
  // Sleep.
  virtual void sleep(std::uint32_t milliseconds) = 0;
};

}  // namespace platform

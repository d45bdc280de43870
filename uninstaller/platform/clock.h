// Time: the millisecond tick and waiting.
#pragma once

#include <cstdint>

namespace platform {

// SYSTEMTIME, in Coordinated Universal Time.
struct SystemTime {
  std::uint16_t year = 0;
  std::uint16_t month = 0;  // 1 to 12
  std::uint16_t day = 0;
  std::uint16_t hour = 0;
  std::uint16_t minute = 0;
  std::uint16_t second = 0;
  std::uint16_t milliseconds = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  // GetTickCount.
  virtual std::uint32_t tickCount() = 0;
  // Sleep.
  virtual void sleep(std::uint32_t milliseconds) = 0;
  // GetSystemTime.
  virtual SystemTime utcTime() = 0;
};

}  // namespace platform

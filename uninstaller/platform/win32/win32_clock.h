// The millisecond tick and waiting.
#pragma once

#include "platform/clock.h"

namespace win32 {

class Win32Clock final : public platform::Clock {
 public:
  std::uint32_t tickCount() override;
  void sleep(std::uint32_t milliseconds) override;
  platform::SystemTime utcTime() override;
};

}  // namespace win32

// Simulated time: a millisecond counter that moves only when the program
// sleeps or a test advances it, so waits cost nothing and timed behaviour
// (service transitions, polling loops) is repeatable.
#pragma once

#include <cstdint>

#include "platform/clock.h"

namespace sim {

class SimClock final : public platform::Clock {
 public:
  // GetTickCount: the low 32 bits of the milliseconds since start, so it
  // wraps after 49.7 days as on Windows.
  std::uint32_t tickCount() override { return static_cast<std::uint32_t>(now_); }
  // Sleep: advances the clock.
  void sleep(std::uint32_t milliseconds) override {
    now_ += milliseconds;
    slept_ += milliseconds;
  }

  // GetSystemTime: the machine started at midnight UTC on 1 March 2026 and
  // the date follows the tick count (the day of the month wraps after 28).
  platform::SystemTime utcTime() override {
    const std::uint64_t ms = now_ % 86'400'000;
    return {2026,
            3,
            static_cast<std::uint16_t>(1 + now_ / 86'400'000 % 28),
            static_cast<std::uint16_t>(ms / 3'600'000),
            static_cast<std::uint16_t>(ms / 60'000 % 60),
            static_cast<std::uint16_t>(ms / 1000 % 60),
            static_cast<std::uint16_t>(ms % 1000)};
  }

  std::uint64_t now() const { return now_; }
  void advance(std::uint64_t milliseconds) { now_ += milliseconds; }
  // Sets the time since start, e.g. just below a tick-count wrap.
  void setNow(std::uint64_t milliseconds) { now_ = milliseconds; }
  // The total the program has slept.
  std::uint64_t totalSlept() const { return slept_; }

 private:
  std::uint64_t now_ = 60'000;  // a minute after start
  std::uint64_t slept_ = 0;
};

}  // namespace sim

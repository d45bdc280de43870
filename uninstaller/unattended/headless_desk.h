// The windowless stand-in for the dialog manager that an unattended run
// drives the program's dialogs with: each dialog object gets a handle of
// its own, messages sent to it reach its handler at once, posted ones wait
// in one queue, and its timers fire by the clock. No window is created.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>

#include "platform/clock.h"
#include "platform/win32_types.h"
#include "shell/dialog_base.h"

class HeadlessDesk {
 public:
  explicit HeadlessDesk(platform::Clock& clock) : clock_(clock) {}

  // Gives the dialog a handle (and sets its window member) without sending
  // it anything.
  platform::WindowHandle add(CDialogBase& dialog);
  bool owns(platform::WindowHandle window) const { return dialogs_.count(window) != 0; }

  // SendMessage: the dialog's answer, 0 for a handle of no dialog here.
  platform::LResult send(platform::WindowHandle window, std::uint32_t message,
                         platform::WParam wParam, platform::LParam lParam);
  // Whether `message` has reached the dialog of `window`.
  bool wasDelivered(platform::WindowHandle window, std::uint32_t message) const {
    return delivered_.count({window, message}) != 0;
  }
  // PostMessage: delivered by the loop, in the order posted.
  void post(platform::WindowHandle window, std::uint32_t message, platform::WParam wParam,
            platform::LParam lParam);

  // SetTimer replaces a timer of the same id; KillTimer.
  void setTimer(platform::WindowHandle window, std::uint32_t id, std::uint32_t periodMs);
  void killTimer(platform::WindowHandle window, std::uint32_t id);
  bool hasTimer(platform::WindowHandle window, std::uint32_t id) const;

  // EndDialog: the dialog's timers stop and its result is kept.
  void end(platform::WindowHandle window, int result);
  std::optional<int> result(platform::WindowHandle window) const;

  // The message loop: delivers posted messages, then the timer due first
  // (sleeping until it is due), until `done` holds. False when nothing is
  // left that could make it hold (no message queued, no timer running) or
  // after `maxTicks` timer messages.
  bool runUntil(const std::function<bool()>& done, std::uint64_t maxTicks = kMaxTicks);

  // A whole day of 200 ms ticks: enough for any run, short of a masking
  // tool that never exits.
  static constexpr std::uint64_t kMaxTicks = 432'000;

 private:
  struct Posted {
    platform::WindowHandle window;
    std::uint32_t message;
    platform::WParam wParam;
    platform::LParam lParam;
  };
  struct Timer {
    std::uint32_t period = 0;
    std::uint32_t due = 0;  // tick count
  };
  using TimerKey = std::pair<platform::WindowHandle, std::uint32_t>;

  bool deliverPosted();
  bool fireNextTimer();

  platform::Clock& clock_;
  std::map<platform::WindowHandle, CDialogBase*> dialogs_;
  std::map<platform::WindowHandle, int> results_;
  std::map<TimerKey, Timer> timers_;
  std::deque<Posted> queue_;
  std::set<std::pair<platform::WindowHandle, std::uint32_t>> delivered_;
  std::uintptr_t next_ = 0;
};

#include "unattended/headless_desk.h"

#include "shell/dialog_messages.h"

namespace {

// Handles far above those USER32 hands out, so that a real window is never
// mistaken for one of these.
constexpr std::uintptr_t kFirstHandle = 0x7FFF0010;

}  // namespace

platform::WindowHandle HeadlessDesk::add(CDialogBase& dialog) {
  const platform::WindowHandle window{kFirstHandle + next_++};
  dialogs_[window] = &dialog;
  dialog.window = window;
  return window;
}

platform::LResult HeadlessDesk::send(platform::WindowHandle window, std::uint32_t message,
                                     platform::WParam wParam, platform::LParam lParam) {
  const auto it = dialogs_.find(window);
  if (it == dialogs_.end()) return 0;
  delivered_.insert({window, message});
  return it->second->HandleMessage(window, message, wParam, lParam);
}

void HeadlessDesk::post(platform::WindowHandle window, std::uint32_t message,
                        platform::WParam wParam, platform::LParam lParam) {
  queue_.push_back({window, message, wParam, lParam});
}

void HeadlessDesk::setTimer(platform::WindowHandle window, std::uint32_t id,
                            std::uint32_t periodMs) {
  timers_[{window, id}] = Timer{periodMs, clock_.tickCount() + periodMs};
}

void HeadlessDesk::killTimer(platform::WindowHandle window, std::uint32_t id) {
  timers_.erase({window, id});
}

bool HeadlessDesk::hasTimer(platform::WindowHandle window, std::uint32_t id) const {
  return timers_.count({window, id}) != 0;
}

void HeadlessDesk::end(platform::WindowHandle window, int result) {
  results_.emplace(window, result);
  for (auto it = timers_.begin(); it != timers_.end();) {
    it = it->first.first == window ? timers_.erase(it) : std::next(it);
  }
}

std::optional<int> HeadlessDesk::result(platform::WindowHandle window) const {
  const auto it = results_.find(window);
  if (it == results_.end()) return std::nullopt;
  return it->second;
}

bool HeadlessDesk::runUntil(const std::function<bool()>& done, std::uint64_t maxTicks) {
  std::uint64_t ticks = 0;
  while (!done()) {
    if (deliverPosted()) continue;
    if (ticks++ == maxTicks || !fireNextTimer()) return false;
  }
  return true;
}

bool HeadlessDesk::deliverPosted() {
  if (queue_.empty()) return false;
  const Posted posted = queue_.front();
  queue_.pop_front();
  send(posted.window, posted.message, posted.wParam, posted.lParam);
  return true;
}

// As USER32 does, a timer that fell behind fires once, not once per
// missed period. Tick counts wrap, so "due" is compared by difference.
bool HeadlessDesk::fireNextTimer() {
  if (timers_.empty()) return false;
  const std::uint32_t now = clock_.tickCount();
  auto next = timers_.begin();
  for (auto it = timers_.begin(); it != timers_.end(); ++it) {
    if (static_cast<std::int32_t>(it->second.due - next->second.due) < 0) next = it;
  }
  const std::int32_t wait = static_cast<std::int32_t>(next->second.due - now);
  if (wait > 0) clock_.sleep(static_cast<std::uint32_t>(wait));
  const TimerKey key = next->first;
  next->second.due = clock_.tickCount() + next->second.period;
  send(key.first, dlgmsg::kTimer, key.second, 0);
  return true;
}

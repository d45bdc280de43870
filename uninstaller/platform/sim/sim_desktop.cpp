#include "sim_desktop.h"

#include <algorithm>
#include <array>

namespace sim {
namespace {

using platform::LParam;
using platform::LResult;
using platform::WindowHandle;
using platform::WParam;

// The buttons of each MB_ type (the low four bits of the flags), in order.
constexpr std::array<std::array<int, 3>, 7> kButtons = {{
    {1, 0, 0},    // MB_OK
    {1, 2, 0},    // MB_OKCANCEL
    {3, 4, 5},    // MB_ABORTRETRYIGNORE
    {6, 7, 2},    // MB_YESNOCANCEL
    {6, 7, 0},    // MB_YESNO
    {4, 2, 0},    // MB_RETRYCANCEL
    {2, 10, 11},  // MB_CANCELTRYCONTINUE
}};

}  // namespace

WindowHandle SimDesktop::createWindow(std::string_view className, std::string_view title,
                                      CloseReaction onClose) {
  auto window = std::make_unique<SimWindow>();
  window->handle = WindowHandle{nextWindow_};
  nextWindow_ += 0x10;
  window->className = std::string(className);
  window->title = std::string(title);
  window->onClose = onClose;
  const WindowHandle handle = window->handle;
  windows_[handle] = std::move(window);
  zOrder_.insert(zOrder_.begin(), handle);
  return handle;
}

void SimDesktop::setReaction(WindowHandle window, WindowReaction reaction) {
  if (SimWindow* w = live(window)) w->reaction = std::move(reaction);
}

void SimDesktop::destroyWindow(WindowHandle window) {
  SimWindow* w = live(window);
  if (w == nullptr) return;
  w->destroyed = true;
  w->visible = false;
  zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), window), zOrder_.end());
  if (foreground_ == window) foreground_ = {};
}

const SimWindow* SimDesktop::window(WindowHandle window) const {
  auto it = windows_.find(window);
  return it == windows_.end() ? nullptr : it->second.get();
}

bool SimDesktop::isWindow(WindowHandle window) const {
  const SimWindow* w = this->window(window);
  return w != nullptr && !w->destroyed;
}

SimWindow* SimDesktop::live(WindowHandle window) {
  auto it = windows_.find(window);
  return it == windows_.end() || it->second->destroyed ? nullptr : it->second.get();
}

std::optional<std::uint32_t> SimDesktop::registeredMessage(std::string_view name) const {
  auto it = registered_.find(name);
  if (it == registered_.end()) return std::nullopt;
  return it->second;
}

void SimDesktop::raise(WindowHandle window) {
  zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), window), zOrder_.end());
  zOrder_.insert(zOrder_.begin(), window);
}

LResult SimDesktop::deliver(SimWindow& window, bool sent, std::uint32_t message, WParam wParam,
                            LParam lParam) {
  window.messages.push_back(MessageRecord{sent, message, wParam, lParam});
  if (window.reaction) return window.reaction(window.handle, message, wParam, lParam);
  if (message == platform::wm::kClose && window.onClose == CloseReaction::kDestroy) {
    destroyWindow(window.handle);
  }
  return 0;
}

WindowHandle SimDesktop::findWindow(const char* className, const char* title) {
  for (WindowHandle handle : zOrder_) {
    const SimWindow& w = *windows_.at(handle);
    if (className != nullptr && !EqualNoCase(w.className, className)) continue;
    if (title != nullptr && !EqualNoCase(w.title, title)) continue;
    return handle;
  }
  return {};
}

LResult SimDesktop::sendMessage(WindowHandle window, std::uint32_t message, WParam wParam,
                                LParam lParam) {
  if (window == platform::kBroadcast) {
    broadcasts_.push_back(MessageRecord{true, message, wParam, lParam});
    const std::vector<WindowHandle> targets = zOrder_;
    for (WindowHandle handle : targets) {
      if (SimWindow* w = live(handle)) deliver(*w, true, message, wParam, lParam);
    }
    return 0;
  }
  SimWindow* w = live(window);
  return w == nullptr ? 0 : deliver(*w, true, message, wParam, lParam);
}

// Windows here never hang, so a time-out never passes.
bool SimDesktop::sendMessageTimeout(WindowHandle window, std::uint32_t message, WParam wParam,
                                    LParam lParam, std::uint32_t, std::uint32_t timeoutMs,
                                    LResult* result) {
  if (window != platform::kBroadcast && live(window) == nullptr) return false;
  const LResult answer = sendMessage(window, message, wParam, lParam);
  if (window == platform::kBroadcast) broadcasts_.back().timeoutMs = timeoutMs;
  if (result != nullptr) *result = answer;
  return true;
}

bool SimDesktop::postMessage(WindowHandle window, std::uint32_t message, WParam wParam,
                             LParam lParam) {
  if (window == platform::kBroadcast) {
    broadcasts_.push_back(MessageRecord{false, message, wParam, lParam});
    const std::vector<WindowHandle> targets = zOrder_;
    for (WindowHandle handle : targets) {
      if (SimWindow* w = live(handle)) deliver(*w, false, message, wParam, lParam);
    }
    return true;
  }
  SimWindow* w = live(window);
  if (w == nullptr) return false;
  deliver(*w, false, message, wParam, lParam);
  return true;
}

std::uint32_t SimDesktop::registerWindowMessage(const char* name) {
  if (name == nullptr || name[0] == '\0') return 0;
  auto [it, added] = registered_.emplace(name, nextMessage_);
  if (added) ++nextMessage_;
  return it->second;
}

bool SimDesktop::showWindow(WindowHandle window, int command) {
  SimWindow* w = live(window);
  if (w == nullptr) return false;
  const bool wasVisible = w->visible;
  w->showCommands.push_back(command);
  w->visible = command != platform::show::kHide;
  return wasVisible;  // ShowWindow returns the previous visibility
}

bool SimDesktop::bringWindowToTop(WindowHandle window) {
  SimWindow* w = live(window);
  if (w == nullptr) return false;
  ++w->bringToTopCount;
  raise(window);
  return true;
}

bool SimDesktop::setForegroundWindow(WindowHandle window) {
  if (live(window) == nullptr) return false;
  foreground_ = window;
  raise(window);
  return true;
}

int SimDesktop::DefaultButton(std::uint32_t flags) {
  const std::uint32_t type = flags & 0xFu;
  if (type >= kButtons.size()) return 0;
  const std::array<int, 3>& buttons = kButtons[type];
  const std::uint32_t index = (flags & 0xF00u) >> 8;
  if (index < buttons.size() && buttons[index] != 0) return buttons[index];
  return buttons[0];
}

int SimDesktop::messageBox(WindowHandle owner, const char* text, const char* caption,
                           std::uint32_t flags) {
  if (owner && !isWindow(owner)) return 0;  // ERROR_INVALID_WINDOW_HANDLE
  // A real box runs a message loop until it is answered.
  if (whileBoxShown_) whileBoxShown_();
  int answer = DefaultButton(flags);
  if (!answers_.empty()) {
    answer = answers_.front();
    answers_.pop_front();
  }
  boxes_.push_back(MessageBoxRecord{owner, std::string(View(text)),
                                    caption ? std::string(caption) : std::string("Error"), flags,
                                    answer});
  return answer;
}

int SimDesktop::loadString(platform::ModuleHandle, std::uint32_t id, char* buffer, int size) {
  if (buffer == nullptr || size <= 0) return 0;
  auto it = strings_.find(id);
  if (it == strings_.end()) {
    buffer[0] = '\0';
    return 0;
  }
  return static_cast<int>(CopyTruncated(it->second, buffer, static_cast<std::size_t>(size)));
}

void SimDesktop::debugOutput(const char* text) { debugOutput_.emplace_back(View(text)); }

}  // namespace sim

namespace sim {

void SimDesktop::addProgmanItem(std::string_view group, std::string_view item) {
  std::vector<std::string>& items = progmanGroups_[std::string(group)];
  if (!item.empty()) items.emplace_back(item);
}

std::vector<std::string> SimDesktop::progmanItems(std::string_view group) const {
  auto it = progmanGroups_.find(std::string(group));
  return it != progmanGroups_.end() ? it->second : std::vector<std::string>{};
}

std::uint32_t SimDesktop::ddeInitialize(std::uint32_t, platform::DdeInstanceHandle& instance) {
  instance = platform::DdeInstanceHandle{nextDde_++};
  ++ddeInstances_;
  return platform::dde::kNoError;
}

void SimDesktop::ddeUninitialize(platform::DdeInstanceHandle instance) {
  if (instance && ddeInstances_ > 0) --ddeInstances_;
}

std::uint32_t SimDesktop::ddeConnect(platform::DdeInstanceHandle instance, const char* service,
                                     const char* topic,
                                     platform::ConversationHandle& conversation) {
  conversation = {};
  if (!instance || service == nullptr || topic == nullptr) return platform::dde::kInvalidParameter;
  if (!progmanRunning_ || !EqualNoCase(service, "PROGMAN") || !EqualNoCase(topic, "PROGMAN"))
    return platform::dde::kNoConversation;
  conversation = platform::ConversationHandle{nextDde_++};
  conversations_.push_back(conversation);
  return platform::dde::kNoError;
}

void SimDesktop::ddeDisconnect(platform::ConversationHandle conversation) {
  std::erase(conversations_, conversation);
}

std::uint32_t SimDesktop::ddeExecute(platform::DdeInstanceHandle instance,
                                     platform::ConversationHandle conversation, const char* command,
                                     std::uint32_t) {
  if (!instance || command == nullptr ||
      std::find(conversations_.begin(), conversations_.end(), conversation) ==
          conversations_.end()) {
    return platform::dde::kInvalidParameter;
  }
  ddeCommands_.emplace_back(command);
  return runProgmanCommand(command);
}

// The argument list of "[Name(arguments)]", when the command has that name.
static bool ProgmanArguments(const std::string& command, std::string_view name,
                             std::string& arguments) {
  std::string head(1, '[');
  head.append(name);
  head.push_back('(');
  if (!StartsWithNoCase(command, head) || command.size() < head.size() + 2 ||
      command.compare(command.size() - 2, 2, ")]") != 0) {
    return false;
  }
  arguments = command.substr(head.size(), command.size() - head.size() - 2);
  return true;
}

std::uint32_t SimDesktop::runProgmanCommand(const std::string& command) {
  std::string arguments;
  if (ProgmanArguments(command, "ShowGroup", arguments)) {
    const std::string group = arguments.substr(0, arguments.find(','));
    if (progmanGroups_.find(group) == progmanGroups_.end()) return platform::dde::kNotProcessed;
    activeGroup_ = group;
    return platform::dde::kNoError;
  }
  if (ProgmanArguments(command, "DeleteItem", arguments)) {
    auto group = progmanGroups_.find(activeGroup_);
    if (group == progmanGroups_.end()) return platform::dde::kNotProcessed;
    std::vector<std::string>& items = group->second;
    auto item = std::find_if(items.begin(), items.end(),
                             [&](const std::string& name) { return EqualNoCase(name, arguments); });
    if (item == items.end()) return platform::dde::kNotProcessed;
    items.erase(item);
    return platform::dde::kNoError;
  }
  return platform::dde::kNotProcessed;
}

}  // namespace sim

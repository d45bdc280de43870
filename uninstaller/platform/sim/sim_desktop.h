// The simulated desktop: top-level windows that tests create for other
// programs, with a log of every message they receive; message boxes
// answered from a script; the program's string table; debugger output.
//
// Simplified: messages posted to a window are handled at once rather than
// when its program next reads its queue; windows have no threads, so a
// window "hangs" only by what its scripted reaction does (e.g. advancing
// the clock).
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop.h"
#include "sim_text.h"

namespace sim {

struct MessageRecord {
  bool sent = false;  // SendMessageA; false for PostMessageA
  std::uint32_t message = 0;
  platform::WParam wParam = 0;
  platform::LParam lParam = 0;
  std::uint32_t timeoutMs = 0;  // SendMessageTimeoutA's time-out; 0 for the others
};

// What a window does with WM_CLOSE when no reaction is scripted.
enum class CloseReaction {
  kDestroy,  // DefWindowProc: the window is destroyed
  kIgnore,   // the program keeps its window
};

// A scripted window procedure: the result of SendMessageA. It runs after
// the message is logged; the default handling of WM_CLOSE does not run.
using WindowReaction = std::function<platform::LResult(platform::WindowHandle, std::uint32_t,
                                                       platform::WParam, platform::LParam)>;

struct SimWindow {
  platform::WindowHandle handle;
  std::string className;
  std::string title;
  CloseReaction onClose = CloseReaction::kDestroy;
  WindowReaction reaction;
  std::vector<MessageRecord> messages;
  std::vector<int> showCommands;  // ShowWindow calls, in order
  int bringToTopCount = 0;
  bool visible = true;
  bool destroyed = false;
};

struct MessageBoxRecord {
  platform::WindowHandle owner;
  std::string text;
  std::string caption;  // as shown: "Error" for a null caption
  std::uint32_t flags = 0;
  int answer = 0;
};

class SimDesktop final : public platform::Desktop {
 public:
  // A top-level window of another program, on top of the others.
  platform::WindowHandle createWindow(std::string_view className, std::string_view title = "",
                                      CloseReaction onClose = CloseReaction::kDestroy);
  void setReaction(platform::WindowHandle window, WindowReaction reaction);
  void destroyWindow(platform::WindowHandle window);
  // The window, also after it was destroyed (so its log stays readable).
  const SimWindow* window(platform::WindowHandle window) const;
  bool isWindow(platform::WindowHandle window) const;
  platform::WindowHandle foregroundWindow() const { return foreground_; }
  // Messages sent or posted to HWND_BROADCAST, whether or not any window
  // got them.
  const std::vector<MessageRecord>& broadcasts() const { return broadcasts_; }
  // The number RegisterWindowMessageA gave a name, if it was registered.
  std::optional<std::uint32_t> registeredMessage(std::string_view name) const;

  // The answers the next message boxes get, in order. With none queued a
  // box gets its default button (as if the user pressed Enter): the first
  // button, or the one MB_DEFBUTTON2/3/4 names.
  void queueAnswer(int answer) { answers_.push_back(answer); }
  // Runs inside every message box before it is answered, as the messages
  // its loop dispatches would.
  void setWhileBoxShown(std::function<void()> pump) { whileBoxShown_ = std::move(pump); }
  const std::vector<MessageBoxRecord>& messageBoxes() const { return boxes_; }

  // The program's string table (one for every module handle).
  void setString(std::uint32_t id, std::string text) { strings_[id] = std::move(text); }
  const std::vector<std::string>& debugOutput() const { return debugOutput_; }

  // Program Manager, the DDE server "PROGMAN" (topic "PROGMAN") while it
  // runs: its groups with their items. "[ShowGroup(group,n)]" makes a group
  // the active one, "[DeleteItem(item)]" deletes an item of the active
  // group; an unknown group or item is not processed.
  void setProgmanRunning(bool running) { progmanRunning_ = running; }
  void addProgmanItem(std::string_view group, std::string_view item);
  std::vector<std::string> progmanItems(std::string_view group) const;
  // Commands executed over DDE, in order; DDE instances and conversations
  // not ended.
  const std::vector<std::string>& ddeCommands() const { return ddeCommands_; }
  std::size_t openDdeCount() const { return ddeInstances_ + conversations_.size(); }

  // platform::Desktop
  platform::WindowHandle findWindow(const char* className, const char* title) override;
  platform::LResult sendMessage(platform::WindowHandle window, std::uint32_t message,
                                platform::WParam wParam, platform::LParam lParam) override;
  bool sendMessageTimeout(platform::WindowHandle window, std::uint32_t message,
                          platform::WParam wParam, platform::LParam lParam, std::uint32_t flags,
                          std::uint32_t timeoutMs, platform::LResult* result) override;
  bool postMessage(platform::WindowHandle window, std::uint32_t message, platform::WParam wParam,
                   platform::LParam lParam) override;
  std::uint32_t registerWindowMessage(const char* name) override;
  bool showWindow(platform::WindowHandle window, int command) override;
  bool bringWindowToTop(platform::WindowHandle window) override;
  bool setForegroundWindow(platform::WindowHandle window) override;
  int messageBox(platform::WindowHandle owner, const char* text, const char* caption,
                 std::uint32_t flags) override;
  int loadString(platform::ModuleHandle module, std::uint32_t id, char* buffer, int size) override;
  void debugOutput(const char* text) override;
  std::uint32_t ddeInitialize(std::uint32_t flags, platform::DdeInstanceHandle& instance) override;
  void ddeUninitialize(platform::DdeInstanceHandle instance) override;
  std::uint32_t ddeConnect(platform::DdeInstanceHandle instance, const char* service,
                           const char* topic, platform::ConversationHandle& conversation) override;
  void ddeDisconnect(platform::ConversationHandle conversation) override;
  std::uint32_t ddeExecute(platform::DdeInstanceHandle instance,
                           platform::ConversationHandle conversation, const char* command,
                           std::uint32_t timeoutMs) override;

 private:
  std::uint32_t runProgmanCommand(const std::string& command);

  SimWindow* live(platform::WindowHandle window);
  platform::LResult deliver(SimWindow& window, bool sent, std::uint32_t message,
                            platform::WParam wParam, platform::LParam lParam);
  void raise(platform::WindowHandle window);
  static int DefaultButton(std::uint32_t flags);

  // All windows ever created; zOrder_ holds the live ones, topmost first.
  std::map<platform::WindowHandle, std::unique_ptr<SimWindow>> windows_;
  std::vector<platform::WindowHandle> zOrder_;
  std::uintptr_t nextWindow_ = 0x10010;
  platform::WindowHandle foreground_;
  std::vector<MessageRecord> broadcasts_;
  std::map<std::string, std::uint32_t, LessNoCase> registered_;
  std::uint32_t nextMessage_ = 0xC000;
  std::deque<int> answers_;
  std::function<void()> whileBoxShown_;
  std::vector<MessageBoxRecord> boxes_;
  std::map<std::uint32_t, std::string> strings_;
  std::vector<std::string> debugOutput_;
  bool progmanRunning_ = false;
  std::map<std::string, std::vector<std::string>, LessNoCase> progmanGroups_;
  std::string activeGroup_;
  std::vector<std::string> ddeCommands_;
  std::size_t ddeInstances_ = 0;
  std::vector<platform::ConversationHandle> conversations_;
  std::uintptr_t nextDde_ = 0x5000;
};

}  // namespace sim

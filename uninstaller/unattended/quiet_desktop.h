// The desktop of a run without a user: no message box appears; each gets
// the answer that lets the run go on without restarting Windows, and is
// recorded for the report. Messages for the headless dialogs go to the
// HeadlessDesk; everything else reaches the real desktop unchanged.
#pragma once

#include <string>
#include <vector>

#include "platform/desktop.h"
#include "unattended/headless_desk.h"

struct AnsweredBox {
  std::string text;
  std::string caption;
  std::uint32_t flags = 0;
  int answer = 0;
};

// The fixed answer to a box of these MB_ flags: OK where there is one,
// No to every Yes/No question (the program asks whether to stop loading
// and whether to restart Windows: No goes on and never restarts), Cancel
// to Retry/Cancel and Abort/Retry/Ignore questions, so that none repeats.
int QuietAnswer(std::uint32_t flags);

class QuietDesktop final : public platform::Desktop {
 public:
  QuietDesktop(platform::Desktop& real, HeadlessDesk& desk) : real_(real), desk_(desk) {}

  platform::WindowHandle findWindow(const char* className, const char* title) override {
    return real_.findWindow(className, title);
  }
  platform::LResult sendMessage(platform::WindowHandle window, std::uint32_t message,
                                platform::WParam wParam, platform::LParam lParam) override;
  bool sendMessageTimeout(platform::WindowHandle window, std::uint32_t message,
                          platform::WParam wParam, platform::LParam lParam, std::uint32_t flags,
                          std::uint32_t timeoutMs, platform::LResult* result) override;
  bool postMessage(platform::WindowHandle window, std::uint32_t message, platform::WParam wParam,
                   platform::LParam lParam) override;
  std::uint32_t registerWindowMessage(const char* name) override {
    return real_.registerWindowMessage(name);
  }
  // Showing or raising a headless dialog does nothing.
  bool showWindow(platform::WindowHandle window, int command) override;
  bool bringWindowToTop(platform::WindowHandle window) override;
  bool setForegroundWindow(platform::WindowHandle window) override;
  int messageBox(platform::WindowHandle owner, const char* text, const char* caption,
                 std::uint32_t flags) override;
  int loadString(platform::ModuleHandle module, std::uint32_t id, char* buffer, int size) override {
    return real_.loadString(module, id, buffer, size);
  }
  void debugOutput(const char* text) override { real_.debugOutput(text); }
  // Program Manager's groups (Win32s) are the machine's, not a window's.
  std::uint32_t ddeInitialize(std::uint32_t flags, platform::DdeInstanceHandle& instance) override {
    return real_.ddeInitialize(flags, instance);
  }
  void ddeUninitialize(platform::DdeInstanceHandle instance) override {
    real_.ddeUninitialize(instance);
  }
  std::uint32_t ddeConnect(platform::DdeInstanceHandle instance, const char* service,
                           const char* topic, platform::ConversationHandle& conversation) override {
    return real_.ddeConnect(instance, service, topic, conversation);
  }
  void ddeDisconnect(platform::ConversationHandle conversation) override {
    real_.ddeDisconnect(conversation);
  }
  std::uint32_t ddeExecute(platform::DdeInstanceHandle instance,
                           platform::ConversationHandle conversation, const char* command,
                           std::uint32_t timeoutMs) override {
    return real_.ddeExecute(instance, conversation, command, timeoutMs);
  }

  const std::vector<AnsweredBox>& boxes() const { return boxes_; }

 private:
  platform::Desktop& real_;
  HeadlessDesk& desk_;
  std::vector<AnsweredBox> boxes_;
};

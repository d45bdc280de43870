// Top-level windows, messages, message boxes and string resources (USER32).
#pragma once

#include "platform/desktop.h"

namespace win32 {

class Win32Desktop final : public platform::Desktop {
 public:
  platform::WindowHandle findWindow(const char* className, const char* title) override;
  bool sendMessageTimeout(platform::WindowHandle window, std::uint32_t message,
                          platform::WParam wParam, platform::LParam lParam, std::uint32_t flags,
                          std::uint32_t timeoutMs, platform::LResult* result) override;
  platform::LResult sendMessage(platform::WindowHandle window, std::uint32_t message,
                                platform::WParam wParam, platform::LParam lParam) override;
  bool postMessage(platform::WindowHandle window, std::uint32_t message, platform::WParam wParam,
                   platform::LParam lParam) override;
  std::uint32_t registerWindowMessage(const char* name) override;
  // ShowWindow's result is whether the window was visible before, as in
  // Windows, not whether the call worked.
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
};

}  // namespace win32

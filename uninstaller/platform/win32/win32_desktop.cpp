#include "platform/win32/win32_desktop.h"

#include "platform/win32/convert.h"

namespace win32 {

platform::WindowHandle Win32Desktop::findWindow(const char* className, const char* title) {
  return FromHwnd(::FindWindowA(className, title));
}

bool Win32Desktop::sendMessageTimeout(platform::WindowHandle window, std::uint32_t message,
                                      platform::WParam wParam, platform::LParam lParam,
                                      std::uint32_t flags, std::uint32_t timeoutMs,
                                      platform::LResult* result) {
  DWORD_PTR answer = 0;
  const LRESULT ok =
      ::SendMessageTimeoutA(ToHwnd(window), message, wParam, lParam, flags, timeoutMs, &answer);
  if (result != nullptr) *result = static_cast<platform::LResult>(answer);
  return ok != 0;
}

platform::LResult Win32Desktop::sendMessage(platform::WindowHandle window, std::uint32_t message,
                                            platform::WParam wParam, platform::LParam lParam) {
  return ::SendMessageA(ToHwnd(window), message, wParam, lParam);
}

bool Win32Desktop::postMessage(platform::WindowHandle window, std::uint32_t message,
                               platform::WParam wParam, platform::LParam lParam) {
  return ::PostMessageA(ToHwnd(window), message, wParam, lParam) != FALSE;
}

std::uint32_t Win32Desktop::registerWindowMessage(const char* name) {
  return ::RegisterWindowMessageA(name);
}

bool Win32Desktop::showWindow(platform::WindowHandle window, int command) {
  return ::ShowWindow(ToHwnd(window), command) != FALSE;
}

bool Win32Desktop::bringWindowToTop(platform::WindowHandle window) {
  return ::BringWindowToTop(ToHwnd(window)) != FALSE;
}

bool Win32Desktop::setForegroundWindow(platform::WindowHandle window) {
  return ::SetForegroundWindow(ToHwnd(window)) != FALSE;
}

int Win32Desktop::messageBox(platform::WindowHandle owner, const char* text, const char* caption,
                             std::uint32_t flags) {
  return ::MessageBoxA(ToHwnd(owner), text, caption, flags);
}

int Win32Desktop::loadString(platform::ModuleHandle module, std::uint32_t id, char* buffer,
                             int size) {
  // A null module is the program's own file, as for FindResource.
  return ::LoadStringA(ToInstance(module), id, buffer, size);
}

void Win32Desktop::debugOutput(const char* text) { ::OutputDebugStringA(text); }

}  // namespace win32

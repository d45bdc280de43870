// The user's desktop (USER32): top-level windows, messages between
// programs, message boxes and the program's string resources.
#pragma once

#include <cstdint>

#include "win32_types.h"

namespace platform {

namespace wm {
inline constexpr std::uint32_t kClose = 0x0010;  // WM_CLOSE
inline constexpr std::uint32_t kUser = 0x0400;   // WM_USER
}  // namespace wm

inline constexpr WindowHandle kBroadcast{0xFFFF};  // HWND_BROADCAST

namespace show {
inline constexpr int kHide = 0;
inline constexpr int kShow = 5;
inline constexpr int kShowDefault = 10;
}  // namespace show

namespace mb {
inline constexpr std::uint32_t kOk = 0x0;
inline constexpr std::uint32_t kYesNo = 0x4;
inline constexpr std::uint32_t kIconError = 0x10;
inline constexpr std::uint32_t kIconQuestion = 0x20;
inline constexpr std::uint32_t kIconExclamation = 0x30;
inline constexpr std::uint32_t kIconInformation = 0x40;
inline constexpr std::uint32_t kDefButton2 = 0x100;
inline constexpr std::uint32_t kSetForeground = 0x10000;
// Results.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;
}  // namespace mb

// Each operation mirrors the Win32 function named beside it.
class Desktop {
 public:
  virtual ~Desktop() = default;

  // FindWindowA: the first top-level window of the class (a null title
  // matches any); 0 when there is none.
  virtual WindowHandle findWindow(const char* className, const char* title) = 0;
  // SendMessageA: waits for the window's answer.
  virtual LResult sendMessage(WindowHandle window, std::uint32_t message, WParam wParam,
                              LParam lParam) = 0;
  // SendMessageTimeoutA(window, message, wParam, lParam, flags, timeout,
  // &result): false when the call failed or timed out. kBroadcast sends to
  // every top-level window.
  virtual bool sendMessageTimeout(WindowHandle window, std::uint32_t message, WParam wParam,
                                  LParam lParam, std::uint32_t flags, std::uint32_t timeoutMs,
                                  LResult* result) = 0;
  // PostMessageA: queues and returns; kBroadcast posts to every top-level window.
  virtual bool postMessage(WindowHandle window, std::uint32_t message, WParam wParam,
                           LParam lParam) = 0;
  // RegisterWindowMessageA: the same number for the same name (any case)
  // in every program of the session; 0 on failure.
  virtual std::uint32_t registerWindowMessage(const char* name) = 0;
  // ShowWindow, BringWindowToTop, SetForegroundWindow.
  virtual bool showWindow(WindowHandle window, int command) = 0;
  virtual bool bringWindowToTop(WindowHandle window) = 0;
  virtual bool setForegroundWindow(WindowHandle window) = 0;

  // MessageBoxA: the button the user pressed (mb::kId...), 0 on failure.
  virtual int messageBox(WindowHandle owner, const char* text, const char* caption,
                         std::uint32_t flags) = 0;

  // LoadStringA: the length copied (at most size - 1), 0 when the string
  // is missing.
  virtual int loadString(ModuleHandle module, std::uint32_t id, char* buffer, int size) = 0;

  // OutputDebugStringA.
  virtual void debugOutput(const char* text) = 0;
};

}  // namespace platform

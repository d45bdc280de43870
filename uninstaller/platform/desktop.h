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

// Dynamic data exchange (DDEML) as a client.
namespace dde {
inline constexpr std::uint32_t kClientOnly =
    0x3C0010;  // APPCMD_CLIENTONLY | CBF_SKIP_ALLNOTIFICATIONS
// DdeGetLastError codes.
inline constexpr std::uint32_t kNoError = 0;
inline constexpr std::uint32_t kExecAckTimeout = 0x4005;
inline constexpr std::uint32_t kInvalidParameter = 0x4006;
inline constexpr std::uint32_t kNoConversation = 0x400A;  // DMLERR_NO_CONV_ESTABLISHED
inline constexpr std::uint32_t kNotProcessed = 0x4009;
}  // namespace dde

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

  // DdeInitializeA with a callback that handles nothing; a dde:: code.
  virtual std::uint32_t ddeInitialize(std::uint32_t flags, DdeInstanceHandle& instance) = 0;
  // DdeUninitialize: ends the instance's conversations too.
  virtual void ddeUninitialize(DdeInstanceHandle instance) = 0;
  // DdeConnect to `service` and `topic` (string handles made and freed
  // around the call); a dde:: code, kNoConversation when no server answers.
  virtual std::uint32_t ddeConnect(DdeInstanceHandle instance, const char* service,
                                   const char* topic, ConversationHandle& conversation) = 0;
  // DdeDisconnect.
  virtual void ddeDisconnect(ConversationHandle conversation) = 0;
  // DdeClientTransaction of XTYP_EXECUTE: `command` with its NUL in format
  // CF_TEXT; a dde:: code (DdeGetLastError when the transaction fails).
  virtual std::uint32_t ddeExecute(DdeInstanceHandle instance, ConversationHandle conversation,
                                   const char* command, std::uint32_t timeoutMs) = 0;
};

// Own one DDE client instance, one conversation.
using DdeClient = Owner<Desktop, DdeInstanceHandle, &Desktop::ddeUninitialize>;
using Conversation = Owner<Desktop, ConversationHandle, &Desktop::ddeDisconnect>;

}  // namespace platform

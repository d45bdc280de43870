#include "platform/win32/win32_desktop.h"

#include <cstring>
#include <vector>

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

namespace win32 {
namespace {

// A client-only instance is told of nothing it must answer.
HDDEDATA CALLBACK IgnoreDdeEvent(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
  return nullptr;
}

DWORD InstanceOf(platform::DdeInstanceHandle instance) {
  return static_cast<DWORD>(instance.value());
}

}  // namespace

std::uint32_t Win32Desktop::ddeInitialize(std::uint32_t flags,
                                          platform::DdeInstanceHandle& instance) {
  DWORD id = 0;
  const UINT result = ::DdeInitializeA(&id, IgnoreDdeEvent, flags, 0);
  instance =
      result == DMLERR_NO_ERROR ? platform::DdeInstanceHandle{id} : platform::DdeInstanceHandle{};
  return result;
}

void Win32Desktop::ddeUninitialize(platform::DdeInstanceHandle instance) {
  ::DdeUninitialize(InstanceOf(instance));
}

std::uint32_t Win32Desktop::ddeConnect(platform::DdeInstanceHandle instance, const char* service,
                                       const char* topic,
                                       platform::ConversationHandle& conversation) {
  const DWORD id = InstanceOf(instance);
  HSZ serviceName = ::DdeCreateStringHandleA(id, service, CP_WINANSI);
  HSZ topicName = ::DdeCreateStringHandleA(id, topic, CP_WINANSI);
  HCONV opened = ::DdeConnect(id, serviceName, topicName, nullptr);
  const UINT result = opened != nullptr ? DMLERR_NO_ERROR : ::DdeGetLastError(id);
  if (serviceName != nullptr) ::DdeFreeStringHandle(id, serviceName);
  if (topicName != nullptr) ::DdeFreeStringHandle(id, topicName);
  conversation = HandleOf<platform::ConversationHandle>(opened);
  return result;
}

void Win32Desktop::ddeDisconnect(platform::ConversationHandle conversation) {
  ::DdeDisconnect(NativeOf<HCONV>(conversation));
}

std::uint32_t Win32Desktop::ddeExecute(platform::DdeInstanceHandle instance,
                                       platform::ConversationHandle conversation,
                                       const char* command, std::uint32_t timeoutMs) {
  const DWORD size = static_cast<DWORD>(std::strlen(command) + 1);
  std::vector<BYTE> data(command, command + size);
  HDDEDATA done = ::DdeClientTransaction(data.data(), size, NativeOf<HCONV>(conversation), nullptr,
                                         CF_TEXT, XTYP_EXECUTE, timeoutMs, nullptr);
  return done != nullptr ? DMLERR_NO_ERROR : ::DdeGetLastError(InstanceOf(instance));
}

}  // namespace win32

#include "platform/win32/win32_clock.h"

#include "platform/win32/windows_headers.h"

namespace win32 {

std::uint32_t Win32Clock::tickCount() { return ::GetTickCount(); }

void Win32Clock::sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

platform::SystemTime Win32Clock::utcTime() {
  SYSTEMTIME now{};
  ::GetSystemTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

}  // namespace win32

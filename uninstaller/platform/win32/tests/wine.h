// Tells the tests whether they run under Wine, for the few places where
// Wine's behaviour differs from Windows' and the test says so.
#pragma once

#include "platform/win32/windows_headers.h"

inline bool RunningOnWine() {
  const HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// Handles between the portable layer (typed handles holding the Windows
// value) and the Windows types.
#pragma once

#include <cstdint>

#include "platform/win32/windows_headers.h"
#include "platform/win32_types.h"

namespace win32 {

// The predefined registry roots are 32-bit numbers that Windows
// sign-extends into a 64-bit HKEY (HKEY_LOCAL_MACHINE is
// 0xFFFFFFFF80000002); the portable layer names them by their 32-bit value,
// so they are widened here. Opened keys are small kernel handles and pass
// unchanged.
inline bool IsPredefinedKey(platform::RegKeyHandle key) {
  return key.value() >= 0x80000000u && key.value() <= 0x800000FFu;
}
inline HKEY ToHkey(platform::RegKeyHandle key) {
  if (IsPredefinedKey(key)) {
    const auto low = static_cast<std::int32_t>(static_cast<std::uint32_t>(key.value()));
    return reinterpret_cast<HKEY>(static_cast<std::intptr_t>(low));
  }
  return reinterpret_cast<HKEY>(key.value());
}

// The Windows handle inside a portable one, and a Windows handle wrapped.
template <typename Native, typename Kind>
Native NativeOf(platform::Handle<Kind> handle) {
  return reinterpret_cast<Native>(handle.value());
}
template <typename HandleType, typename Native>
HandleType HandleOf(Native native) {
  return HandleType{reinterpret_cast<std::uintptr_t>(native)};
}

inline HWND ToHwnd(platform::WindowHandle window) { return NativeOf<HWND>(window); }
inline platform::WindowHandle FromHwnd(HWND window) {
  return HandleOf<platform::WindowHandle>(window);
}
inline HINSTANCE ToInstance(platform::ModuleHandle module) { return NativeOf<HINSTANCE>(module); }
inline platform::ModuleHandle FromInstance(HINSTANCE instance) {
  return HandleOf<platform::ModuleHandle>(instance);
}

// BOOL-returning calls: 0 on success, else the thread's last error.
inline platform::Win32Error ResultOf(BOOL ok) { return ok ? 0 : ::GetLastError(); }

}  // namespace win32

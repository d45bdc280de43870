// Handle values between the portable layer (pointer-sized integers) and the
// Windows types.
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
inline HKEY ToHkey(platform::RegKeyHandle key) {
  if (key >= 0x80000000u && key <= 0x800000FFu) {
    const auto low = static_cast<std::int32_t>(static_cast<std::uint32_t>(key));
    return reinterpret_cast<HKEY>(static_cast<std::intptr_t>(low));
  }
  return reinterpret_cast<HKEY>(key);
}
inline bool IsPredefinedKey(platform::RegKeyHandle key) {
  return key >= 0x80000000u && key <= 0x800000FFu;
}

template <typename Handle>
Handle FromValue(std::uintptr_t value) {
  return reinterpret_cast<Handle>(value);
}
template <typename Handle>
std::uintptr_t ToValue(Handle handle) {
  return reinterpret_cast<std::uintptr_t>(handle);
}

// BOOL-returning calls: 0 on success, else the thread's last error.
inline platform::Win32Error ResultOf(BOOL ok) { return ok ? 0 : ::GetLastError(); }

}  // namespace win32

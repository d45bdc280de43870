// The window message and command numbers that portable dialog code handles.
#pragma once

#include <cstdint>

namespace dlgmsg {
inline constexpr std::uint32_t kShowWindow = 0x0018;  // WM_SHOWWINDOW
inline constexpr std::uint32_t kInitDialog = 0x0110;  // WM_INITDIALOG
inline constexpr std::uint32_t kCommand = 0x0111;     // WM_COMMAND
inline constexpr std::uint32_t kTimer = 0x0113;       // WM_TIMER
inline constexpr std::uint32_t kSysCommand = 0x0112;  // WM_SYSCOMMAND

inline constexpr int kIdOk = 1;      // IDOK
inline constexpr int kIdCancel = 2;  // IDCANCEL

// LOWORD and HIWORD of a WPARAM.
inline constexpr int LowWord(std::uintptr_t value) { return static_cast<int>(value & 0xFFFF); }
inline constexpr int HighWord(std::uintptr_t value) {
  return static_cast<int>((value >> 16) & 0xFFFF);
}
}  // namespace dlgmsg

// The notification header that WM_NOTIFY points at (NMHDR, as 64-bit
// Windows lays it out), and the notification codes the dialogs handle.
#pragma once

#include <cstdint>

struct NotifyHeader {
  std::uintptr_t from = 0;  // the control's window
  std::uintptr_t id = 0;    // the control's id
  std::uint32_t code = 0;
};

namespace notify {
inline constexpr std::uint32_t kNotifyMessage = 0x004E;                          // WM_NOTIFY
inline constexpr std::uint32_t kRightClick = static_cast<std::uint32_t>(-5);     // NM_RCLICK
inline constexpr std::uint32_t kItemChanged = static_cast<std::uint32_t>(-101);  // LVN_ITEMCHANGED
}  // namespace notify

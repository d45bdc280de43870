// The window-text operations of CStringRes, which need USER32.
#include <windows.h>

#include "app/string_res.h"
#include "app/win32/dialog_proc.h"

void CStringRes::setWindowText(platform::WindowHandle window, std::uint32_t id) {
  const char* value = text(id);
  if (value[0] != '\0') SetWindowTextA(ToHwnd(window), value);
}

void CStringRes::setItemText(platform::WindowHandle dialog, int controlId, std::uint32_t id) {
  const char* value = text(id);
  if (value[0] != '\0') SetDlgItemTextA(ToHwnd(dialog), controlId, value);
}

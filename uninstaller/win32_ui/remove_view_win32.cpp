#include "win32_ui/remove_view_win32.h"

#include <windows.h>

#include "win32_ui/dialog_proc.h"
#include "win32_ui/window_helpers.h"

platform::ModuleHandle Win32RemoveView::moduleOf(platform::WindowHandle page) {
  return FromInstance(InstanceOf(ToHwnd(page)));
}

platform::WindowHandle Win32RemoveView::parentOf(platform::WindowHandle page) {
  return FromHwnd(GetParent(ToHwnd(page)));
}

void Win32RemoveView::setText(platform::WindowHandle page, int controlId, const char* text) {
  SetDialogText(ToHwnd(page), controlId, text);
}

void Win32RemoveView::enableControl(platform::WindowHandle dialog, int controlId, bool enabled) {
  EnableWindow(GetDlgItem(ToHwnd(dialog), controlId), enabled ? TRUE : FALSE);
}

void Win32RemoveView::setTimer(platform::WindowHandle page, std::uint32_t id,
                               std::uint32_t periodMs) {
  SetTimer(ToHwnd(page), id, periodMs, nullptr);
}

void Win32RemoveView::killTimer(platform::WindowHandle page, std::uint32_t id) {
  KillTimer(ToHwnd(page), id);
}

void Win32RemoveView::endDialog(platform::WindowHandle page, int result) {
  EndDialog(ToHwnd(page), result);
}

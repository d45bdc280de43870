#include "win32_ui/loading_view_win32.h"

#include <windows.h>
#include <commctrl.h>

#include "resource_ids.h"
#include "win32_ui/dialog_proc.h"
#include "win32_ui/window_helpers.h"

namespace {

LRESULT Progress(platform::WindowHandle dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return SendDlgItemMessageA(ToHwnd(dialog), IDC_LOADING_PROGRESS, message, wParam, lParam);
}

}  // namespace

platform::ModuleHandle Win32LoadingView::moduleOf(platform::WindowHandle dialog) {
  return FromInstance(InstanceOf(ToHwnd(dialog)));
}

void Win32LoadingView::setText(platform::WindowHandle dialog, int controlId, const char* text) {
  SetDialogText(ToHwnd(dialog), controlId, text);
}

void Win32LoadingView::hideControl(platform::WindowHandle dialog, int controlId) {
  ShowWindow(GetDlgItem(ToHwnd(dialog), controlId), SW_HIDE);
}

void Win32LoadingView::setProgressRange(platform::WindowHandle dialog, int low, int high) {
  Progress(dialog, PBM_SETRANGE, 0, MAKELPARAM(low, high));
}

void Win32LoadingView::setProgressPosition(platform::WindowHandle dialog, int position) {
  Progress(dialog, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void Win32LoadingView::setProgressStep(platform::WindowHandle dialog, int step) {
  Progress(dialog, PBM_SETSTEP, static_cast<WPARAM>(step), 0);
}

void Win32LoadingView::stepProgress(platform::WindowHandle dialog) {
  Progress(dialog, PBM_STEPIT, 0, 0);
}

void Win32LoadingView::centre(platform::WindowHandle dialog) { Centre(ToHwnd(dialog), nullptr); }

void Win32LoadingView::setTimer(platform::WindowHandle dialog, std::uint32_t id,
                                std::uint32_t periodMs) {
  SetTimer(ToHwnd(dialog), id, periodMs, nullptr);
}

void Win32LoadingView::killTimer(platform::WindowHandle dialog, std::uint32_t id) {
  KillTimer(ToHwnd(dialog), id);
}

void Win32LoadingView::endDialog(platform::WindowHandle dialog, int result) {
  EndDialog(ToHwnd(dialog), result);
}

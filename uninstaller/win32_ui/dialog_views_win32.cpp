#include "win32_ui/dialog_views_win32.h"

#include "resource_ids.h"

Win32ExtraInfoView::Win32ExtraInfoView() : Win32CursorOf(IDC_EXTRA_LIST) {}

void Win32ExtraInfoView::setText(platform::WindowHandle dialog, int controlId, const char* text) {
  SetDialogText(ToHwnd(dialog), controlId, text);
}

void Win32ExtraInfoView::checkRadioButton(platform::WindowHandle dialog, int first, int last,
                                          int checked) {
  CheckRadioButton(ToHwnd(dialog), first, last, checked);
}

bool Win32ExtraInfoView::isChecked(platform::WindowHandle dialog, int controlId) {
  return IsDlgButtonChecked(ToHwnd(dialog), controlId) == BST_CHECKED;
}

void Win32ExtraInfoView::enableControl(platform::WindowHandle dialog, int controlId, bool enabled) {
  EnableWindow(GetDlgItem(ToHwnd(dialog), controlId), enabled ? TRUE : FALSE);
}

void Win32ExtraInfoView::centre(platform::WindowHandle dialog) { Centre(ToHwnd(dialog), nullptr); }

void Win32ExtraInfoView::endDialog(platform::WindowHandle dialog, int result) {
  EndDialog(ToHwnd(dialog), result);
}

Win32AboutView::Win32AboutView() : Win32ListOf(IDC_ABOUT_LIST) {}

platform::ModuleHandle Win32AboutView::moduleOf(platform::WindowHandle dialog) {
  return FromInstance(InstanceOf(ToHwnd(dialog)));
}

void Win32AboutView::setText(platform::WindowHandle dialog, int controlId, const char* text) {
  SetDialogText(ToHwnd(dialog), controlId, text);
}

void Win32AboutView::centre(platform::WindowHandle dialog) { Centre(ToHwnd(dialog), nullptr); }

void Win32AboutView::endDialog(platform::WindowHandle dialog, int result) {
  EndDialog(ToHwnd(dialog), result);
}

#include "win32_ui/main_view_win32.h"

#include <windows.h>

#include "app/about_dlg.h"
#include "discovery/loading_dlg.h"
#include "resource_ids.h"
#include "win32_ui/dialog_proc.h"
#include "win32_ui/window_helpers.h"

platform::ModuleHandle Win32MainView::moduleOf(platform::WindowHandle dialog) {
  return FromInstance(InstanceOf(ToHwnd(dialog)));
}

void Win32MainView::setText(platform::WindowHandle dialog, int controlId, const char* text) {
  SetDialogText(ToHwnd(dialog), controlId, text);
}

void Win32MainView::showControl(platform::WindowHandle dialog, int controlId, bool visible) {
  ShowWindow(GetDlgItem(ToHwnd(dialog), controlId), visible ? SW_SHOW : SW_HIDE);
}

void Win32MainView::enableControl(platform::WindowHandle dialog, int controlId, bool enabled) {
  EnableWindow(GetDlgItem(ToHwnd(dialog), controlId), enabled ? TRUE : FALSE);
}

void Win32MainView::fixSize(platform::WindowHandle dialog) {
  HMENU systemMenu = GetSystemMenu(ToHwnd(dialog), FALSE);
  EnableMenuItem(systemMenu, SC_MAXIMIZE, MF_BYCOMMAND | MF_DISABLED | MF_GRAYED);
  EnableMenuItem(systemMenu, SC_SIZE, MF_BYCOMMAND | MF_DISABLED | MF_GRAYED);
}

void Win32MainView::appendSystemCommand(platform::WindowHandle dialog, int id, const char* text) {
  HMENU systemMenu = GetSystemMenu(ToHwnd(dialog), FALSE);
  AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(systemMenu, MF_STRING, static_cast<UINT_PTR>(id), text);
}

void Win32MainView::greyCloseCommand(platform::WindowHandle dialog) {
  EnableMenuItem(GetSystemMenu(ToHwnd(dialog), FALSE), SC_CLOSE,
                 MF_BYCOMMAND | MF_DISABLED | MF_GRAYED);
}

bool Win32MainView::isCloseCommandEnabled(platform::WindowHandle dialog) {
  const UINT state = GetMenuState(GetSystemMenu(ToHwnd(dialog), FALSE), SC_CLOSE, MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && (state & (MF_DISABLED | MF_GRAYED)) == 0;
}

platform::WindowHandle Win32MainView::createPage(platform::WindowHandle dialog,
                                                 const char* templateName, CDialogBase& page) {
  HWND owner = ToHwnd(dialog);
  return FromHwnd(CreateDialogParamA(InstanceOf(owner), templateName, owner, SharedDialogProc,
                                     reinterpret_cast<LPARAM>(&page)));
}

void Win32MainView::placeOverPlaceholder(platform::WindowHandle dialog,
                                         platform::WindowHandle page) {
  HWND owner = ToHwnd(dialog);
  PlaceOver(ToHwnd(page), GetDlgItem(owner, IDC_MAIN_PLACEHOLDER), owner);
}

void Win32MainView::showPage(platform::WindowHandle page, bool visible) {
  ShowPage(ToHwnd(page), visible);
}

void Win32MainView::setBigIcon(platform::WindowHandle dialog) {
  SetIcon(ToHwnd(dialog), IDI_STRIPWELL, ICON_BIG);
}

void Win32MainView::centre(platform::WindowHandle dialog) { Centre(ToHwnd(dialog), nullptr); }

void Win32MainView::show(platform::WindowHandle dialog, bool visible) {
  ShowWindow(ToHwnd(dialog), visible ? SW_SHOW : SW_HIDE);
}

int Win32MainView::runLoadingDialog(platform::WindowHandle owner, CLoadingDlg& loading) {
  HINSTANCE instance = InstanceOf(ToHwnd(owner));
  return static_cast<int>(DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_LOADING), ToHwnd(owner),
                                          SharedDialogProc, reinterpret_cast<LPARAM>(&loading)));
}

int Win32MainView::runAboutBox(platform::WindowHandle owner, CAboutDlg& about) {
  HINSTANCE instance = InstanceOf(ToHwnd(owner));
  return static_cast<int>(DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_ABOUT), ToHwnd(owner),
                                          SharedDialogProc, reinterpret_cast<LPARAM>(&about)));
}

void Win32MainView::endDialog(platform::WindowHandle dialog, int result) {
  EndDialog(ToHwnd(dialog), result);
}

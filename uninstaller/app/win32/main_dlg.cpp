#include "app/win32/main_dlg.h"

#include <windows.h>

#include "app/locations.h"
#include "app/win32/dialog_proc.h"
#include "app/win32/window_helpers.h"
#include "resource_ids.h"

namespace {

constexpr std::uint32_t kTextCaption = 161;
constexpr std::uint32_t kTextUninstall = 162;
constexpr std::uint32_t kTextCancel = 163;

}  // namespace

CMainDlg::CMainDlg(platform::System& system)
    : system_(system), strings_(system), osInfo_(system.host) {}

platform::LResult CMainDlg::HandleMessage(platform::WindowHandle, std::uint32_t message,
                                          platform::WParam wParam, platform::LParam) {
  SetMainScriptPath(system_);
  switch (message) {
    case WM_INITDIALOG:
      return onInitDialog();
    case WM_COMMAND:
      return onCommand(LOWORD(wParam));
    default:
      return FALSE;
  }
}

platform::LResult CMainDlg::onInitDialog() {
  HWND dialog = ToHwnd(window);
  strings_.setModule(reinterpret_cast<platform::ModuleHandle>(InstanceOf(dialog)));
  ShowWindow(GetDlgItem(dialog, IDC_MAIN_PLACEHOLDER), SW_HIDE);

  // The dialog has a fixed size.
  HMENU systemMenu = GetSystemMenu(dialog, FALSE);
  EnableMenuItem(systemMenu, SC_MAXIMIZE, MF_BYCOMMAND | MF_DISABLED | MF_GRAYED);
  EnableMenuItem(systemMenu, SC_SIZE, MF_BYCOMMAND | MF_DISABLED | MF_GRAYED);

  strings_.setWindowText(window, kTextCaption);
  strings_.setItemText(window, IDC_MAIN_UNINSTALL, kTextUninstall);
  strings_.setItemText(window, IDC_MAIN_CANCEL, kTextCancel);

  SetIcon(dialog, IDI_STRIPWELL, ICON_BIG);
  Centre(dialog, nullptr);
  return TRUE;
}

platform::LResult CMainDlg::onCommand(int id) {
  switch (id) {
    case IDOK:
    case IDCANCEL:
    case IDC_MAIN_CANCEL:
      EndDialog(ToHwnd(window), 1);
      return TRUE;
    default:
      return FALSE;
  }
}

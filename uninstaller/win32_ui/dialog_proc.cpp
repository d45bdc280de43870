#include "win32_ui/dialog_proc.h"

namespace {

// The dialog manager's own messages (DM_GETDEFID and the like) lie just
// above WM_USER; the program's start at WM_USER + 100.
constexpr UINT kFirstPrivateMessage = WM_USER + 100;

}  // namespace

INT_PTR CALLBACK SharedDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) SetWindowLongPtrA(window, DWLP_USER, lParam);

  auto* object = reinterpret_cast<CDialogBase*>(GetWindowLongPtrA(window, DWLP_USER));
  if (object != nullptr) {
    object->window = FromHwnd(window);
    const platform::LResult result =
        object->HandleMessage(FromHwnd(window), message, wParam, lParam);
    // The program's private messages answer their sender: a dialog
    // procedure gives that answer through DWLP_MSGRESULT.
    if (message >= kFirstPrivateMessage && message < WM_APP && result != 0) {
      SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
      return TRUE;
    }
    return result;
  }

  if (message == WM_COMMAND && HIWORD(wParam) == 0 &&
      (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    EndDialog(window, LOWORD(wParam) == IDOK ? 1 : 0);
    return TRUE;
  }
  return FALSE;
}

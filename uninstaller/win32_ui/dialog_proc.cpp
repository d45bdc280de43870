#include "win32_ui/dialog_proc.h"

INT_PTR CALLBACK SharedDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) SetWindowLongPtrA(window, DWLP_USER, lParam);

  auto* object = reinterpret_cast<CDialogBase*>(GetWindowLongPtrA(window, DWLP_USER));
  if (object != nullptr) {
    object->window = FromHwnd(window);
    return object->HandleMessage(FromHwnd(window), message, wParam, lParam);
  }

  if (message == WM_COMMAND && HIWORD(wParam) == 0 &&
      (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    EndDialog(window, LOWORD(wParam) == IDOK ? 1 : 0);
    return TRUE;
  }
  return FALSE;
}

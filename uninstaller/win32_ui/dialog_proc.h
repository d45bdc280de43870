// The one dialog procedure of the program.
#pragma once

#include <windows.h>

#include "shell/dialog_base.h"

// Stores the creation parameter (a CDialogBase*) at WM_INITDIALOG and hands
// every message to that object. A dialog without an object ends on IDOK
// (result 1) or IDCANCEL (result 0).
INT_PTR CALLBACK SharedDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The Win32 handle of a portable window handle, and back.
inline HWND ToHwnd(platform::WindowHandle window) { return reinterpret_cast<HWND>(window); }
inline platform::WindowHandle FromHwnd(HWND window) {
  return reinterpret_cast<platform::WindowHandle>(window);
}

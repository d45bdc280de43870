// The one dialog procedure of the program.
#pragma once

#include <windows.h>

#include "platform/win32/convert.h"
#include "shell/dialog_base.h"

// The window code converts between HWND and the portable handles often.
using win32::FromHwnd;
using win32::FromInstance;
using win32::ToHwnd;
using win32::ToInstance;

// Stores the creation parameter (a CDialogBase*) at WM_INITDIALOG and hands
// every message to that object. A dialog without an object ends on IDOK
// (result 1) or IDCANCEL (result 0).
INT_PTR CALLBACK SharedDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

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
// every message to that object. For the program's private messages
// (WM_USER + 100 and above) a non-zero result is the message's answer. A dialog without an object
// ends on IDOK (result 1) or IDCANCEL (result 0).
INT_PTR CALLBACK SharedDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Identifiers shared by the resource script and the code: dialog templates,
// controls, icons and the program's private window messages.
#pragma once

// Icons.
#define IDI_STRIPWELL 1

// Main dialog, template "IDD_MAIN_NOBMP".
#define IDC_MAIN_UNINSTALL 1080
#define IDC_MAIN_CANCEL 1052
#define IDC_MAIN_LINE 1005
#define IDC_MAIN_PLACEHOLDER 1003

// System-menu command that opens the About box.
#define IDM_ABOUT 156

// Loading dialog, template 115.
#define IDD_LOADING 115
#define IDC_LOADING_ICON 1082
#define IDC_LOADING_TEXT 1083
#define IDC_LOADING_PROGRESS 1023
#define IDC_LOADING_STATUS 1086

// Removal page, template "IDD_REMOVE": nine progress rows, each a text and
// a tick image; row k has text control IDC_REMOVE_TEXT_FIRST + k and icon
// control IDC_REMOVE_ICON_FIRST + k.
#define IDC_REMOVE_TEXT_FIRST 1087
#define IDC_REMOVE_ICON_FIRST 1096
#define IDC_REMOVE_ROW_COUNT 9
// The grey, green and red ticks, 16 x 16 each.
#define IDB_TICKS 119

// Private messages to the main dialog (WM_USER based).
#define WM_APP_ENABLE_UNINSTALL 1127
#define WM_APP_START_REMOVAL 1128
#define WM_APP_REMOVAL_FINISHED 1129
#define WM_APP_QUERY_NO_SCANNER 1131
#define WM_APP_QUERY_NO_FAX 1132

// Timers.
#define IDT_LOADING 1126
#define IDT_REMOVAL 1130

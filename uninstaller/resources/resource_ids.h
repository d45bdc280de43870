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

// Printer selection page, template "IDD_SELECT".
#define IDC_SELECT_PROMPT 1084
#define IDC_SELECT_LIST 1020
#define IDC_SELECT_WARNING 1085

// The selection page's context menu (its first popup, "View").
#define IDR_SELECT_MENU 117
#define IDM_VIEW_LARGE_ICONS 40004
#define IDM_VIEW_SMALL_ICONS 40005
#define IDM_VIEW_LIST 40006
#define IDM_VIEW_DETAILS 40007
#define IDM_REMOVE_PRINTERS 40009
#define IDM_SELECT_ALL 40010
#define IDM_OTHER_DETAILS 40012

// The printer images of the selection page: eight each, the sum of 1
// (default printer), 2 (connection) and 4 (masked printer).
#define IDB_PRINTERS_SMALL 116
#define IDB_PRINTERS_LARGE 117
#define IDB_PRINTERS_SMALL_WIDTH 18
#define IDB_PRINTERS_LARGE_WIDTH 32

// About box, template 114.
#define IDD_ABOUT 114
#define IDC_ABOUT_LIST 1020
#define IDC_ABOUT_SPACER 1115

// Extra Info dialog, template 116: the list, the own-settings check box and
// the twelve category buttons (1097 to 1107, then 1109).
#define IDD_EXTRA_INFO 116
#define IDC_EXTRA_LIST 1108
#define IDC_EXTRA_OWN_ONLY 1017
#define IDC_EXTRA_CATEGORY_FIRST 1097
#define IDC_EXTRA_CATEGORY_LAST 1107
#define IDC_EXTRA_DIRECTORIES 1109

// Component choice, template "IDD_COMPONENT" (never shown).
#define IDC_COMPONENT_ALL 1116
#define IDC_COMPONENT_PRINTER_ONLY 1117

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

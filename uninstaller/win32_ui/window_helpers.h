// Small window operations that every dialog of the program uses.
#pragma once

#include <windows.h>
#include <commctrl.h>

// Centres `window` on `reference` (the desktop when null); a negative left
// or top becomes 0. Size, z-order and activation stay.
void Centre(HWND window, HWND reference);
// Sends WM_SETICON with icon `iconId` of the window's module; `which` is
// ICON_BIG or ICON_SMALL.
void SetIcon(HWND window, int iconId, WPARAM which);
// Moves a child page onto the rectangle of a placeholder control of its
// parent (in the parent's client coordinates) without repainting it. In a
// right-to-left parent the placeholder's edges are swapped before mapping.
void PlaceOver(HWND page, HWND placeholder, HWND parent);
// Sets the dialog's own text (control 0) or a control's text.
void SetDialogText(HWND dialog, int controlId, const char* text);
// SW_SHOW or SW_HIDE.
void ShowPage(HWND page, bool visible);
// Inserts a list-view item at `index` (-1: at the end) with `data` as item
// data, a text only when not empty and an image only when not -1. The new
// index, or -1 without a list.
int InsertItem(HWND list, const char* text, int index, int image, LPARAM data);
// Sets the text of an item or subitem; 0 without a list.
BOOL SetSubItemText(HWND list, const char* text, int item, int subItem);
// The module a window belongs to.
HINSTANCE InstanceOf(HWND window);
// Destroys an image list and clears the handle when that succeeds.
void DestroyImageList(HIMAGELIST& images);

#include "win32_ui/window_helpers.h"

#include <utility>

void Centre(HWND window, HWND reference) {
  if (reference == nullptr) reference = GetDesktopWindow();
  RECT outer{}, inner{};
  GetWindowRect(reference, &outer);
  GetWindowRect(window, &inner);
  int left = outer.left + ((outer.right - outer.left) - (inner.right - inner.left)) / 2;
  int top = outer.top + ((outer.bottom - outer.top) - (inner.bottom - inner.top)) / 2;
  if (left < 0) left = 0;
  if (top < 0) top = 0;
  SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetIcon(HWND window, int iconId, WPARAM which) {
  HICON icon = LoadIconA(InstanceOf(window), MAKEINTRESOURCEA(iconId));
  SendMessageA(window, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
}

void PlaceOver(HWND page, HWND placeholder, HWND parent) {
  RECT rect{};
  GetWindowRect(placeholder, &rect);
  if (GetWindowLongA(parent, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) std::swap(rect.left, rect.right);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  MoveWindow(page, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, FALSE);
}

void SetDialogText(HWND dialog, int controlId, const char* text) {
  if (controlId == 0) {
    SetWindowTextA(dialog, text);
  } else {
    SetDlgItemTextA(dialog, controlId, text);
  }
}

void ShowPage(HWND page, bool visible) { ShowWindow(page, visible ? SW_SHOW : SW_HIDE); }

int InsertItem(HWND list, const char* text, int index, int image, LPARAM data) {
  if (list == nullptr) return -1;
  LVITEMA item{};
  item.mask = LVIF_PARAM;
  item.iItem = index == -1 ? static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)) : index;
  item.lParam = data;
  if (text != nullptr && text[0] != '\0') {
    item.mask |= LVIF_TEXT;
    item.pszText = const_cast<char*>(text);
  }
  if (image != -1) {
    item.mask |= LVIF_IMAGE;
    item.iImage = image;
  }
  return static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

BOOL SetSubItemText(HWND list, const char* text, int item, int subItem) {
  if (list == nullptr) return FALSE;
  LVITEMA lvItem{};
  lvItem.iSubItem = subItem;
  lvItem.pszText = const_cast<char*>(text);
  return static_cast<BOOL>(SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(item),
                                        reinterpret_cast<LPARAM>(&lvItem)));
}

HINSTANCE InstanceOf(HWND window) {
  return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
}

void DestroyImageList(HIMAGELIST& images) {
  if (images != nullptr && ImageList_Destroy(images)) images = nullptr;
}

// The list-view operations of the dialogs' window views on a real list
// control, mixed into each view that shows a list.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "app/list_view.h"
#include "win32_ui/dialog_proc.h"
#include "win32_ui/window_helpers.h"

template <typename View>
class Win32ListOf : public View {
 public:
  explicit Win32ListOf(int listId) : listId_(listId) {}

  bool insertColumn(platform::WindowHandle dialog, int index, const char* title,
                    int width) override {
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = width;
    column.pszText = const_cast<char*>(title);
    column.iSubItem = index;
    return send(dialog, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index),
                reinterpret_cast<LPARAM>(&column)) != -1;
  }
  bool deleteColumn(platform::WindowHandle dialog, int index) override {
    return send(dialog, LVM_DELETECOLUMN, static_cast<WPARAM>(index), 0) != 0;
  }
  void deleteAllItems(platform::WindowHandle dialog) override {
    send(dialog, LVM_DELETEALLITEMS, 0, 0);
  }
  int insertItem(platform::WindowHandle dialog, const char* text, int index, int image,
                 platform::LParam data) override {
    return InsertItem(list(dialog), text, index, image, data);
  }
  bool setSubItemText(platform::WindowHandle dialog, int item, int subItem,
                      const char* text) override {
    return SetSubItemText(list(dialog), text, item, subItem) != FALSE;
  }
  void autosizeColumns(platform::WindowHandle dialog, int count) override {
    for (int column = 0; column < count; ++column) {
      send(dialog, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column),
           MAKELPARAM(LVSCW_AUTOSIZE_USEHEADER, 0));
    }
  }

 protected:
  HWND list(platform::WindowHandle dialog) const { return GetDlgItem(ToHwnd(dialog), listId_); }
  LRESULT send(platform::WindowHandle dialog, UINT message, WPARAM wParam, LPARAM lParam) const {
    return SendMessageA(list(dialog), message, wParam, lParam);
  }

 private:
  int listId_;
};

// SetCursor(IDC_WAIT) and back.
template <typename View>
class Win32CursorOf : public View {
 public:
  using View::View;

  std::uintptr_t showWaitCursor() override {
    return reinterpret_cast<std::uintptr_t>(
        SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514))));
  }
  void restoreCursor(std::uintptr_t previous) override {
    SetCursor(reinterpret_cast<HCURSOR>(previous));
  }
};

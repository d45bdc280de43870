// The window side of a dialog's list-view control, as the dialogs that
// show a list (the selection page, the Extra Info dialog, the About box)
// use it. Each operation works on the one list of the dialog `dialog`.
#pragma once

#include <cstdint>

#include "platform/win32_types.h"

class ListView {
 public:
  virtual ~ListView() = default;

  // LVM_INSERTCOLUMN of a left-aligned column `width` pixels wide; false
  // when the list refuses it.
  virtual bool insertColumn(platform::WindowHandle dialog, int index, const char* title,
                            int width) = 0;
  // LVM_DELETECOLUMN; false when the list has no such column.
  virtual bool deleteColumn(platform::WindowHandle dialog, int index) = 0;
  virtual void deleteAllItems(platform::WindowHandle dialog) = 0;
  // Inserts an item at `index` (-1: at the end) with `data` as its item
  // data, the text only when not empty and the image only when not -1; the
  // new index, -1 on failure. An index past the end appends.
  virtual int insertItem(platform::WindowHandle dialog, const char* text, int index, int image,
                         platform::LParam data) = 0;
  // The text of an item (subItem 0) or of one of its subitems.
  virtual bool setSubItemText(platform::WindowHandle dialog, int item, int subItem,
                              const char* text) = 0;
  // LVSCW_AUTOSIZE_USEHEADER for columns 0 to count - 1.
  virtual void autosizeColumns(platform::WindowHandle dialog, int count) = 0;
};

// The wait cursor around a long operation: SetCursor(IDC_WAIT), then the
// cursor that was current before.
class CursorView {
 public:
  virtual ~CursorView() = default;

  // Shows the wait cursor; the cursor it replaced.
  virtual std::uintptr_t showWaitCursor() = 0;
  virtual void restoreCursor(std::uintptr_t previous) = 0;
};

// Shows the wait cursor for its lifetime.
class WaitCursor {
 public:
  explicit WaitCursor(CursorView& view) : view_(view), previous_(view.showWaitCursor()) {}
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
  ~WaitCursor() { view_.restoreCursor(previous_); }

 private:
  CursorView& view_;
  std::uintptr_t previous_;
};

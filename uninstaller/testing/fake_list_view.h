// A list-view control that records what a dialog puts into it, and a
// cursor that counts how often the wait cursor was shown; mixed into the
// fakes of the dialogs' views.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/list_view.h"

struct FakeRow {
  std::vector<std::string> cells;  // the item's text, then its subitems
  int image = -1;
  platform::LParam data = 0;
  bool selected = false;
  bool focused = false;
};

template <typename View>
class FakeListOf : public View {
 public:
  bool insertColumn(platform::WindowHandle, int index, const char* title, int width) override {
    if (refuseColumns) return false;
    const auto at = static_cast<std::size_t>(index) > columns.size()
                        ? columns.size()
                        : static_cast<std::size_t>(index);
    columns.insert(columns.begin() + static_cast<std::ptrdiff_t>(at), title);
    widths.push_back(width);
    return true;
  }
  bool deleteColumn(platform::WindowHandle, int index) override {
    if (index < 0 || static_cast<std::size_t>(index) >= columns.size()) return false;
    columns.erase(columns.begin() + index);
    return true;
  }
  void deleteAllItems(platform::WindowHandle) override { rows.clear(); }
  // As a list view does, an index past the end appends.
  int insertItem(platform::WindowHandle, const char* text, int index, int image,
                 platform::LParam data) override {
    FakeRow row;
    row.cells.push_back(text != nullptr ? text : "");
    row.image = image;
    row.data = data;
    const std::size_t at = index < 0 || static_cast<std::size_t>(index) > rows.size()
                               ? rows.size()
                               : static_cast<std::size_t>(index);
    rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(at), row);
    return static_cast<int>(at);
  }
  bool setSubItemText(platform::WindowHandle, int item, int subItem, const char* text) override {
    if (item < 0 || static_cast<std::size_t>(item) >= rows.size()) return false;
    std::vector<std::string>& cells = rows[static_cast<std::size_t>(item)].cells;
    if (cells.size() <= static_cast<std::size_t>(subItem)) cells.resize(subItem + 1);
    cells[static_cast<std::size_t>(subItem)] = text;
    return true;
  }
  void autosizeColumns(platform::WindowHandle, int count) override { autosized = count; }

  // The text of a cell; "" where nothing was set.
  std::string cell(std::size_t row, std::size_t column) const {
    if (row >= rows.size() || column >= rows[row].cells.size()) return "";
    return rows[row].cells[column];
  }
  std::vector<std::string> column(std::size_t index) const {
    std::vector<std::string> texts;
    for (std::size_t row = 0; row < rows.size(); ++row) texts.push_back(cell(row, index));
    return texts;
  }

  bool refuseColumns = false;
  std::vector<std::string> columns;
  std::vector<int> widths;
  std::vector<FakeRow> rows;
  int autosized = -1;
};

// Adds a recording wait cursor to a view.
template <typename View>
class FakeCursorOf : public View {
 public:
  static constexpr std::uintptr_t kArrow = 0x1001;

  std::uintptr_t showWaitCursor() override {
    ++waitShown;
    ++waitDepth;
    return kArrow;
  }
  void restoreCursor(std::uintptr_t previous) override {
    --waitDepth;
    restoredTo = previous;
  }

  int waitShown = 0;
  int waitDepth = 0;  // 0 once every wait cursor has been taken back
  std::uintptr_t restoredTo = 0;
};

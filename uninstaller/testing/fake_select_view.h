// A selection page window that records what the page does to it, with the
// context menu as menu 117 has it.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/extra_info_dlg.h"
#include "app/select_view.h"
#include "fake_list_view.h"
#include "shell/dialog_messages.h"

struct FakeMenuEntry {
  int command = 0;  // 0 for a separator
  std::string text;
  bool checked = false;
  bool enabled = true;
};

class FakeSelectView : public FakeCursorOf<FakeListOf<SelectView>> {
 public:
  platform::ModuleHandle moduleOf(platform::WindowHandle) override {
    return platform::ModuleHandle{0x400000};
  }
  void setText(platform::WindowHandle, int controlId, const char* text) override {
    texts[controlId] = text;
  }
  void loadImageLists(platform::WindowHandle) override { ++imageLoads; }
  void destroyImageLists() override { ++imageDestructions; }
  void showSelectionAlways(platform::WindowHandle) override { selectionAlwaysShown = true; }
  ListMode listMode(platform::WindowHandle) override { return mode; }
  void setListMode(platform::WindowHandle, ListMode value) override {
    mode = value;
    modesSet.push_back(value);
  }
  int itemCount(platform::WindowHandle) override { return static_cast<int>(rows.size()); }
  void itemText(platform::WindowHandle, int item, char* buffer, int size) override {
    const std::string text = cell(static_cast<std::size_t>(item), 0).substr(0, size - 1);
    std::copy(text.begin(), text.end(), buffer);
    buffer[text.size()] = '\0';
  }
  bool isItemSelected(platform::WindowHandle, int item) override {
    return rows[static_cast<std::size_t>(item)].selected;
  }
  int selectedCount(platform::WindowHandle) override {
    int count = 0;
    for (const FakeRow& row : rows) count += row.selected ? 1 : 0;
    return count;
  }
  void selectAll(platform::WindowHandle) override {
    for (FakeRow& row : rows) row.selected = true;
  }
  void focusItem(platform::WindowHandle, int item) override {
    if (static_cast<std::size_t>(item) < rows.size())
      rows[static_cast<std::size_t>(item)].focused = true;
  }
  void focusList(platform::WindowHandle) override { listFocused = true; }

  bool loadContextMenu(platform::WindowHandle) override {
    ++menuLoads;
    return true;
  }
  void destroyContextMenu() override { ++menuDestructions; }
  int menuItemCount() override { return static_cast<int>(menu.size()); }
  void deleteMenuEntry(int position) override { menu.erase(menu.begin() + position); }
  void checkMenuCommand(int command, bool checked) override {
    if (FakeMenuEntry* entry = find(command)) entry->checked = checked;
  }
  void enableMenuCommand(int command, bool enabled) override {
    if (FakeMenuEntry* entry = find(command)) entry->enabled = enabled;
  }
  void setDefaultMenuCommand(int command) override { defaultCommand = command; }
  void trackContextMenu(platform::WindowHandle) override { tracked.push_back(menu); }

  platform::LResult sendToParent(platform::WindowHandle, std::uint32_t message,
                                 platform::WParam wParam) override {
    sent.emplace_back(message, wParam);
    return parent ? parent(message, wParam) : 0;
  }
  void postToParent(platform::WindowHandle, std::uint32_t message,
                    platform::WParam wParam) override {
    posted.emplace_back(message, wParam);
  }
  // Runs the dialog as a modal loop would: its WM_INITDIALOG, then what
  // the test does while it is open.
  int runExtraInfo(platform::WindowHandle, CExtraInfoDlg& dialog) override {
    ++extraInfoRuns;
    dialog.window = platform::WindowHandle{0x30030};
    dialog.HandleMessage(dialog.window, dlgmsg::kInitDialog, 0, 0);
    if (whileExtraInfoOpen) whileExtraInfoOpen(dialog);
    return 1;
  }
  void endDialog(platform::WindowHandle, int value) override { ended.push_back(value); }

  void select(std::initializer_list<std::size_t> items) {
    for (FakeRow& row : rows) row.selected = false;
    for (std::size_t item : items) rows.at(item).selected = true;
  }
  const FakeMenuEntry* entry(int command) const {
    for (const FakeMenuEntry& item : menu) {
      if (item.command == command) return &item;
    }
    return nullptr;
  }

  std::map<int, std::string> texts;
  int imageLoads = 0, imageDestructions = 0;
  bool selectionAlwaysShown = false;
  ListMode mode = ListMode::kDetails;  // as the template has it
  std::vector<ListMode> modesSet;
  bool listFocused = false;
  std::vector<FakeMenuEntry> menu = {{40009, "Remove Printer(s)"},
                                     {0, ""},
                                     {40004, "Large Icons"},
                                     {40005, "Small Icons"},
                                     {40006, "List"},
                                     {40007, "Details"},
                                     {0, ""},
                                     {40010, "Select All"},
                                     {0, ""},
                                     {40012, "Other Details..."}};
  int menuLoads = 0, menuDestructions = 0;
  int defaultCommand = 0;
  std::vector<std::vector<FakeMenuEntry>> tracked;  // the menu each time it was shown
  std::vector<std::pair<std::uint32_t, platform::WParam>> sent, posted;
  std::function<platform::LResult(std::uint32_t, platform::WParam)> parent;
  std::function<void(CExtraInfoDlg&)> whileExtraInfoOpen;
  int extraInfoRuns = 0;
  std::vector<int> ended;

 private:
  FakeMenuEntry* find(int command) {
    for (FakeMenuEntry& item : menu) {
      if (item.command == command) return &item;
    }
    return nullptr;
  }
};

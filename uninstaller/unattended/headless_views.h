// Views of the program's dialogs that create no window, for a run without
// a desktop user. They keep what the dialogs put into them that a run
// reads back (the printer list and its selection, enabled buttons), route
// messages, timers and dialog ends through the HeadlessDesk, and drop the
// rest (texts, icons, cursors, placement).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "app/about_view.h"
#include "app/extra_info_view.h"
#include "app/main_view.h"
#include "app/select_view.h"
#include "discovery/loading_view.h"
#include "removal/remove_view.h"
#include "unattended/headless_desk.h"

// A list view that keeps its items' texts, with no columns to speak of.
template <typename View>
class HeadlessListOf : public View {
 public:
  struct Item {
    std::vector<std::string> cells;
    bool selected = false;
  };

  bool insertColumn(platform::WindowHandle, int, const char*, int) override { return true; }
  bool deleteColumn(platform::WindowHandle, int) override { return true; }
  void deleteAllItems(platform::WindowHandle) override { items.clear(); }
  int insertItem(platform::WindowHandle, const char* text, int index, int,
                 platform::LParam) override;
  bool setSubItemText(platform::WindowHandle, int item, int subItem, const char* text) override;
  void autosizeColumns(platform::WindowHandle, int) override {}

  std::vector<Item> items;
};

class HeadlessLoadingView final : public LoadingView {
 public:
  HeadlessLoadingView(HeadlessDesk& desk, platform::ModuleHandle module)
      : desk_(desk), module_(module) {}

  platform::ModuleHandle moduleOf(platform::WindowHandle) override { return module_; }
  void setText(platform::WindowHandle, int, const char*) override {}
  void hideControl(platform::WindowHandle, int) override {}
  void setProgressRange(platform::WindowHandle, int, int) override {}
  void setProgressPosition(platform::WindowHandle, int) override {}
  void setProgressStep(platform::WindowHandle, int) override {}
  void stepProgress(platform::WindowHandle) override {}
  void centre(platform::WindowHandle) override {}
  void setTimer(platform::WindowHandle dialog, std::uint32_t id, std::uint32_t period) override {
    desk_.setTimer(dialog, id, period);
  }
  void killTimer(platform::WindowHandle dialog, std::uint32_t id) override {
    desk_.killTimer(dialog, id);
  }
  void endDialog(platform::WindowHandle dialog, int result) override { desk_.end(dialog, result); }

 private:
  HeadlessDesk& desk_;
  platform::ModuleHandle module_;
};

class HeadlessMainView final : public MainView {
 public:
  HeadlessMainView(HeadlessDesk& desk, platform::ModuleHandle module)
      : desk_(desk), module_(module) {}

  platform::ModuleHandle moduleOf(platform::WindowHandle) override { return module_; }
  void setText(platform::WindowHandle, int, const char*) override {}
  void showControl(platform::WindowHandle, int, bool) override {}
  void enableControl(platform::WindowHandle, int controlId, bool enabled) override;
  void fixSize(platform::WindowHandle) override {}
  void appendSystemCommand(platform::WindowHandle, int, const char*) override {}
  void greyCloseCommand(platform::WindowHandle) override { closeEnabled_ = false; }
  bool isCloseCommandEnabled(platform::WindowHandle) override { return closeEnabled_; }
  platform::WindowHandle createPage(platform::WindowHandle, const char*,
                                    CDialogBase& page) override;
  void placeOverPlaceholder(platform::WindowHandle, platform::WindowHandle) override {}
  void showPage(platform::WindowHandle page, bool visible) override;
  void setBigIcon(platform::WindowHandle) override {}
  void centre(platform::WindowHandle) override {}
  void show(platform::WindowHandle, bool) override {}
  // The modal loop of the loading dialog, on the desk's clock.
  int runLoadingDialog(platform::WindowHandle owner, CLoadingDlg& loading) override;
  // Nobody opens the system menu.
  int runAboutBox(platform::WindowHandle, CAboutDlg&) override { return 0; }
  void endDialog(platform::WindowHandle dialog, int result) override { desk_.end(dialog, result); }

  bool isUninstallEnabled() const { return uninstallEnabled_; }

 private:
  HeadlessDesk& desk_;
  platform::ModuleHandle module_;
  bool closeEnabled_ = true;
  bool uninstallEnabled_ = false;
  std::map<platform::WindowHandle, bool> pagesShown_;
};

class HeadlessSelectView final : public HeadlessListOf<SelectView> {
 public:
  HeadlessSelectView(HeadlessDesk& desk, platform::ModuleHandle module)
      : desk_(desk), module_(module) {}

  // The main dialog the page sits in.
  void setParent(platform::WindowHandle parent) { parent_ = parent; }

  std::uintptr_t showWaitCursor() override { return 0; }
  void restoreCursor(std::uintptr_t) override {}
  platform::ModuleHandle moduleOf(platform::WindowHandle) override { return module_; }
  void setText(platform::WindowHandle, int, const char*) override {}
  void loadImageLists(platform::WindowHandle) override {}
  void destroyImageLists() override {}
  void showSelectionAlways(platform::WindowHandle) override {}
  ListMode listMode(platform::WindowHandle) override { return mode_; }
  void setListMode(platform::WindowHandle, ListMode mode) override { mode_ = mode; }
  int itemCount(platform::WindowHandle) override { return static_cast<int>(items.size()); }
  void itemText(platform::WindowHandle, int item, char* buffer, int size) override;
  bool isItemSelected(platform::WindowHandle, int item) override;
  int selectedCount(platform::WindowHandle) override;
  void selectAll(platform::WindowHandle) override;
  void focusItem(platform::WindowHandle, int) override {}
  void focusList(platform::WindowHandle) override {}
  // No context menu: nobody right-clicks.
  bool loadContextMenu(platform::WindowHandle) override { return false; }
  void destroyContextMenu() override {}
  int menuItemCount() override { return 0; }
  void deleteMenuEntry(int) override {}
  void checkMenuCommand(int, bool) override {}
  void enableMenuCommand(int, bool) override {}
  void setDefaultMenuCommand(int) override {}
  void trackContextMenu(platform::WindowHandle) override {}
  platform::LResult sendToParent(platform::WindowHandle, std::uint32_t message,
                                 platform::WParam wParam) override {
    return desk_.send(parent_, message, wParam, 0);
  }
  void postToParent(platform::WindowHandle, std::uint32_t message,
                    platform::WParam wParam) override {
    desk_.post(parent_, message, wParam, 0);
  }
  int runExtraInfo(platform::WindowHandle, CExtraInfoDlg&) override { return 0; }
  void endDialog(platform::WindowHandle page, int result) override { desk_.end(page, result); }

 private:
  HeadlessDesk& desk_;
  platform::ModuleHandle module_;
  platform::WindowHandle parent_;
  ListMode mode_ = ListMode::kDetails;
};

class HeadlessRemoveView final : public RemoveView {
 public:
  HeadlessRemoveView(HeadlessDesk& desk, platform::ModuleHandle module)
      : desk_(desk), module_(module) {}

  void setParent(platform::WindowHandle parent) { parent_ = parent; }

  platform::ModuleHandle moduleOf(platform::WindowHandle) override { return module_; }
  platform::WindowHandle parentOf(platform::WindowHandle) override { return parent_; }
  void setText(platform::WindowHandle, int, const char*) override {}
  void enableControl(platform::WindowHandle, int, bool) override {}
  void setTimer(platform::WindowHandle page, std::uint32_t id, std::uint32_t period) override {
    desk_.setTimer(page, id, period);
  }
  void killTimer(platform::WindowHandle page, std::uint32_t id) override {
    desk_.killTimer(page, id);
  }
  void endDialog(platform::WindowHandle page, int result) override { desk_.end(page, result); }
  // Nothing is drawn without a window.
  void prepareRows(platform::WindowHandle) override {}
  void drawRow(platform::WindowHandle, int, int, int, bool) override {}
  platform::LResult transparentBrush() override { return 0; }
  void redraw(platform::WindowHandle) override {}
  void showWaitCursor() override {}
  void restoreCursor() override {}

 private:
  HeadlessDesk& desk_;
  platform::ModuleHandle module_;
  platform::WindowHandle parent_;
};

// Neither is ever opened without a user; they exist because the pages
// that could open them need a view.
class HeadlessExtraInfoView final : public HeadlessListOf<ExtraInfoView> {
 public:
  std::uintptr_t showWaitCursor() override { return 0; }
  void restoreCursor(std::uintptr_t) override {}
  void setText(platform::WindowHandle, int, const char*) override {}
  void checkRadioButton(platform::WindowHandle, int, int, int) override {}
  bool isChecked(platform::WindowHandle, int) override { return false; }
  void enableControl(platform::WindowHandle, int, bool) override {}
  void centre(platform::WindowHandle) override {}
  void endDialog(platform::WindowHandle, int) override {}
};

class HeadlessAboutView final : public HeadlessListOf<AboutView> {
 public:
  platform::ModuleHandle moduleOf(platform::WindowHandle) override { return {}; }
  void setText(platform::WindowHandle, int, const char*) override {}
  void centre(platform::WindowHandle) override {}
  void endDialog(platform::WindowHandle, int) override {}
};

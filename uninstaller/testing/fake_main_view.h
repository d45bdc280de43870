// A main dialog window that records what the page flow does to it. It runs
// the loading dialog as a modal loop would, tick after tick until it ends;
// creates the pages as child windows that get WM_INITDIALOG, and
// WM_SHOWWINDOW whenever their visibility changes; and runs the About box
// through its WM_INITDIALOG.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/about_dlg.h"
#include "app/main_view.h"
#include "discovery/loading_dlg.h"
#include "fake_loading_view.h"
#include "shell/dialog_messages.h"

class FakeMainView : public MainView {
 public:
  FakeMainView(FakeLoadingView& loadingView, platform::WindowHandle loadingWindow)
      : loadingView_(loadingView), loadingWindow_(loadingWindow) {}

  platform::ModuleHandle moduleOf(platform::WindowHandle) override {
    return platform::ModuleHandle{0x400000};
  }
  void setText(platform::WindowHandle, int controlId, const char* text) override {
    texts[controlId] = text;
  }
  void showControl(platform::WindowHandle, int controlId, bool visible) override {
    visibleControls[controlId] = visible;
  }
  void enableControl(platform::WindowHandle, int controlId, bool enabled) override {
    enabledControls[controlId] = enabled;
  }
  void fixSize(platform::WindowHandle) override { fixedSize = true; }
  void appendSystemCommand(platform::WindowHandle, int id, const char* text) override {
    systemCommands.emplace_back(id, text);
  }
  void greyCloseCommand(platform::WindowHandle) override { closeEnabled = false; }
  bool isCloseCommandEnabled(platform::WindowHandle) override { return closeEnabled; }
  platform::WindowHandle createPage(platform::WindowHandle, const char* templateName,
                                    CDialogBase& page) override {
    const platform::WindowHandle handle{0x20000 + pages_.size()};
    pages_[handle] = {templateName, &page, false};
    page.window = handle;
    page.HandleMessage(handle, dlgmsg::kInitDialog, 0, 0);
    return handle;
  }
  void placeOverPlaceholder(platform::WindowHandle, platform::WindowHandle page) override {
    placed.push_back(pageTemplate(page));
  }
  void showPage(platform::WindowHandle page, bool visible) override {
    Page& entry = pages_.at(page);
    if (entry.visible == visible) return;
    entry.visible = visible;
    entry.object->HandleMessage(page, dlgmsg::kShowWindow, visible ? 1 : 0, 0);
  }
  void setBigIcon(platform::WindowHandle) override { iconSet = true; }
  void centre(platform::WindowHandle) override { centred = true; }
  void show(platform::WindowHandle, bool visible) override { shown = visible; }
  int runLoadingDialog(platform::WindowHandle owner, CLoadingDlg& loading) override {
    ++loadingRuns;
    loadingOwner = owner;
    shownDuringLoading = shown;
    loading.window = loadingWindow_;
    loading.HandleMessage(loadingWindow_, dlgmsg::kInitDialog, 0, 0);
    loading.HandleMessage(loadingWindow_, dlgmsg::kShowWindow, 1, 0);
    for (int ticks = 0; !loadingView_.result && ticks < 500; ++ticks) {
      loading.HandleMessage(loadingWindow_, dlgmsg::kTimer, CLoadingDlg::kTimerId, 0);
    }
    if (afterLoading) afterLoading();
    return loadingView_.result.value_or(-1);
  }
  int runAboutBox(platform::WindowHandle owner, CAboutDlg& about) override {
    ++aboutRuns;
    aboutOwner = owner;
    about.window = platform::WindowHandle{0x30040};
    about.HandleMessage(about.window, dlgmsg::kInitDialog, 0, 0);
    return 1;
  }
  void endDialog(platform::WindowHandle, int value) override {
    if (!result) result = value;
  }

  // The template of a page window, and whether it is shown.
  std::string pageTemplate(platform::WindowHandle page) const { return pages_.at(page).name; }
  bool isPageVisible(const std::string& templateName) const {
    for (const auto& [handle, page] : pages_) {
      if (page.name == templateName) return page.visible;
    }
    return false;
  }

  std::map<int, std::string> texts;
  std::map<int, bool> visibleControls, enabledControls;
  bool fixedSize = false, iconSet = false, centred = false;
  std::vector<std::pair<int, std::string>> systemCommands;
  bool closeEnabled = true;
  std::vector<std::string> placed;
  std::optional<bool> shown;
  std::optional<bool> shownDuringLoading;
  int loadingRuns = 0, aboutRuns = 0;
  platform::WindowHandle loadingOwner, aboutOwner;
  std::function<void()> afterLoading;  // e.g. a script's setting the profile takes over
  std::optional<int> result;

 private:
  struct Page {
    std::string name;
    CDialogBase* object = nullptr;
    bool visible = false;
  };
  FakeLoadingView& loadingView_;
  platform::WindowHandle loadingWindow_;
  std::map<platform::WindowHandle, Page> pages_;
};

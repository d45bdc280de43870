// The main dialog's page flow as far as the loading dialog, on simulated machines.
#include "app/main_dlg.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>

#include "fake_loading_view.h"
#include "fake_remove_view.h"
#include "machine.h"
#include "program_strings.h"
#include "shell/dialog_messages.h"
#include "shell/locations.h"

namespace {

// Records what the main dialog does to its window; runs the loading dialog
// as a modal loop would, tick after tick until it ends.
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
    return loadingView_.result.value_or(-1);
  }
  void endDialog(platform::WindowHandle, int value) override {
    if (!result) result = value;
  }

  std::map<int, std::string> texts;
  std::map<int, bool> visibleControls, enabledControls;
  bool fixedSize = false, iconSet = false, centred = false;
  std::optional<bool> shown;
  std::optional<bool> shownDuringLoading;
  int loadingRuns = 0;
  platform::WindowHandle loadingOwner;
  std::optional<int> result;

 private:
  FakeLoadingView& loadingView_;
  platform::WindowHandle loadingWindow_;
};

class MainDialog : public ::testing::Test {
 protected:
  MainDialog() {
    InstallProgramStrings(machine.desktop());
    TheLoadingCounters() = {};
  }

  CMainDlg& open() {
    dialog = std::make_unique<CMainDlg>(system, mainView, loadingView, removeView,
                                        "C:\\Stripwell\\Stripwell.exe");
    dialog->window = mainWindow;
    dialog->HandleMessage(mainWindow, dlgmsg::kInitDialog, 0, 0);
    return *dialog;
  }

  sim::Machine machine{"10"};
  platform::System system = machine.system();
  // Both windows exist before the fake view that runs the loading dialog
  // in the second one is made.
  platform::WindowHandle mainWindow =
      machine.desktop().createWindow("RvtUninstallWindowClass__", "Printer Uninstall");
  platform::WindowHandle loadingWindow = machine.desktop().createWindow("#32770", "Loading");
  FakeLoadingView loadingView;
  FakeRemoveView removeView;
  FakeMainView mainView{loadingView, loadingWindow};
  std::unique_ptr<CMainDlg> dialog;
};

TEST_F(MainDialog, LoadsWhileHiddenThenShowsWithCancelOnly) {
  machine.spooler().addPrinter(sim::PrinterSetup("Office", "Vardel LX-300"));
  machine.spooler().setPrinterDword("Office", "VardelDriver0H", 1);
  open();

  EXPECT_EQ(mainView.texts[0], "Printer Uninstall");
  EXPECT_EQ(mainView.texts[1080], "&Uninstall");
  EXPECT_EQ(mainView.texts[1052], "Cancel");
  EXPECT_FALSE(mainView.visibleControls[1003]) << "the page placeholder is hidden";
  EXPECT_TRUE(mainView.fixedSize && mainView.iconSet && mainView.centred);

  EXPECT_EQ(mainView.loadingRuns, 1);
  EXPECT_EQ(mainView.loadingOwner, mainWindow) << "the loading dialog is owned by the main dialog";
  EXPECT_EQ(mainView.shownDuringLoading, false);
  EXPECT_EQ(loadingView.result, 1);
  EXPECT_EQ(mainView.shown, true);
  EXPECT_FALSE(mainView.result);
  EXPECT_TRUE(mainView.enabledControls[1052]);
  EXPECT_FALSE(mainView.enabledControls[1080]);

  // The loading dialog filled the context's profile.
  ASSERT_EQ(dialog->profile().printers.size(), 1u);
  EXPECT_STREQ(dialog->profile().printers[0].name.c_str(), "Office");
}

TEST_F(MainDialog, EndsWithOneWhenLoadingDoesNotComplete) {
  machine.host().setAdministrators(sim::AdminMembership::kNone);
  open();
  EXPECT_EQ(loadingView.result, 0);
  ASSERT_EQ(machine.desktop().messageBoxes().size(), 1u);
  EXPECT_EQ(machine.desktop().messageBoxes()[0].owner, loadingWindow);
  EXPECT_EQ(mainView.result, 1);
  EXPECT_NE(mainView.shown, true) << "the main dialog never appears";
}

TEST_F(MainDialog, CancelOkAndCloseEndTheDialogWithOne) {
  for (int id : {dlgmsg::kIdOk, dlgmsg::kIdCancel, 1052}) {
    mainView.result.reset();
    open();
    EXPECT_EQ(
        dialog->HandleMessage(mainWindow, dlgmsg::kCommand, static_cast<platform::WParam>(id), 0),
        1);
    EXPECT_EQ(mainView.result, 1) << id;
  }
}

TEST_F(MainDialog, SetsTheMainScriptPathBeforeAnyMessage) {
  machine.setModuleFileName("F:\\Pkg\\Stripwell.exe");
  CMainDlg main(system, mainView, loadingView, removeView, "Stripwell.exe");
  main.HandleMessage(mainWindow, 0x0001 /* WM_CREATE, not handled */, 0, 0);
  EXPECT_STREQ(MainScriptPath(), "F:\\Pkg\\Mainscr0.unm");
}

}  // namespace

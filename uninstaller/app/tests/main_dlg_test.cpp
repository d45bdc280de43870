// The main dialog's page flow, message by message, on simulated machines.
#include "app/main_dlg.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/notify.h"
#include "fake_dialog_views.h"
#include "fake_loading_view.h"
#include "fake_main_view.h"
#include "fake_remove_view.h"
#include "fake_select_view.h"
#include "machine.h"
#include "program_strings.h"
#include "resource_ids.h"
#include "shell/dialog_messages.h"
#include "shell/fill_counter.h"
#include "shell/locations.h"

namespace {

constexpr const char* kUninstall = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

class MainDialog : public ::testing::Test {
 protected:
  MainDialog() {
    InstallProgramStrings(machine.desktop());
    TheLoadingCounters() = {};
    SelectionFillCounter() = 0;
  }

  CMainDlg& open() {
    dialog = std::make_unique<CMainDlg>(system, views, commandLine.c_str());
    selectView.parent = [this](std::uint32_t message, platform::WParam wParam) {
      return dialog->HandleMessage(mainWindow, message, wParam, 0);
    };
    dialog->window = mainWindow;
    initResult = dialog->HandleMessage(mainWindow, dlgmsg::kInitDialog, 0, 0);
    return *dialog;
  }

  void addPrinter(const char* name, std::uint32_t model) {
    machine.spooler().addPrinter(sim::PrinterSetup(name, "Vardel LX-300"));
    machine.spooler().setPrinterDword(name, "VardelDriver0H", 1);
    machine.spooler().setPrinterDword(name, "ModelName", model);
  }
  void writeScript(const std::string& text) {
    CPathParts parts;
    parts.init(system, kLocPrinterDriverDir);
    machine.files().writeFile(std::string(parts.directory()) + "Mainscr0.unm",
                              "[UnPrinterDrivers]\nVardel LX-300,LX300,1\n" + text);
  }
  void requestScanner(const char* guid) {
    afterLoading([this, guid] {
      dialog->profile().uninstallScanner = true;
      dialog->profile().scannerProductGuid.assign(guid);
    });
  }
  void afterLoading(std::function<void()> change) { mainView.afterLoading = std::move(change); }
  void command(int id) {
    dialog->HandleMessage(mainWindow, dlgmsg::kCommand, static_cast<platform::WParam>(id), 0);
  }
  void notifyItemChanged() {
    NotifyHeader header{0, 1020, notify::kItemChanged};
    dialog->selectPage().HandleMessage(dialog->selectPage().window, notify::kNotifyMessage, 0,
                                       reinterpret_cast<platform::LParam>(&header));
  }
  // As the removal page ends: WM_CLOSE, then 1129.
  void finishRemoval() {
    dialog->HandleMessage(mainWindow, platform::wm::kClose, 0, 0);
    dialog->HandleMessage(mainWindow, WM_APP_REMOVAL_FINISHED, 0, 0);
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
  FakeSelectView selectView;
  FakeExtraInfoView extraInfoView;
  FakeAboutView aboutView;
  DialogViews views{mainView, loadingView, selectView, removeView, extraInfoView, aboutView};
  std::string commandLine = "C:\\Stripwell\\Stripwell.exe";
  std::unique_ptr<CMainDlg> dialog;
  platform::LResult initResult = -1;
};

TEST_F(MainDialog, LoadsWhileHiddenThenShowsTheSelectionPage) {
  addPrinter("Office", 8203);
  open();

  EXPECT_EQ(mainView.texts[0], "Printer Uninstall");
  EXPECT_EQ(mainView.texts[1080], "&Uninstall");
  EXPECT_EQ(mainView.texts[1052], "Cancel");
  EXPECT_FALSE(mainView.visibleControls[1003]) << "the page placeholder is hidden";
  EXPECT_TRUE(mainView.fixedSize && mainView.iconSet && mainView.centred);
  ASSERT_EQ(mainView.systemCommands.size(), 1u);
  EXPECT_EQ(mainView.systemCommands[0],
            (std::pair<int, std::string>{156, "&About this application..."}));
  EXPECT_EQ(mainView.placed, (std::vector<std::string>{"IDD_SELECT", "IDD_REMOVE"}));

  EXPECT_EQ(mainView.loadingRuns, 1);
  EXPECT_EQ(mainView.loadingOwner, mainWindow) << "the loading dialog is owned by the main dialog";
  EXPECT_EQ(mainView.shownDuringLoading, false);
  EXPECT_EQ(loadingView.result, 1);
  EXPECT_EQ(mainView.shown, true);
  EXPECT_FALSE(mainView.result);
  EXPECT_TRUE(mainView.enabledControls[1052]);
  EXPECT_FALSE(mainView.enabledControls[1080]) << "Uninstall waits for a selection";
  EXPECT_TRUE(mainView.isPageVisible("IDD_SELECT"));
  EXPECT_FALSE(mainView.isPageVisible("IDD_REMOVE"));
  EXPECT_EQ(initResult, 0) << "the list keeps the focus the fill gave it";
  EXPECT_TRUE(selectView.listFocused);
  // Both fills of the page flow count.
  EXPECT_EQ(SelectionFillCounter(), 2);

  ASSERT_EQ(dialog->profile().printers.size(), 1u);
  EXPECT_STREQ(dialog->profile().printers[0].name.c_str(), "Office");

  // A selection enables Uninstall through message 1127.
  selectView.select({0});
  notifyItemChanged();
  EXPECT_TRUE(mainView.enabledControls[1080]);
}

TEST_F(MainDialog, WithNothingListedUninstallIsEnabledAtOnce) {
  addPrinter("Office", 8204);  // another model: not offered
  open();
  EXPECT_TRUE(selectView.rows.empty());
  EXPECT_TRUE(mainView.enabledControls[1080]);
  EXPECT_EQ(SelectionFillCounter(), 0);
}

TEST_F(MainDialog, ANarrowedRunKeepsEveryPrinterUntilPicked) {
  addPrinter("Office", 8203);
  addPrinter("Lab", 8203);
  commandLine += " /MFG:Vardel";
  afterLoading([this] { dialog->profile().printers[1].keep = 0; });
  open();
  for (const PrinterEntry& printer : dialog->profile().printers) EXPECT_EQ(printer.keep, 1);
  EXPECT_TRUE(mainView.isPageVisible("IDD_SELECT"));
  EXPECT_FALSE(mainView.enabledControls[1080]);
  EXPECT_TRUE(mainView.enabledControls[1052]);
}

TEST_F(MainDialog, NopickOnTheCommandLineLeavesTheChoiceToTheScripts) {
  addPrinter("Office", 8203);
  commandLine += " /MFG:Vardel /NOPICK";
  open();
  // The first set-up showed the removal page; the scripts still allow a
  // choice, so the selection page comes back.
  EXPECT_TRUE(mainView.isPageVisible("IDD_SELECT"));
  EXPECT_TRUE(mainView.enabledControls[1052]);
  EXPECT_EQ(dialog->profile().printers[0].keep, 1);
}

TEST_F(MainDialog, ScriptsThatAllowNoChoiceStartTheRemovalAtOnce) {
  addPrinter("Office", 8203);
  writeScript("[CommandlineParam]\nNOPICK=1\n");
  open();
  EXPECT_FALSE(mainView.isPageVisible("IDD_SELECT"));
  EXPECT_TRUE(mainView.isPageVisible("IDD_REMOVE"));
  EXPECT_FALSE(mainView.closeEnabled);
  EXPECT_FALSE(mainView.enabledControls[1052]);
  EXPECT_EQ(dialog->profile().printers[0].keep, 1) << "every printer of the package stays";
  EXPECT_EQ(initResult, 1);
}

TEST_F(MainDialog, UninstallCommitsTheSelectionAndSwitchesToTheRemovalPage) {
  addPrinter("Office", 8203);
  addPrinter("Lab", 8203);
  open();
  selectView.select({1});
  command(1080);
  EXPECT_EQ(dialog->profile().printers[0].keep, 1);
  EXPECT_EQ(dialog->profile().printers[1].keep, 0);
  EXPECT_FALSE(mainView.isPageVisible("IDD_SELECT"));
  EXPECT_TRUE(mainView.isPageVisible("IDD_REMOVE"));
  EXPECT_FALSE(mainView.closeEnabled);
  EXPECT_FALSE(mainView.enabledControls[1052]);
  EXPECT_EQ(SelectionFillCounter(), 4) << "four listed, one selected";

  // The page's WM_CLOSE does nothing while Close is greyed; Esc still ends.
  EXPECT_EQ(dialog->HandleMessage(mainWindow, platform::wm::kClose, 0, 0), 1);
  EXPECT_FALSE(mainView.result);
  command(dlgmsg::kIdCancel);
  EXPECT_EQ(mainView.result, 1);
}

TEST_F(MainDialog, WmCloseEndsTheDialogWhileCloseIsOffered) {
  addPrinter("Office", 8203);
  open();
  EXPECT_EQ(dialog->HandleMessage(mainWindow, platform::wm::kClose, 0, 0), 1);
  EXPECT_EQ(mainView.result, 1);
}

TEST_F(MainDialog, RemovePrintersFromTheMenuStartsWithoutAnotherCommit) {
  addPrinter("Office", 8203);
  open();
  selectView.select({0});
  dialog->HandleMessage(mainWindow, WM_APP_START_REMOVAL, 0, 0);
  EXPECT_EQ(dialog->profile().printers[0].keep, 1) << "1128 takes the selection already committed";
  EXPECT_TRUE(mainView.isPageVisible("IDD_REMOVE"));
  EXPECT_FALSE(mainView.closeEnabled);
}

TEST_F(MainDialog, AfterTheRemovalTheRemainingPrintersAreOfferedAgain) {
  addPrinter("Office", 8203);
  addPrinter("Lab", 8203);
  open();
  selectView.select({0});
  command(1080);
  dialog->profile().printers[0].removed = 1;  // as the removal does
  const std::string remaining = dialog->profile().printers[1].name.c_str();
  const std::size_t boxes = machine.desktop().messageBoxes().size();
  finishRemoval();
  EXPECT_EQ(mainView.texts[1052], "&Close");
  EXPECT_TRUE(mainView.enabledControls[1052]);
  EXPECT_TRUE(mainView.isPageVisible("IDD_SELECT"));
  EXPECT_FALSE(mainView.isPageVisible("IDD_REMOVE"));
  ASSERT_EQ(selectView.rows.size(), 1u);
  EXPECT_EQ(selectView.cell(0, 0), remaining);
  EXPECT_FALSE(mainView.result);
  EXPECT_EQ(machine.desktop().messageBoxes().size(), boxes);
}

TEST_F(MainDialog, APendingRestartKeepsTheRemovalPage) {
  addPrinter("Office", 8203);
  addPrinter("Lab", 8203);
  open();
  selectView.select({0});
  command(1080);
  dialog->profile().rebootNeeded = true;
  const std::size_t boxes = machine.desktop().messageBoxes().size();
  finishRemoval();
  EXPECT_FALSE(mainView.isPageVisible("IDD_SELECT"));
  EXPECT_TRUE(mainView.isPageVisible("IDD_REMOVE"));
  EXPECT_EQ(machine.desktop().messageBoxes().size(), boxes) << "the removal page asked already";
}

TEST_F(MainDialog, AfterTheRemovalTheScannerUninstallerTakesOver) {
  addPrinter("Office", 8203);
  machine.files().writeFile("C:\\Scan\\unscan.exe", "MZ");
  machine.registry().setString(std::string(kUninstall) + "\\{SCAN-1}", "UninstallString",
                               "C:\\Scan\\unscan.exe");
  requestScanner("{SCAN-1}");
  open();
  EXPECT_TRUE(dialog->profile().uninstallScanner) << "registered: the request stands";
  EXPECT_EQ(dialog->components().choice(), CComponentDlg::kPrinterAndCompanions);
  command(1080);
  dialog->profile().rebootNeeded = true;
  const std::size_t boxes = machine.desktop().messageBoxes().size();
  finishRemoval();
  ASSERT_EQ(machine.processes().starts().size(), 1u);
  EXPECT_EQ(machine.processes().starts()[0].commandLine, "C:\\Scan\\unscan.exe");
  EXPECT_EQ(machine.desktop().messageBoxes().size(), boxes) << "the scanner's uninstaller asks";
  EXPECT_FALSE(mainView.result);
}

TEST_F(MainDialog, AFailedScannerHandOverAsksForThePendingRestart) {
  addPrinter("Office", 8203);
  machine.registry().setString(std::string(kUninstall) + "\\{SCAN-1}", "UninstallString",
                               "C:\\Gone\\unscan.exe");
  requestScanner("{SCAN-1}");
  open();
  command(1080);
  dialog->profile().rebootNeeded = true;
  const std::size_t boxes = machine.desktop().messageBoxes().size();
  machine.desktop().queueAnswer(platform::mb::kIdOk);
  machine.desktop().queueAnswer(platform::mb::kIdYes);
  finishRemoval();
  const auto& shown = machine.desktop().messageBoxes();
  ASSERT_EQ(shown.size(), boxes + 2);
  EXPECT_EQ(shown[boxes].caption, "Error!");
  EXPECT_EQ(shown[boxes + 1].text.substr(0, 36), "Printer Uninstall is almost complete");
  EXPECT_EQ(shown[boxes + 1].flags,
            platform::mb::kYesNo | platform::mb::kIconQuestion | platform::mb::kSetForeground);
  EXPECT_EQ(machine.host().exitRequests(),
            std::vector<std::uint32_t>{platform::exit_windows::kReboot})
      << "Windows 10 restarts with the shutdown privilege";
}

TEST_F(MainDialog, UnregisteredCompanionsAreDroppedAndBothRequestsEndTheDialog) {
  addPrinter("Office", 8203);
  requestScanner("{SCAN-1}");
  open();
  EXPECT_FALSE(dialog->profile().uninstallScanner) << "not registered in either view";

  // Both registered: the fax request ends the dialog after the removal and
  // no uninstaller starts.
  machine.registry().createKeyPath(std::string(kUninstall) + "\\{SCAN-1}");
  machine.registry().createKeyPath(std::string(kUninstall) + "\\{FAX-1}");
  machine.registry().setString(std::string(kUninstall) + "\\{SCAN-1}", "UninstallString",
                               "C:\\Windows\\notepad.exe");
  mainView.result.reset();
  afterLoading([this] {
    UninstallProfile& profile = dialog->profile();
    profile.uninstallScanner = profile.uninstallFax = true;
    profile.scannerProductGuid.assign("{SCAN-1}");
    profile.faxProductGuid.assign("{FAX-1}");
  });
  open();
  command(1080);
  finishRemoval();
  EXPECT_EQ(mainView.result, 1);
  EXPECT_FALSE(dialog->profile().uninstallScanner);
  EXPECT_TRUE(machine.processes().starts().empty());
}

TEST_F(MainDialog, TheScannerQueriesAnswerFromTheProfile) {
  open();
  dialog->profile().uninstallScanner = true;
  EXPECT_EQ(dialog->HandleMessage(mainWindow, WM_APP_QUERY_NO_SCANNER, 0, 0), 0);
  EXPECT_EQ(dialog->HandleMessage(mainWindow, WM_APP_QUERY_NO_FAX, 0, 0), 1);
  dialog->profile().uninstallScanner = false;
  dialog->profile().uninstallFax = true;
  EXPECT_EQ(dialog->HandleMessage(mainWindow, WM_APP_QUERY_NO_SCANNER, 0, 0), 1);
  EXPECT_EQ(dialog->HandleMessage(mainWindow, WM_APP_QUERY_NO_FAX, 0, 0), 0);
}

TEST_F(MainDialog, TheAboutCommandOpensTheAboutBoxOverTheDialog) {
  open();
  EXPECT_EQ(dialog->HandleMessage(mainWindow, dlgmsg::kSysCommand, 156, 0), 1);
  EXPECT_EQ(mainView.aboutRuns, 1);
  EXPECT_EQ(mainView.aboutOwner, mainWindow);
  EXPECT_EQ(dialog->HandleMessage(mainWindow, dlgmsg::kSysCommand, 0xF060 /* SC_CLOSE */, 0), 0)
      << "other system commands go to the default processing";
  EXPECT_EQ(mainView.aboutRuns, 1);
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
  CMainDlg main(system, views, "Stripwell.exe");
  main.HandleMessage(mainWindow, 0x0001 /* WM_CREATE, not handled */, 0, 0);
  EXPECT_STREQ(MainScriptPath(), "F:\\Pkg\\Mainscr0.unm");
}

}  // namespace

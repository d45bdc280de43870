// The Extra Info dialog over a profile read from a script.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/extra_info_dlg.h"
#include "fake_dialog_views.h"
#include "machine.h"
#include "profile/uninstall_profile.h"
#include "shell/dialog_messages.h"
#include "shell/locations.h"

namespace {

constexpr const char* kScript =
    "[UnPrinterMfgs]\n"
    "Vardel,VARDEL,1\n"
    "[UnPrinterDrivers]\n"
    "Vardel LX-300,LX300,1\n"
    "Vardel Photo,PHOTO,1\n"
    "[VARDEL.Files]\n"
    "VDCOMMON.DLL\n"
    "[LX300.Files]\n"
    "VDLX300.DLL\n"
    "[LX300.RegistryKeys]\n"
    "HKLM,\"SOFTWARE\\VARDEL\\LX300\",\"\",1\n"
    "HKLM,\"SOFTWARE\\VARDEL\\LX,300\",\"\",0\n"
    "[LX300.Hooks]\n"
    "a.dll,Init,Extra\n"
    "[LX300.DeleteIni]\n"
    "win.ini,Section,Entry,Fourth\n"
    "[PHOTO.Files]\n"
    "VDPHOTO.DLL\n";

class ExtraInfo : public ::testing::Test {
 protected:
  ExtraInfo() {
    machine.files().writeFile("C:\\Pkg\\Mainscr0.unm", kScript);
    EXPECT_EQ(profile.LoadScript("C:\\Pkg\\Mainscr0.unm"), 1);
    SettleMaskingTool(profile, false);
    add("Office", "Vardel LX-300");
    add("Lab", "Vardel Photo");
    add("Fax", "Vardel FX-9");
    add("Office (Pavane)", "Pavane").pavaneName.assign("Office");
    add("Acme", "Acme Generic").foreign = 1;
    profile.printers.back().keep = 0;  // other makers' printers carry no keep mark
  }

  PrinterEntry& add(const char* name, const char* driver) {
    PrinterEntry printer;
    printer.name.assign(name);
    printer.driver.assign(driver);
    printer.keep = 1;
    printer.listed = 1;
    profile.printers.push_back(printer);
    return profile.printers.back();
  }
  // Opens the dialog with these printers selected.
  void open(std::initializer_list<std::size_t> selected) {
    for (std::size_t i : selected) profile.printers[i].keep = 0;
    dialog.setProfile(&profile, static_cast<std::int32_t>(selected.size()));
    dialog.window = platform::WindowHandle{0x30030};
    dialog.HandleMessage(dialog.window, dlgmsg::kInitDialog, 0, 0);
  }
  void click(int button, int notification = 0) {
    dialog.HandleMessage(dialog.window, dlgmsg::kCommand,
                         static_cast<platform::WParam>(button | (notification << 16)), 0);
  }
  void tickOwnSettings() {
    view.boxes[1017] = true;
    click(1017);
  }
  std::string title() { return view.texts[0]; }

  sim::Machine machine{"10"};
  platform::System system = machine.system();
  UninstallProfile profile{system};
  FakeExtraInfoView view;
  CExtraInfoDlg dialog{system, view};
};

TEST_F(ExtraInfo, ShowsTheRemoveSetCategoryByCategory) {
  open({0, 1});
  EXPECT_EQ(view.checkedRadio, 1097);
  EXPECT_FALSE(view.enabledControls[1017]) << "two printers selected";
  EXPECT_TRUE(view.centred);
  EXPECT_EQ(title(), "Extra Info - Multiple Printers");
  EXPECT_EQ(view.columns, (std::vector<std::string>{"file", "section", "entry"}));
  EXPECT_EQ(view.widths, std::vector<int>(3, 200));
  ASSERT_EQ(view.rows.size(), 1u);
  EXPECT_EQ(view.rows[0].cells, (std::vector<std::string>{"win.ini", "Section", "Entry"}))
      << "a fourth field is dropped";
  EXPECT_EQ(view.autosized, 3);
  EXPECT_EQ(view.waitDepth, 0);

  click(1103);
  EXPECT_EQ(view.columns,
            (std::vector<std::string>{"Base Key", "Sub Key", "Value Name", "Deltree"}))
      << "the previous category's columns are gone";
  std::vector<std::vector<std::string>> rows;
  for (const FakeRow& row : view.rows) rows.push_back(row.cells);
  const std::vector<std::string> plain{"HKLM", "\"SOFTWARE\\VARDEL\\LX300\"", "\"\"", "1"};
  const std::vector<std::string> cut{"HKLM", "\"SOFTWARE\\VARDEL\\LX", "300\"", "\"\",0"};
  EXPECT_NE(std::find(rows.begin(), rows.end(), plain), rows.end());
  EXPECT_NE(std::find(rows.begin(), rows.end(), cut), rows.end()) << "quotes do not protect";

  click(1099);
  EXPECT_EQ(view.columns, std::vector<std::string>{"driver"});
  click(1101);
  EXPECT_EQ(view.columns, (std::vector<std::string>{"file", "export"}));
  ASSERT_EQ(view.rows.size(), 1u);
  EXPECT_EQ(view.rows[0].cells, (std::vector<std::string>{"a.dll", "Init,Extra"}));
  click(1102);
  EXPECT_EQ(view.column(0), std::vector<std::string>{"(empty)"});
  click(1100, 5 /* BN_DOUBLECLICKED */);
  EXPECT_EQ(dialog.category(), 6) << "only clicks choose a category";

  click(1109);
  EXPECT_EQ(view.column(0),
            (std::vector<std::string>{"WINDIR", "SYSDIR", "COLORDIR", "PRINTPROCDIR",
                                      "PRINTPROCDIR_W40", "PRINTDRIVERDIR", "PRINTDRIVERDIR_W40"}));
  CPathParts windows;
  windows.init(system, kLocWindowsDir);
  EXPECT_EQ(view.cell(0, 1), windows.directory());
}

TEST_F(ExtraInfo, OneSelectedPrinterCanShowItsOwnEntry) {
  open({0});
  EXPECT_TRUE(view.enabledControls[1017]);
  EXPECT_EQ(title(), "Extra Info - Multiple Printers") << "until the box is ticked";
  tickOwnSettings();
  // The other maker's printer after it has no keep mark either; it is not
  // the selected one.
  EXPECT_EQ(title(), "Extra Info - Printer: Vardel LX-300");
  click(1100);
  EXPECT_EQ(view.column(0), std::vector<std::string>{"VDLX300.DLL"});
}

TEST_F(ExtraInfo, ADriverWithoutAnEntryShowsItsMakersOrNothingKnown) {
  open({2});
  tickOwnSettings();
  EXPECT_EQ(title(), "Extra Info - Mfg: Vardel");

  CExtraInfoDlg other(system, view);
  profile.printers[2].keep = 1;
  profile.printers[2].driver.assign("Unknown Maker 1");
  profile.printers[2].keep = 0;
  other.setProfile(&profile, 1);
  other.window = dialog.window;
  other.HandleMessage(other.window, dlgmsg::kInitDialog, 0, 0);
  other.HandleMessage(other.window, dlgmsg::kCommand, 1017, 0);
  EXPECT_EQ(title(), "Extra Info - EMPTY AND UNKNOWN SETTINGS!!!");
}

TEST_F(ExtraInfo, APreviewOfEveryPrinterLeavesTheNextPlanItsOwn) {
  open({0, 1, 2, 3});
  click(1100);
  const std::vector<std::string> files = view.column(0);
  EXPECT_NE(std::find(files.begin(), files.end(), "Mainscr0.unm"), files.end())
      << "with no printer kept the package's own files go";

  // Uninstall with one printer kept: the removal's plan takes none of the
  // package-wide items.
  profile.printers[0].keep = 1;
  profile.BuildRemovalPlan();
  EXPECT_FALSE(profile.removeSet.slot(ItemCategory::Files).contains("Mainscr0.unm"));
  for (const PathString& key : profile.removeSet.slot(ItemCategory::RegistryKeys)) {
    EXPECT_EQ(std::string(key.c_str()).find("OEM0H"), std::string::npos) << key.c_str();
  }
}

TEST_F(ExtraInfo, APreviewLeavesTheKeepMarksAsTheUserSetThem) {
  profile.printers[3].listed = 0;  // the masking printer is not offered
  open({0});
  EXPECT_EQ(profile.printers[3].keep, 1)
      << "the plan's mark on the masking printer does not outlive the preview";
  EXPECT_EQ(profile.printers[0].keep, 0);
}

TEST_F(ExtraInfo, CloseEndsTheDialog) {
  open({0});
  click(1);
  EXPECT_EQ(view.result, 1);
}

}  // namespace

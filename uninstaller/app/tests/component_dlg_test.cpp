// The companion products: whether the scripts' requests stand, and the
// hand-over to the scanner's own uninstaller.
#include "app/component_dlg.h"

#include <gtest/gtest.h>

#include "machine.h"
#include "profile/uninstall_profile.h"
#include "program_strings.h"

namespace {

constexpr const char* kNative =
    "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{SCAN-1}";
constexpr const char* kWow64 =
    "HKLM\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{SCAN-1}";

class Companions : public ::testing::Test {
 protected:
  Companions() {
    InstallProgramStrings(machine.desktop());
    strings.setModule(platform::ModuleHandle{0x400000});
    profile.uninstallScanner = true;
    profile.scannerProductGuid.assign("{SCAN-1}");
  }

  sim::Machine machine{"10"};
  platform::System system = machine.system();
  UninstallProfile profile{system};
  CComponentDlg components{system};
  CStringRes strings{system};
  platform::WindowHandle owner = machine.desktop().createWindow("RvtUninstallWindowClass__");
};

TEST_F(Companions, ARequestStandsWhenTheProductIsRegisteredInEitherView) {
  for (const char* key : {kNative, kWow64}) {
    sim::Machine registered("10");
    registered.registry().createKeyPath(key);
    platform::System on = registered.system();
    UninstallProfile request(on);
    request.uninstallScanner = true;
    request.scannerProductGuid.assign("{SCAN-1}");
    CComponentDlg choice(on);
    EXPECT_EQ(choice.choice(), CComponentDlg::kPrinterOnly);
    choice.decideCompanions(request);
    EXPECT_EQ(choice.choice(), CComponentDlg::kPrinterAndCompanions) << key;
    EXPECT_TRUE(request.uninstallScanner) << key;
    EXPECT_EQ(registered.openHandleCount(), 0u);
  }
}

TEST_F(Companions, UnregisteredProductsDropBothRequests) {
  profile.uninstallFax = true;
  profile.faxProductGuid.assign("{FAX-1}");
  components.decideCompanions(profile);
  EXPECT_EQ(components.choice(), CComponentDlg::kPrinterOnly);
  EXPECT_FALSE(profile.uninstallScanner);
  EXPECT_FALSE(profile.uninstallFax);
}

TEST_F(Companions, TheScannerUninstallerStartsWithoutWaiting) {
  machine.files().writeFile("C:\\Scan\\unscan.exe", "MZ");
  machine.registry().setString(kWow64, "UninstallString", "C:\\Scan\\unscan.exe /remove");
  EXPECT_TRUE(components.runScannerUninstaller(profile, owner, strings));
  ASSERT_EQ(machine.processes().starts().size(), 1u);
  EXPECT_EQ(machine.processes().starts()[0].commandLine, "C:\\Scan\\unscan.exe /remove");
  EXPECT_TRUE(machine.processes().starts()[0].application.empty());
  EXPECT_TRUE(machine.processes().isRunning("C:\\Scan\\unscan.exe"));
  EXPECT_TRUE(machine.desktop().messageBoxes().empty());
  EXPECT_EQ(machine.openHandleCount(), 0u) << "the process handle is let go";
}

TEST_F(Companions, AMissingUninstallerIsReportedWithTheDebuggerLine) {
  machine.registry().setString(kNative, "UninstallString", "C:\\Gone\\unscan.exe");
  EXPECT_FALSE(components.runScannerUninstaller(profile, owner, strings));
  ASSERT_EQ(machine.desktop().messageBoxes().size(), 1u);
  const sim::MessageBoxRecord& box = machine.desktop().messageBoxes()[0];
  EXPECT_EQ(box.text,
            "Failed to uninstall scanner driver! Please use \"Add/Remove Programs\" from control "
            "panel to uninstall the driver.");
  EXPECT_EQ(box.caption, "Error!");
  EXPECT_EQ(box.flags, platform::mb::kIconExclamation | platform::mb::kSetForeground);
  EXPECT_EQ(box.owner, owner);
  ASSERT_EQ(machine.desktop().debugOutput().size(), 1u);
  EXPECT_EQ(machine.desktop().debugOutput()[0],
            "Failed to call the command from the registry uninstall string!");
}

TEST_F(Companions, WithoutAnUninstallStringTheRemovalWasTheWholeOfIt) {
  machine.registry().setString(kNative, "UninstallString", "");
  EXPECT_FALSE(components.runScannerUninstaller(profile, owner, strings));
  ASSERT_EQ(machine.desktop().messageBoxes().size(), 1u);
  EXPECT_EQ(machine.desktop().messageBoxes()[0].text, "Printer Uninstall is complete!");
  EXPECT_EQ(machine.desktop().messageBoxes()[0].caption, "Printer Uninstall");
  EXPECT_EQ(machine.desktop().messageBoxes()[0].flags, platform::mb::kIconInformation);

  // While deletions wait for a restart the removal is not complete: the
  // reboot question that follows says so.
  profile.rebootNeeded = true;
  EXPECT_FALSE(components.runScannerUninstaller(profile, owner, strings));
  EXPECT_EQ(machine.desktop().messageBoxes().size(), 1u);
}

TEST_F(Companions, AKeyPathThatDoesNotFitIsNotOpenedCutShort) {
  const std::string prefix = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
  const std::string guid(240, 'x');
  // What a path cut to MAX_PATH would name.
  machine.registry().createKeyPath("HKLM\\" + (prefix + guid).substr(0, 259));
  profile.scannerProductGuid.assign(guid.c_str());
  ASSERT_STREQ(profile.scannerProductGuid.c_str(), guid.c_str());
  components.decideCompanions(profile);
  EXPECT_FALSE(profile.uninstallScanner);
}

}  // namespace

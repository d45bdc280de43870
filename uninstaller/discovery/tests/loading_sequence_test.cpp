// The loading sequence, tick by tick, on simulated machines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "loading_fixture.h"
#include "system_control/spooler_control.h"

namespace {

constexpr const char* kScript =
    "[UnPrinterDrivers]\n"
    "Vardel LX-300,LX300,1\n"
    "[LX300.Files]\n"
    "lx300.dll\n";

constexpr const char* kPavaneScript =
    "[Unz_CatchAll]\n"
    "Pavane,PAV,1\n"
    "[UnPrinterDrivers]\n"
    "Vardel LX-300,LX300,1\n"
    "[LX300.Files]\n"
    "lx300.dll\n"
    "[PAV.Files]\n"
    "PAVANE32.EXE\n";

// A complete first pass: step 0, 1 and 2, nine ticks of waiting after the
// spooler's stop, step 4, four ticks after its start, steps 6 to 10.
constexpr int kFirstPassTicks = 1 + 1 + 1 + 9 + 1 + 4 + 1 + 1 + 1 + 1 + 1;

std::vector<std::string> SpoolerActions(sim::Machine& machine) {
  std::vector<std::string> actions;
  for (const sim::ServiceEvent& event : machine.services().events()) {
    if (event.service == "Spooler") actions.push_back(event.action);
  }
  return actions;
}

class LoadingSequence : public ::testing::Test {
 protected:
  explicit LoadingSequence(const char* profile = "10") : f(profile) {}

  void addPrinter(const char* name) {
    f.spooler.addPrinter(sim::PrinterSetup(name, "Vardel LX-300"));
    f.spooler.setPrinterDword(name, "VardelDriver0H", 1);
  }

  LoadingFixture f;
};

TEST_F(LoadingSequence, RunsEveryStepAndEndsWithOne) {
  const std::string driverDir = f.directory(kLocPrinterDriverDir);
  f.machine.files().writeFile(driverDir + "Mainscr0.unm", kScript);
  f.machine.files().writeFile(driverDir + "3\\Mainscr0.unm", kScript);
  f.machine.files().writeFile(f.directory(kLocProgramDir) + "Mainscr0.unm", kScript);
  addPrinter("Office");

  f.open();
  EXPECT_EQ(f.view.texts[0], "Loading uninstall...");
  EXPECT_EQ(f.view.texts[1083], "Building uninstall database.\nThis may take a few moments");
  EXPECT_TRUE(f.view.hidden.count(1086));
  EXPECT_EQ(f.view.low, 0);
  EXPECT_EQ(f.view.high, 99);
  EXPECT_TRUE(f.view.centred);
  EXPECT_EQ(f.view.timers[CLoadingDlg::kTimerId], 400u);

  EXPECT_EQ(f.runToEnd(), kFirstPassTicks);
  EXPECT_EQ(f.view.result, 1);
  EXPECT_TRUE(f.machine.desktop().messageBoxes().empty());
  EXPECT_EQ(SpoolerActions(f.machine), (std::vector<std::string>{"stop", "start"}));

  // The same script in the driver directory and its "3" subdirectory counts
  // twice; three scripts make steps of 3.
  EXPECT_EQ(f.dialog->scripts().count(), 3u);
  EXPECT_EQ(f.view.stepsSet, (std::vector<int>{2, 3, 1}));
  EXPECT_EQ(f.view.positionsSet, (std::vector<int>{1, 20, 95}));
  ASSERT_EQ(f.profile.entries.size(), 1u);
  EXPECT_TRUE(f.profile.allSet.items[static_cast<int>(ItemCategory::Files)].contains("lx300.dll"));
  ASSERT_EQ(f.profile.printers.size(), 1u);
  EXPECT_STREQ(f.profile.printers[0].name.c_str(), "Office");

  // The companion programs are asked to close before and after.
  const auto closeAll = f.machine.desktop().registeredMessage("RvUninstClose0H");
  ASSERT_TRUE(closeAll);
  EXPECT_EQ(f.machine.desktop().broadcasts().size(), 2u);
  EXPECT_EQ(f.machine.openHandleCount(), 0u);
}

TEST_F(LoadingSequence, NoAdministratorEndsAtTheFirstTick) {
  f.machine.host().setAdministrators(sim::AdminMembership::kNone);
  f.open();
  EXPECT_EQ(f.runToEnd(), 1);
  EXPECT_EQ(f.view.result, 0);
  ASSERT_EQ(f.boxTexts(), std::vector<std::string>{
                              "You must have Administrator access to uninstall the driver."});
  EXPECT_EQ(f.machine.desktop().messageBoxes()[0].flags, platform::mb::kIconError);
  EXPECT_EQ(f.machine.desktop().messageBoxes()[0].caption, "Printer Uninstall");
  EXPECT_TRUE(SpoolerActions(f.machine).empty());
  EXPECT_EQ(f.dialog->step(), 0);
}

TEST_F(LoadingSequence, ASpoolerThatWillNotStartEndsTheSequence) {
  f.machine.services().setStartError("Spooler", platform::error::kServiceDisabled);
  f.open();
  EXPECT_EQ(f.runToEnd(), 1 + 1 + 1 + 9 + 1);
  EXPECT_EQ(f.view.result, 0);
  ASSERT_EQ(f.boxTexts().size(), 1u);
  EXPECT_EQ(f.boxTexts()[0], "The spooler is unstable!\nPlease reboot and run uninstall again");
}

TEST_F(LoadingSequence, MissingScriptsAreReportedAndLoadingGoesOn) {
  addPrinter("Office");
  f.open();
  f.runToEnd();
  EXPECT_EQ(f.view.result, 1);
  ASSERT_EQ(f.machine.desktop().messageBoxes().size(), 1u);
  const sim::MessageBoxRecord& box = f.machine.desktop().messageBoxes()[0];
  EXPECT_EQ(box.text.rfind("Warning, the uninstall is unable to locate the uninstall scripts", 0),
            0u);
  EXPECT_EQ(box.flags, platform::mb::kIconInformation);
  EXPECT_EQ(f.view.stepsSet[1], 10);
  EXPECT_TRUE(f.profile.entries.empty());
}

TEST_F(LoadingSequence, DecliningToStopSpeedsTheTimerUp) {
  f.open();
  f.tick();
  f.machine.desktop().queueAnswer(platform::mb::kIdNo);
  f.dialog->HandleMessage(f.dialogWindow, dlgmsg::kCommand, dlgmsg::kIdCancel, 0);
  ASSERT_EQ(f.boxTexts(), std::vector<std::string>{"Do you want to stop the uninstall?"});
  EXPECT_EQ(f.machine.desktop().messageBoxes()[0].flags,
            platform::mb::kYesNo | platform::mb::kDefButton2);
  EXPECT_EQ(f.view.timers[CLoadingDlg::kTimerId], 200u);
  EXPECT_FALSE(f.view.result);
  f.runToEnd();
  EXPECT_EQ(f.view.result, 1);
}

TEST_F(LoadingSequence, AcceptingToStopEndsWithZero) {
  f.open();
  f.machine.desktop().queueAnswer(platform::mb::kIdYes);
  f.dialog->HandleMessage(f.dialogWindow, dlgmsg::kCommand, dlgmsg::kIdOk, 0);
  EXPECT_EQ(f.view.result, 0);
  EXPECT_FALSE(f.view.timers.count(CLoadingDlg::kTimerId));
}

TEST_F(LoadingSequence, AFirstDiscoveryThatFindsNothingIsRetriedOnceWithoutWaits) {
  f.open();
  EXPECT_EQ(f.runToEnd(), kFirstPassTicks + 9);
  EXPECT_EQ(f.view.result, 1);
  EXPECT_EQ(SpoolerActions(f.machine),
            (std::vector<std::string>{"stop", "start", "stop", "start"}));
  EXPECT_NE(std::find(f.view.positionsSet.begin(), f.view.positionsSet.end(), 5),
            f.view.positionsSet.end());
  EXPECT_EQ(TheLoadingCounters().discoveryAttempts, 2);
}

TEST_F(LoadingSequence, ARetryDoesNotDoubleThePrintersOfAFailedAttempt) {
  addPrinter("A");
  addPrinter("B");
  f.spooler.failLevel2("B", platform::error::kInvalidHandle);
  f.open();
  f.runToEnd();
  EXPECT_EQ(f.view.result, 1);
  ASSERT_EQ(f.profile.printers.size(), 1u) << "A once, from the second attempt";
  EXPECT_STREQ(f.profile.printers[0].name.c_str(), "A");
}

TEST_F(LoadingSequence, TheCountersAreNeverResetSoALaterRunDoesNotWait) {
  addPrinter("Office");
  f.open();
  EXPECT_EQ(f.runToEnd(), kFirstPassTicks);

  f.view.result.reset();
  f.open();  // counters carry over
  EXPECT_EQ(f.runToEnd(), kFirstPassTicks - 8 - 3);
  EXPECT_EQ(f.view.result, 1);
}

TEST_F(LoadingSequence, ATickWhileAnotherRunsReturnsAtOnce) {
  f.open();
  TheLoadingCounters().busy = 1;
  const int position = f.view.position;
  f.tick();
  EXPECT_EQ(f.dialog->step(), 0);
  EXPECT_EQ(f.view.position, position);
  TheLoadingCounters().busy = 0;
  f.tick();
  EXPECT_EQ(f.dialog->step(), 1);
}

TEST_F(LoadingSequence, TheMaskingToolSurvivesUnlessUnpavaneIsGiven) {
  const std::string driverDir = f.directory(kLocPrinterDriverDir);
  f.machine.files().writeFile(driverDir + "Mainscr0.unm", kPavaneScript);
  addPrinter("Office");
  f.open();
  f.runToEnd();
  const StringList& files = f.profile.allSet.items[static_cast<int>(ItemCategory::Files)];
  EXPECT_TRUE(files.contains("lx300.dll"));
  EXPECT_FALSE(files.contains("PAVANE32.EXE"));
}

TEST_F(LoadingSequence, WithUnpavaneOnlyTheMaskingToolIsRemoved) {
  const std::string driverDir = f.directory(kLocPrinterDriverDir);
  f.machine.files().writeFile(driverDir + "Mainscr0.unm", kPavaneScript);
  addPrinter("Office");
  f.open("Stripwell.exe /UNPAVANE");
  f.runToEnd();
  const StringList& files = f.profile.allSet.items[static_cast<int>(ItemCategory::Files)];
  EXPECT_FALSE(files.contains("lx300.dll"));
  EXPECT_TRUE(files.contains("PAVANE32.EXE"));
}

class LoadingSequenceOn98 : public LoadingSequence {
 protected:
  LoadingSequenceOn98() : LoadingSequence("98") {}
};

TEST_F(LoadingSequenceOn98, LeavesTheSpoolerAloneButStillWaits) {
  addPrinter("Office");
  f.open();
  EXPECT_EQ(f.runToEnd(), kFirstPassTicks);
  EXPECT_EQ(f.view.result, 1);
  EXPECT_TRUE(SpoolerActions(f.machine).empty());
  EXPECT_EQ(f.profile.printers.size(), 1u);
}

}  // namespace

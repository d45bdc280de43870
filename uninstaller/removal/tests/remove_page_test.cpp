// The removal sequence driven tick by tick on the simulated machine.
#include "removal/remove_page.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_remove_view.h"
#include "platform/sim/machine.h"
#include "profile/uninstall_profile.h"
#include "program_strings.h"
#include "resources/resource_ids.h"
#include "shell/dialog_messages.h"
#include "shell/fill_counter.h"

namespace {

constexpr char kUninstall[] = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr char kMonitors[] = "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\";

struct RemovalRun {
  explicit RemovalRun(std::string_view windows = "xp")
      : machine(windows), system(machine.system()), profile(system), page(system, view) {
    InstallProgramStrings(machine.desktop());
    view.parent =
        machine.desktop().createWindow("#32770", "Printer Uninstall", sim::CloseReaction::kIgnore);
    page.window = machine.desktop().createWindow("#32770");
    page.setProfile(&profile);
    page.HandleMessage(page.window, dlgmsg::kInitDialog, 0, 0);
    machine.registry().createKeyPath(std::string(kUninstall) + "Stripwell");
    machine.registry().setString(std::string(kUninstall) + "Stripwell", "UninstallString",
                                 "C:\\VARDEL\\STRIPWELL.EXE /u");
  }

  void addPrinter(const char* name, bool keep) {
    machine.spooler().addPrinter(sim::PrinterSetup(name, "Vardel Laser"));
    PrinterEntry entry;
    entry.name.assign(name);
    entry.driver.assign("Vardel Laser");
    entry.keep = keep ? 1 : 0;
    entry.listed = 1;
    profile.printers.push_back(entry);
  }

  void tick() { page.HandleMessage(page.window, dlgmsg::kTimer, CRemovePage::kStepTimer, 0); }
  void runToEnd() {
    page.StartRemoval();
    for (int i = 0; i < 100 && page.step() <= CRemovePage::kLastStep; ++i) tick();
  }
  std::vector<int> images() {
    page.HandleMessage(page.window, 0x000F, 0, 0);
    std::vector<int> result;
    for (const auto& [control, row] : view.rows) result.push_back(row.image);
    return result;
  }
  std::vector<std::uint32_t> posted() {
    std::vector<std::uint32_t> result;
    for (const sim::MessageRecord& m : machine.desktop().window(view.parent)->messages)
      if (!m.sent) result.push_back(m.message);
    return result;
  }
  bool journalled(ActionKind kind, std::string_view item) const {
    for (const JournalEntry& e : page.journal().entries)
      if (e.kind == kind && e.item == item) return true;
    return false;
  }

  sim::Machine machine;
  platform::System system;
  UninstallProfile profile;
  FakeRemoveView view;
  CRemovePage page;
};

TEST(RemovalSequence, NothingKeptRemovesTheWholePackageAndEndsAllGreen) {
  RemovalRun run;
  run.addPrinter("Office", false);
  run.machine.spooler().addMonitor("Vardel Port");
  run.profile.allSet.slot(ItemCategory::Monitors).append("Vardel Port");

  run.runToEnd();

  EXPECT_FALSE(run.machine.spooler().printerExists("Office"));
  EXPECT_FALSE(run.machine.spooler().monitorExists("Vardel Port"));
  EXPECT_FALSE(run.machine.registry().keyExists(std::string(kUninstall) + "Stripwell"));
  EXPECT_TRUE(run.journalled(ActionKind::kSpooler, "Spooler stop"));
  EXPECT_TRUE(run.journalled(ActionKind::kSpooler, "Spooler start"));
  EXPECT_FALSE(run.view.enabled.at(IDC_MAIN_UNINSTALL));
  EXPECT_TRUE(run.view.timers.empty());
  EXPECT_FALSE(run.view.waitCursor);
  EXPECT_EQ(run.images(), std::vector<int>(9, 1));
  ASSERT_EQ(run.machine.desktop().messageBoxes().size(), 1u);
  EXPECT_EQ(run.machine.desktop().messageBoxes()[0].text, "Printer Uninstall is complete!");
  EXPECT_EQ(run.posted(),
            (std::vector<std::uint32_t>{platform::wm::kClose, WM_APP_REMOVAL_FINISHED}));
  EXPECT_FALSE(run.page.directories().tree.isEmpty());
  EXPECT_TRUE(run.page.directories().flat.isNormalized());
}

// With a printer kept its package stays usable: its monitor, the spooler
// and the uninstaller's own entry (the way to remove it later) remain.
TEST(RemovalSequence, OneKeptLeavesSharedPartsAndTheOwnUninstallEntry) {
  RemovalRun run;
  run.addPrinter("Office", false);
  run.addPrinter("Lab", true);
  run.machine.spooler().addMonitor("Vardel Port");
  run.profile.allSet.slot(ItemCategory::Monitors).append("Vardel Port");

  run.runToEnd();

  EXPECT_FALSE(run.machine.spooler().printerExists("Office"));
  EXPECT_TRUE(run.machine.spooler().printerExists("Lab"));
  EXPECT_TRUE(run.machine.spooler().monitorExists("Vardel Port"));
  EXPECT_TRUE(run.machine.registry().keyExists(std::string(kUninstall) + "Stripwell"));
  EXPECT_FALSE(run.journalled(ActionKind::kSpooler, "Spooler stop"));
  EXPECT_EQ(run.posted().size(), 2u);
}

TEST(RemovalSequence, RowsShowWhichGroupRuns) {
  RemovalRun run;
  run.page.StartRemoval();
  EXPECT_EQ(run.images(), std::vector<int>(9, 0));
  for (int i = 0; i < 4; ++i) run.tick();  // up to the printers: drivers next
  std::vector<int> expected{1, 1, 1, 1, 2, 0, 0, 0, 0};
  EXPECT_EQ(run.images(), expected);
  EXPECT_TRUE(run.view.rows.at(1091).bold);
  EXPECT_FALSE(run.view.rows.at(1090).bold);
  EXPECT_TRUE(run.view.waitCursor);
}

TEST(RemovalSequence, MaskingToolIsAwaitedWhileItRuns) {
  RemovalRun run;
  run.machine.files().writeFile("C:\\VARDEL\\PAVANE32.EXE", "MZ");
  run.machine.registry().setString("HKLM\\SOFTWARE\\VARDEL\\OEM\\OEMPaths", "0", "C:\\VARDEL");
  run.page.StartRemoval();
  run.tick();
  // As the plan leaves it when the remove set names the tool's program.
  run.profile.pavaneToolRetained = false;
  for (int i = 0; i < 5; ++i) run.tick();
  EXPECT_EQ(run.page.step(), 1);
  ASSERT_EQ(run.machine.processes().starts().size(), 1u);
  EXPECT_NE(run.machine.processes().starts()[0].commandLine.find(" /d"), std::string::npos);
  run.machine.processes().finish("C:\\VARDEL\\PAVANE32.EXE");
  run.tick();
  EXPECT_EQ(run.page.step(), 2);
}

TEST(RemovalSequence, TickDuringAStepsMessageBoxStartsNoOtherStep) {
  RemovalRun run;
  run.page.StartRemoval();
  for (int i = 0; i < 17; ++i) run.tick();
  ASSERT_EQ(run.page.step(), 17);
  // The completion box pumps messages: a tick arriving meanwhile is ignored.
  std::size_t postedDuringBox = 99;
  run.machine.desktop().setWhileBoxShown([&] {
    run.tick();
    postedDuringBox = run.posted().size();
  });
  run.tick();
  EXPECT_EQ(postedDuringBox, 0u);
  EXPECT_EQ(run.machine.desktop().messageBoxes().size(), 1u);
  EXPECT_EQ(run.posted().size(), 2u);
}

// Windows 98 restarts with ExitWindowsEx, Windows XP through the shutdown
// privilege first.
class RebootFinish : public ::testing::TestWithParam<const char*> {};

TEST_P(RebootFinish, RestartIsAskedAndDoneTheVersionsWay) {
  RemovalRun run(GetParam());
  run.page.StartRemoval();
  for (int i = 0; i < 17; ++i) run.tick();
  run.profile.rebootNeeded = true;
  run.machine.desktop().queueAnswer(platform::mb::kIdYes);
  run.tick();
  ASSERT_EQ(run.machine.desktop().messageBoxes().size(), 1u);
  EXPECT_EQ(run.machine.desktop().messageBoxes()[0].text.substr(0, 36),
            "Printer Uninstall is almost complete");
  EXPECT_EQ(run.machine.host().exitRequests().size(), 1u);
  EXPECT_TRUE(run.journalled(ActionKind::kRestart, "Windows"));
}

INSTANTIATE_TEST_SUITE_P(Versions, RebootFinish, ::testing::Values("98", "xp"));

TEST(RemovalSequence, Win32sLeavesTheRestartHelperForPendinit) {
  RemovalRun run("win32s");
  run.machine.files().writeFile("C:\\WINDOWS\\RBOOTAID.EXE", "MZ");
  run.page.StartRemoval();
  for (int i = 0; i < 17; ++i) run.tick();
  run.profile.rebootNeeded = true;
  run.machine.desktop().queueAnswer(platform::mb::kIdYes);
  run.tick();
  const auto& starts = run.machine.processes().starts();
  ASSERT_FALSE(starts.empty());
  EXPECT_EQ(starts.back().commandLine, "RBOOTAID.EXE -d");
  EXPECT_TRUE(starts.back().winExec);
}

}  // namespace

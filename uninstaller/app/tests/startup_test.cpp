#include "app/startup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "machine.h"
#include "system_control/spooler_control.h"

namespace {

constexpr const char* kRunOnce = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

std::vector<std::string> SpoolerActions(sim::Machine& machine) {
  std::vector<std::string> actions;
  for (const sim::ServiceEvent& event : machine.services().events()) {
    if (event.service == "Spooler")
      actions.push_back(event.action + ":" + std::to_string(event.result));
  }
  return actions;
}

TEST(RestartMode, IsTheWholeCommandLineInAnyCase) {
  EXPECT_TRUE(IsSpoolerRestartMode("RestartSpooler"));
  EXPECT_TRUE(IsSpoolerRestartMode("restartspooler"));
  EXPECT_TRUE(IsSpoolerRestartMode("RESTARTSPOOLER"));
  EXPECT_FALSE(IsSpoolerRestartMode("RestartSpooler x"));
  EXPECT_FALSE(IsSpoolerRestartMode(" RestartSpooler"));
  EXPECT_FALSE(IsSpoolerRestartMode(""));
  EXPECT_FALSE(IsSpoolerRestartMode(nullptr));
}

TEST(RestartMode, StopsAndStartsTheSpoolerAndDeletesTheRunOnceValue) {
  sim::Machine machine("10");
  machine.registry().setString(kRunOnce, "Corvan TR820", "C:\\x.exe RestartSpooler");
  machine.registry().setString(kRunOnce, "Other", "keep me");
  platform::System system = machine.system();

  EXPECT_EQ(RunSpoolerRestart(system), 0);
  EXPECT_EQ(SpoolerActions(machine), (std::vector<std::string>{"stop:0", "start:0"}));
  EXPECT_EQ(machine.services().state("Spooler"), platform::scm::kRunning);
  EXPECT_FALSE(machine.registry().valueExists(kRunOnce, "Corvan TR820"));
  EXPECT_TRUE(machine.registry().valueExists(kRunOnce, "Other"));
  EXPECT_TRUE(machine.desktop().messageBoxes().empty());
  EXPECT_EQ(machine.openHandleCount(), 0u);
}

TEST(RestartMode, AStartBeforeTheStopHasFinishedFailsAndIsReported) {
  sim::Machine machine("7");
  machine.services().setStopDelay("Spooler", 2000);
  platform::System system = machine.system();

  EXPECT_EQ(RunSpoolerRestart(system), 0);
  ASSERT_EQ(machine.desktop().messageBoxes().size(), 1u);
  const sim::MessageBoxRecord& box = machine.desktop().messageBoxes()[0];
  EXPECT_EQ(box.text, "Error starting Spooler Service.");
  EXPECT_EQ(box.caption, "Fatal Error");
  EXPECT_EQ(box.flags, platform::mb::kIconError);
  EXPECT_FALSE(box.owner);
  EXPECT_EQ(machine.openHandleCount(), 0u);
}

TEST(RestartMode, ARefusedStopMeansNoStartAndNoMessage) {
  sim::Machine machine("10");
  machine.services().setAcceptsStop("Spooler", false);
  platform::System system = machine.system();
  EXPECT_EQ(RunSpoolerRestart(system), 0);
  for (const std::string& action : SpoolerActions(machine))
    EXPECT_EQ(action.rfind("start", 0), std::string::npos);
  EXPECT_TRUE(machine.desktop().messageBoxes().empty());
}

TEST(RestartMode, OldWindowsKeepTheirSpoolerButLoseTheValue) {
  for (const char* profile : {"nt4", "98"}) {
    sim::Machine machine(profile);
    machine.registry().setString(kRunOnce, "Corvan TR820", "x");
    platform::System system = machine.system();
    EXPECT_EQ(RunSpoolerRestart(system), 0);
    EXPECT_TRUE(SpoolerActions(machine).empty()) << profile;
    EXPECT_FALSE(machine.registry().valueExists(kRunOnce, "Corvan TR820")) << profile;
  }
}

TEST(RestartMode, AMissingSpoolerOrRunOnceKeyIsPassedOverSilently) {
  sim::Machine machine("10");
  machine.registry().deleteTree(kRunOnce);
  machine.services().setAvailable(false);
  platform::System system = machine.system();
  EXPECT_EQ(RunSpoolerRestart(system), 0);
  EXPECT_TRUE(machine.desktop().messageBoxes().empty());
}

TEST(SingleInstance, ARunningMainWindowIsBroughtToTheFront) {
  sim::Machine machine("10");
  EXPECT_FALSE(ActivateRunningInstance(machine.desktop()));

  const platform::WindowHandle first =
      machine.desktop().createWindow(kMainWindowClass, "Printer Uninstall");
  const platform::WindowHandle other = machine.desktop().createWindow("Notepad");
  machine.desktop().setForegroundWindow(other);
  EXPECT_TRUE(ActivateRunningInstance(machine.desktop()));
  EXPECT_EQ(machine.desktop().foregroundWindow(), first);
  const sim::SimWindow* window = machine.desktop().window(first);
  EXPECT_EQ(window->showCommands, std::vector<int>{platform::show::kShowDefault});
  EXPECT_EQ(window->bringToTopCount, 1);
}

TEST(SpoolerControl, StartingARunningSpoolerSucceeds) {
  sim::Machine machine("10");
  platform::System system = machine.system();
  EXPECT_TRUE(StartSpooler(system));
  EXPECT_EQ(machine.openHandleCount(), 0u);
}

TEST(SpoolerControl, StopReturnsBeforeTheServiceHasStopped) {
  sim::Machine machine("10");
  machine.services().setStopDelay("Spooler", 1500);
  platform::System system = machine.system();
  EXPECT_TRUE(StopSpooler(system));
  EXPECT_EQ(machine.services().state("Spooler"), platform::scm::kStopPending);
  machine.clock().advance(1500);
  EXPECT_EQ(machine.services().state("Spooler"), platform::scm::kStopped);
  EXPECT_TRUE(StartSpooler(system));
  EXPECT_EQ(machine.services().state("Spooler"), platform::scm::kRunning);
  EXPECT_FALSE(StopSpooler(system) && StopSpooler(system)) << "a stopped service refuses a stop";
  EXPECT_EQ(machine.openHandleCount(), 0u);
}

TEST(SpoolerControl, FailuresToOpenOrStartAreReported) {
  sim::Machine machine("10");
  machine.services().setAvailable(false);
  platform::System system = machine.system();
  EXPECT_FALSE(StopSpooler(system));
  EXPECT_FALSE(StartSpooler(system));

  sim::Machine broken("10");
  platform::System brokenSystem = broken.system();
  ASSERT_TRUE(StopSpooler(brokenSystem));
  broken.services().setStartError("Spooler", platform::error::kServiceDisabled);
  EXPECT_FALSE(StartSpooler(brokenSystem));
}

TEST(SpoolerControl, ClosingTheWindows95SpoolWindowWaitsASecond) {
  sim::Machine machine("95");
  platform::System system = machine.system();
  const std::uint64_t start = machine.clock().now();
  EXPECT_FALSE(CloseSpoolProcessWindow(system));
  EXPECT_EQ(machine.clock().now(), start) << "no window, no wait";

  const platform::WindowHandle spool = machine.desktop().createWindow("SpoolProcessClass");
  EXPECT_TRUE(CloseSpoolProcessWindow(system));
  EXPECT_EQ(machine.clock().now(), start + 1000);
  ASSERT_FALSE(machine.desktop().window(spool)->messages.empty());
  EXPECT_EQ(machine.desktop().window(spool)->messages[0].message, platform::wm::kClose);
  EXPECT_TRUE(machine.desktop().window(spool)->messages[0].sent);
}

TEST(SpoolerControl, RestartNeedsTheShutdownPrivilege) {
  sim::Machine without("10");
  without.host().setShutdownPrivilege(false);
  platform::System system = without.system();
  EXPECT_FALSE(RestartWindows(system));
  EXPECT_TRUE(without.host().exitRequests().empty());

  sim::Machine with("10");
  platform::System withSystem = with.system();
  EXPECT_TRUE(RestartWindows(withSystem));
  EXPECT_EQ(with.host().exitRequests(),
            std::vector<std::uint32_t>{platform::exit_windows::kReboot});
}

}  // namespace

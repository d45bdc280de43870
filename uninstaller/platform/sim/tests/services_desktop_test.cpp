// The service control manager's state machine and the desktop's windows,
// messages, message boxes and strings.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "machine.h"
#include "sim_errors.h"

namespace {

namespace err = platform::error;
namespace scm = platform::scm;

class ServicesTest : public ::testing::Test {
 protected:
  sim::Machine machine{"xp"};
  platform::ServiceControl& sc = machine.services();
};

TEST_F(ServicesTest, StopTakesTheConfiguredTimeAndStartWhileStoppingFails) {
  machine.services().setStopDelay("Spooler", 1500);
  platform::ScHandle manager(sc);
  ASSERT_EQ(sc.openManager(scm::kManagerAllAccess, manager.out()), err::kSuccess);
  platform::ScHandle spooler(sc);
  ASSERT_EQ(sc.openService(manager.get(), "spooler", scm::kServiceAllAccess, spooler.out()),
            err::kSuccess);

  platform::ServiceStatus status;
  ASSERT_EQ(sc.control(spooler.get(), scm::kControlStop, status), err::kSuccess);
  EXPECT_EQ(status.currentState, scm::kStopPending);
  EXPECT_EQ(status.waitHint, 1500u);
  EXPECT_EQ(sc.control(spooler.get(), scm::kControlStop, status), err::kServiceCannotAcceptControl);
  EXPECT_EQ(sc.start(spooler.get()), err::kServiceAlreadyRunning);

  machine.clock().sleep(1499);
  EXPECT_EQ(machine.services().state("Spooler"), scm::kStopPending);
  machine.clock().sleep(1);
  ASSERT_EQ(sc.queryStatus(spooler.get(), status), err::kSuccess);
  EXPECT_EQ(status.currentState, scm::kStopped);
  EXPECT_EQ(sc.control(spooler.get(), scm::kControlStop, status), err::kServiceNotActive);

  EXPECT_EQ(sc.start(spooler.get()), err::kSuccess);
  EXPECT_EQ(machine.services().state("Spooler"), scm::kRunning);
  EXPECT_EQ(sc.start(spooler.get()), err::kServiceAlreadyRunning);
  // stop, stop (1061), start (1056), stop (1062), start, start (1056)
  const auto& events = machine.services().events();
  ASSERT_EQ(events.size(), 6u);
  EXPECT_EQ(events[2].action, "start");
  EXPECT_EQ(events[2].result, err::kServiceAlreadyRunning);
  EXPECT_EQ(events[2].time, events[0].time);
  EXPECT_EQ(events[4].result, err::kSuccess);
  EXPECT_EQ(events[4].time - events[0].time, 1500u);
}

TEST_F(ServicesTest, StopWithoutDelayIsImmediateAndStartErrorsAreScripted) {
  platform::ScHandle manager(sc);
  ASSERT_EQ(sc.openManager(scm::kManagerAllAccess, manager.out()), err::kSuccess);
  platform::ScHandle spooler(sc);
  ASSERT_EQ(sc.openService(manager.get(), "Spooler", scm::kServiceStart | scm::kServiceStop,
                           spooler.out()),
            err::kSuccess);
  platform::ServiceStatus status;
  ASSERT_EQ(sc.control(spooler.get(), scm::kControlStop, status), err::kSuccess);
  EXPECT_EQ(status.currentState, scm::kStopped);

  machine.services().setStartError("Spooler", err::kServiceRequestTimeout);
  EXPECT_EQ(sc.start(spooler.get()), err::kServiceRequestTimeout);
  EXPECT_EQ(machine.services().state("Spooler"), scm::kStopped);
  EXPECT_EQ(sc.queryStatus(spooler.get(), status), err::kAccessDenied);  // not asked for

  machine.services().setStartError("Spooler", 0);
  machine.services().setStartDelay("Spooler", 300);
  ASSERT_EQ(sc.start(spooler.get()), err::kSuccess);
  EXPECT_EQ(machine.services().state("Spooler"), scm::kStartPending);
  machine.clock().sleep(300);
  EXPECT_EQ(machine.services().state("Spooler"), scm::kRunning);
}

TEST_F(ServicesTest, OpeningChecksNamesHandlesAndTheCallersRights) {
  platform::ScHandle manager(sc);
  ASSERT_EQ(sc.openManager(scm::kManagerAllAccess, manager.out()), err::kSuccess);
  platform::ScHandle service(sc);
  EXPECT_EQ(sc.openService(manager.get(), "NoSuchService", scm::kServiceAllAccess, service.out()),
            err::kServiceDoesNotExist);
  platform::ServiceHandle raw;
  EXPECT_EQ(sc.openService(platform::ServiceHandle{0x1234}, "Spooler", scm::kServiceAllAccess, raw),
            err::kInvalidHandle);
  platform::ServiceStatus status;
  EXPECT_EQ(sc.control(manager.get(), scm::kControlStop, status), err::kInvalidHandle);

  machine.host().setAdministrators(sim::AdminMembership::kDenyOnly);
  platform::ScHandle userManager(sc);
  EXPECT_EQ(sc.openManager(scm::kManagerAllAccess, userManager.out()), err::kAccessDenied);
  ASSERT_EQ(sc.openManager(scm::kManagerConnect, userManager.out()), err::kSuccess);
  EXPECT_EQ(sc.openService(userManager.get(), "Spooler", scm::kServiceAllAccess, service.out()),
            err::kAccessDenied);
  EXPECT_EQ(sc.openService(userManager.get(), "Spooler", scm::kServiceQueryStatus, service.out()),
            err::kSuccess);
  service.reset();
  manager.reset();
  userManager.reset();
  EXPECT_EQ(machine.openHandleCount(), 0u);
}

TEST_F(ServicesTest, DeletedServiceGoesWithItsLastHandle) {
  sim::ServiceSetup setup;
  setup.displayName = "Vardel Port Monitor Helper";
  setup.state = scm::kStopped;
  machine.services().addService("VPortSvc", setup);
  EXPECT_TRUE(machine.registry().keyExists("HKLM\\SYSTEM\\CurrentControlSet\\Services\\VPortSvc"));

  platform::ScHandle manager(sc);
  ASSERT_EQ(sc.openManager(scm::kManagerAllAccess, manager.out()), err::kSuccess);
  platform::ScHandle first(sc);
  platform::ScHandle second(sc);
  ASSERT_EQ(sc.openService(manager.get(), "VPortSvc", scm::kServiceAllAccess, first.out()),
            err::kSuccess);
  ASSERT_EQ(sc.openService(manager.get(), "vportsvc", scm::kDelete, second.out()), err::kSuccess);
  EXPECT_EQ(sc.deleteService(first.get()), err::kSuccess);
  EXPECT_EQ(sc.deleteService(second.get()), err::kServiceMarkedForDelete);
  EXPECT_EQ(sc.start(first.get()), err::kServiceMarkedForDelete);
  EXPECT_TRUE(machine.services().isMarkedForDeletion("VPortSvc"));

  first.reset();
  EXPECT_TRUE(machine.services().exists("VPortSvc"));
  second.reset();
  EXPECT_FALSE(machine.services().exists("VPortSvc"));
  EXPECT_FALSE(machine.registry().keyExists("HKLM\\SYSTEM\\CurrentControlSet\\Services\\VPortSvc"));
  platform::ScHandle again(sc);
  EXPECT_EQ(sc.openService(manager.get(), "VPortSvc", scm::kServiceAllAccess, again.out()),
            err::kServiceDoesNotExist);
}

TEST(Services, ExistOnlyOnTheNtFamily) {
  sim::Machine w98("98");
  platform::ServiceHandle manager;
  EXPECT_EQ(w98.services().openManager(scm::kManagerAllAccess, manager),
            sim::error::kCallNotImplemented);
  EXPECT_FALSE(w98.services().exists("Spooler"));
  sim::Machine w11("11");
  EXPECT_EQ(w11.services().state("Spooler"), scm::kRunning);
}

class DesktopTest : public ::testing::Test {
 protected:
  sim::Machine machine;
  sim::SimDesktop& desktop = machine.desktop();
  platform::Desktop& api = machine.desktop();
};

TEST_F(DesktopTest, FindWindowTakesTheTopmostMatchAndCloseFollowsTheScript) {
  const auto stubborn =
      desktop.createWindow("QvStatusWindowClass_", "Status", sim::CloseReaction::kIgnore);
  const auto polite = desktop.createWindow("QVSTATUSWINDOWCLASS_", "Other");
  EXPECT_EQ(api.findWindow("qvstatuswindowclass_", nullptr), polite);
  EXPECT_EQ(api.findWindow("QvStatusWindowClass_", "status"), stubborn);
  EXPECT_FALSE(api.findWindow("NoSuchClass", nullptr));

  api.sendMessage(polite, platform::wm::kClose, 0, 1);
  EXPECT_FALSE(desktop.isWindow(polite));
  EXPECT_EQ(api.findWindow("QvStatusWindowClass_", nullptr), stubborn);
  api.sendMessage(stubborn, platform::wm::kClose, 0, 0);
  EXPECT_TRUE(desktop.isWindow(stubborn));

  const sim::SimWindow* closed = desktop.window(polite);
  ASSERT_NE(closed, nullptr);
  ASSERT_EQ(closed->messages.size(), 1u);
  EXPECT_TRUE(closed->messages[0].sent);
  EXPECT_EQ(closed->messages[0].message, platform::wm::kClose);
  EXPECT_EQ(closed->messages[0].lParam, 1);
  EXPECT_FALSE(api.postMessage(polite, platform::wm::kUser, 0, 0));
}

TEST_F(DesktopTest, ScriptedReactionsAnswerSentMessages) {
  const auto window = desktop.createWindow("RVTPSMCClass0H");
  desktop.setReaction(window,
                      [this](platform::WindowHandle, std::uint32_t message, platform::WParam,
                             platform::LParam) -> platform::LResult {
                        if (message == platform::wm::kClose)
                          machine.clock().advance(5000);  // a slow program
                        return 42;
                      });
  const std::uint64_t before = machine.clock().now();
  EXPECT_EQ(api.sendMessage(window, platform::wm::kClose, 0, 0), 42);
  EXPECT_EQ(machine.clock().now() - before, 5000u);
  EXPECT_TRUE(desktop.isWindow(window));
}

TEST_F(DesktopTest, BroadcastReachesEveryWindowAndIsLoggedWithoutAny) {
  const std::uint32_t id = api.registerWindowMessage("RvUninstClose0H");
  EXPECT_GE(id, 0xC000u);
  EXPECT_EQ(api.registerWindowMessage("rvuninstclose0h"), id);
  EXPECT_NE(api.registerWindowMessage("Other"), id);
  EXPECT_EQ(api.registerWindowMessage(""), 0u);

  EXPECT_TRUE(api.postMessage(platform::kBroadcast, id, 0, 0));
  ASSERT_EQ(desktop.broadcasts().size(), 1u);
  const auto a = desktop.createWindow("A");
  const auto b = desktop.createWindow("B");
  EXPECT_TRUE(api.postMessage(platform::kBroadcast, id, 1, 2));
  for (auto w : {a, b}) {
    ASSERT_EQ(desktop.window(w)->messages.size(), 1u);
    EXPECT_FALSE(desktop.window(w)->messages[0].sent);
    EXPECT_EQ(desktop.window(w)->messages[0].message, id);
    EXPECT_EQ(desktop.window(w)->messages[0].wParam, 1u);
  }
  EXPECT_EQ(desktop.registeredMessage("RVUNINSTCLOSE0H"), id);
}

TEST_F(DesktopTest, ShowAndForegroundAreRecordedAndRaiseTheWindow) {
  const auto older = desktop.createWindow("RvtUninstallWindowClass__", "Printer Uninstall");
  const auto newer = desktop.createWindow("RvtUninstallWindowClass__", "Printer Uninstall");
  EXPECT_TRUE(api.showWindow(older, platform::show::kShowDefault));
  EXPECT_TRUE(api.bringWindowToTop(older));
  EXPECT_TRUE(api.setForegroundWindow(older));
  EXPECT_EQ(desktop.foregroundWindow(), older);
  EXPECT_EQ(api.findWindow("RvtUninstallWindowClass__", nullptr), older);
  EXPECT_EQ(desktop.window(older)->showCommands, std::vector<int>{platform::show::kShowDefault});
  EXPECT_EQ(desktop.window(older)->bringToTopCount, 1);
  EXPECT_TRUE(desktop.window(newer)->showCommands.empty());
  EXPECT_FALSE(api.setForegroundWindow(platform::WindowHandle{0x999}));
}

TEST_F(DesktopTest, MessageBoxesTakeQueuedAnswersThenTheDefaultButton) {
  const auto owner = desktop.createWindow("#32770", "Printer Uninstall");
  desktop.queueAnswer(platform::mb::kIdNo);
  const std::uint32_t yesNo = platform::mb::kYesNo | platform::mb::kIconQuestion;
  EXPECT_EQ(api.messageBox(owner, "Reboot now?", "Printer Uninstall", yesNo), platform::mb::kIdNo);
  EXPECT_EQ(api.messageBox(owner, "Reboot now?", "Printer Uninstall", yesNo), platform::mb::kIdYes);
  EXPECT_EQ(api.messageBox({}, "Second button", nullptr, yesNo | platform::mb::kDefButton2),
            platform::mb::kIdNo);
  EXPECT_EQ(api.messageBox({}, "Done", "Printer Uninstall", platform::mb::kOk),
            platform::mb::kIdOk);
  EXPECT_EQ(api.messageBox(platform::WindowHandle{0x4321}, "Lost owner", "x", platform::mb::kOk),
            0);

  const auto& boxes = desktop.messageBoxes();
  ASSERT_EQ(boxes.size(), 4u);
  EXPECT_EQ(boxes[0].owner, owner);
  EXPECT_EQ(boxes[0].text, "Reboot now?");
  EXPECT_EQ(boxes[0].flags, yesNo);
  EXPECT_EQ(boxes[2].caption, "Error");
  EXPECT_EQ(boxes[3].answer, platform::mb::kIdOk);
}

TEST_F(DesktopTest, LoadStringCopiesAtMostSizeMinusOne) {
  desktop.setString(161, "Printer Uninstall");
  char buffer[8];
  EXPECT_EQ(api.loadString({}, 161, buffer, sizeof buffer), 7);
  EXPECT_STREQ(buffer, "Printer");
  char large[64];
  EXPECT_EQ(api.loadString({}, 161, large, sizeof large), 17);
  EXPECT_EQ(api.loadString({}, 9999, large, sizeof large), 0);
  EXPECT_STREQ(large, "");
  EXPECT_EQ(api.loadString({}, 161, large, 0), 0);

  api.debugOutput("line one");
  EXPECT_EQ(desktop.debugOutput(), std::vector<std::string>{"line one"});
}

}  // namespace

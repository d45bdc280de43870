// The windowless message loop: timers by the clock, posted messages first.
#include "unattended/headless_desk.h"

#include <gtest/gtest.h>

#include <vector>

#include "machine.h"
#include "shell/dialog_messages.h"
#include "sim_clock.h"
#include "unattended/quiet_desktop.h"

namespace {

// Records what reaches it; on its third tick it posts itself a message and
// stops its timer.
class Recorder : public CDialogBase {
 public:
  explicit Recorder(HeadlessDesk& desk, sim::SimClock& clock) : desk_(desk), clock_(clock) {}
  platform::LResult HandleMessage(platform::WindowHandle, std::uint32_t message, platform::WParam,
                                  platform::LParam) override {
    seen.push_back({message, clock_.now()});
    if (message == dlgmsg::kTimer && ++ticks == 3) {
      desk_.killTimer(window, 7);
      desk_.post(window, 0x8001, 0, 0);
    }
    return 0;
  }
  struct Seen {
    std::uint32_t message;
    std::uint64_t at;
  };
  std::vector<Seen> seen;
  int ticks = 0;

 private:
  HeadlessDesk& desk_;
  sim::SimClock& clock_;
};

TEST(HeadlessDesk, TimersFireByTheClockUntilDoneAndTheLoopEndsWhenNothingIsLeft) {
  sim::SimClock clock;
  HeadlessDesk desk(clock);
  Recorder recorder(desk, clock);
  const platform::WindowHandle window = desk.add(recorder);
  EXPECT_EQ(recorder.window, window);
  EXPECT_TRUE(desk.owns(window));
  const std::uint64_t start = clock.now();
  desk.setTimer(window, 7, 400);

  EXPECT_TRUE(desk.runUntil([&] { return desk.wasDelivered(window, 0x8001); }));
  ASSERT_EQ(recorder.seen.size(), 4u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(recorder.seen[i].message, dlgmsg::kTimer);
    EXPECT_EQ(recorder.seen[i].at, start + 400u * (i + 1));
  }
  EXPECT_EQ(recorder.seen[3].message, 0x8001u);
  // No timer and no message: a loop waiting for something else gives up.
  EXPECT_FALSE(desk.runUntil([] { return false; }));

  desk.setTimer(window, 8, 200);
  desk.end(window, 1);
  EXPECT_EQ(desk.result(window), 1);
  EXPECT_FALSE(desk.hasTimer(window, 8)) << "an ended dialog's timers stop";
}

TEST(QuietDesktop, AnswersWithoutABoxNeverRestartsAndKeepsHeadlessMessagesOffTheDesktop) {
  sim::Machine machine("10");
  HeadlessDesk desk(machine.clock());
  QuietDesktop quiet(machine.desktop(), desk);
  namespace mb = platform::mb;
  EXPECT_EQ(quiet.messageBox({}, "reboot now?", "Printer Uninstall",
                             mb::kYesNo | mb::kIconQuestion | mb::kSetForeground),
            mb::kIdNo);
  EXPECT_EQ(quiet.messageBox({}, "stop?", "Printer Uninstall", mb::kYesNo | mb::kDefButton2),
            mb::kIdNo);
  EXPECT_EQ(quiet.messageBox({}, "done", "Printer Uninstall", mb::kIconInformation), mb::kIdOk);
  EXPECT_TRUE(machine.desktop().messageBoxes().empty());
  ASSERT_EQ(quiet.boxes().size(), 3u);
  EXPECT_EQ(quiet.boxes()[0].text, "reboot now?");
  EXPECT_EQ(quiet.boxes()[0].answer, mb::kIdNo);

  Recorder recorder(desk, machine.clock());
  const platform::WindowHandle window = desk.add(recorder);
  EXPECT_TRUE(quiet.postMessage(window, 0x8002, 0, 0));
  quiet.sendMessage(window, 0x8003, 0, 0);
  EXPECT_TRUE(quiet.showWindow(window, platform::show::kShowDefault));
  ASSERT_EQ(recorder.seen.size(), 1u) << "a send arrives at once, a post waits for the loop";
  EXPECT_EQ(recorder.seen[0].message, 0x8003u);
  EXPECT_TRUE(desk.runUntil([&] { return desk.wasDelivered(window, 0x8002); }));
}

}  // namespace

#include "discovery/companions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "machine.h"

namespace {

TEST(Companions, EachClassGetsWmCloseInOrderThenTheBroadcastIsPosted) {
  sim::Machine machine("10");
  auto& desktop = machine.desktop();
  std::vector<std::string> closedInOrder;
  // Windows find the topmost window of a class: the one created last.
  const platform::WindowHandle older = desktop.createWindow("QvPSD0H");
  const char* classes[] = {"RVTPSMCClass0H", "QvPSD0H", "QvStatusWindowClass_", "PAVANEDLGCLASS0H"};
  for (const char* windowClass : classes) {
    const platform::WindowHandle w = desktop.createWindow(windowClass);
    desktop.setReaction(w,
                        [&closedInOrder, windowClass](platform::WindowHandle, std::uint32_t message,
                                                      platform::WParam, platform::LParam) {
                          if (message == platform::wm::kClose) closedInOrder.push_back(windowClass);
                          return platform::LResult{0};
                        });
  }

  EXPECT_TRUE(CloseCompanions(desktop));
  EXPECT_EQ(closedInOrder, (std::vector<std::string>{"QvStatusWindowClass_", "PAVANEDLGCLASS0H",
                                                     "QvPSD0H", "RVTPSMCClass0H"}));
  for (const sim::MessageRecord& record : desktop.window(older)->messages) {
    EXPECT_NE(record.message, platform::wm::kClose) << "only the first window of a class";
  }

  const platform::WindowHandle psd = desktop.findWindow("QvPSD0H", nullptr);
  ASSERT_TRUE(psd);
  ASSERT_FALSE(desktop.window(psd)->messages.empty());
  const sim::MessageRecord& close = desktop.window(psd)->messages.front();
  EXPECT_TRUE(close.sent);
  EXPECT_EQ(close.lParam, 1) << "the print-settings window gets lParam 1";

  const auto closeAll = desktop.registeredMessage("RvUninstClose0H");
  ASSERT_TRUE(closeAll);
  ASSERT_EQ(desktop.broadcasts().size(), 1u);
  EXPECT_EQ(desktop.broadcasts()[0].message, *closeAll);
  EXPECT_FALSE(desktop.broadcasts()[0].sent);
}

TEST(Companions, WithNoneRunningOnlyTheBroadcastGoesOut) {
  sim::Machine machine("10");
  EXPECT_TRUE(CloseCompanions(machine.desktop()));
  EXPECT_EQ(machine.desktop().broadcasts().size(), 1u);
}

TEST(Companions, AWindowThatIgnoresWmCloseDoesNotStopTheOthers) {
  sim::Machine machine("10");
  auto& desktop = machine.desktop();
  const platform::WindowHandle stubborn =
      desktop.createWindow("RVTStatusClass_0H", "", sim::CloseReaction::kIgnore);
  const platform::WindowHandle later = desktop.createWindow("VSpoolAgentClass");
  CloseCompanions(desktop);
  EXPECT_TRUE(desktop.isWindow(stubborn));
  EXPECT_FALSE(desktop.isWindow(later));
}

}  // namespace

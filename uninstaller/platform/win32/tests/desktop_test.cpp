// Windows, messages, message boxes and string resources on the real desktop
// (under Wine: the test prefix's Xvfb display).
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "platform/win32/convert.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/windows_headers.h"
#include "test_strings.h"

namespace {

using namespace platform;

constexpr char kClassName[] = "StripwellDesktopTestClass";
constexpr UINT kEcho = WM_USER + 7;  // answers wParam + lParam

std::atomic<int> g_posted{0};

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kEcho) return static_cast<LRESULT>(wParam) + lParam;
  if (message == WM_USER + 8) {
    g_posted += static_cast<int>(wParam);
    return 0;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

// A top-level window of a class of our own, destroyed with the fixture.
class Win32DesktopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = TestWindowProc;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    ::RegisterClassA(&windowClass);  // fails harmlessly when already registered
    window_ = ::CreateWindowExA(0, kClassName, "Stripwell desktop test", WS_OVERLAPPEDWINDOW, 0, 0,
                                200, 100, nullptr, nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(window_, nullptr) << ::GetLastError();
  }
  void TearDown() override {
    if (window_ != nullptr) ::DestroyWindow(window_);
  }
  WindowHandle handle() const { return win32::FromHwnd(window_); }

  HWND window_ = nullptr;
  win32::Win32Desktop desktop_;
};

TEST_F(Win32DesktopTest, FindWindowByClassAndTitle) {
  EXPECT_EQ(desktop_.findWindow(kClassName, nullptr), handle());
  EXPECT_EQ(desktop_.findWindow(kClassName, "Stripwell desktop test"), handle());
  EXPECT_FALSE(desktop_.findWindow(kClassName, "Another title"));
  EXPECT_FALSE(desktop_.findWindow("StripwellNoSuchClass", nullptr));
  ::DestroyWindow(window_);
  window_ = nullptr;
  EXPECT_FALSE(desktop_.findWindow(kClassName, nullptr));
}

TEST_F(Win32DesktopTest, SendWaitsForTheAnswerPostQueues) {
  EXPECT_EQ(desktop_.sendMessage(handle(), kEcho, 40, 2), 42);
  g_posted = 0;
  ASSERT_TRUE(desktop_.postMessage(handle(), WM_USER + 8, 5, 0));
  EXPECT_EQ(g_posted.load(), 0);  // not before the queue is read
  MSG message;
  while (::PeekMessageA(&message, window_, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
  EXPECT_EQ(g_posted.load(), 5);
  EXPECT_FALSE(desktop_.postMessage(WindowHandle{0x1234560}, WM_USER + 8, 1, 0));
}

TEST_F(Win32DesktopTest, ShowAndBringToFront) {
  EXPECT_FALSE(desktop_.showWindow(handle(), show::kShow));  // was hidden
  EXPECT_TRUE(::IsWindowVisible(window_));
  EXPECT_TRUE(desktop_.bringWindowToTop(handle()));
  EXPECT_TRUE(desktop_.setForegroundWindow(handle()));
  EXPECT_TRUE(desktop_.showWindow(handle(), show::kHide));  // was visible
  EXPECT_FALSE(::IsWindowVisible(window_));
}

TEST(Win32DesktopMessages, RegisteredMessagesAreStableAndIgnoreCase) {
  win32::Win32Desktop desktop;
  const std::uint32_t id = desktop.registerWindowMessage("RvUninstClose0H");
  // Registered messages live in 0xC000..0xFFFF.
  EXPECT_GE(id, 0xC000u);
  EXPECT_LE(id, 0xFFFFu);
  EXPECT_EQ(desktop.registerWindowMessage("RvUninstClose0H"), id);
  EXPECT_EQ(desktop.registerWindowMessage("RVUNINSTCLOSE0H"), id);
  EXPECT_NE(desktop.registerWindowMessage("StripwellOtherMessage"), id);
}

TEST(Win32DesktopMessages, MessageBoxReturnsTheButtonPressed) {
  win32::Win32Desktop desktop;
  // Another thread answers the box as a user would, by its caption.
  std::thread answer([] {
    for (int i = 0; i < 200; ++i) {
      if (HWND box = ::FindWindowA("#32770", "Stripwell box test")) {
        ::PostMessageA(box, WM_COMMAND, IDNO, 0);
        return;
      }
      ::Sleep(50);
    }
  });
  const int result =
      desktop.messageBox({}, "Answer no", "Stripwell box test", mb::kYesNo | mb::kIconQuestion);
  answer.join();
  EXPECT_EQ(result, mb::kIdNo);
}

TEST(Win32DesktopStrings, LoadStringFromThisProgram) {
  win32::Win32Desktop desktop;
  char buffer[64] = {};
  EXPECT_EQ(desktop.loadString({}, IDS_TEST_CAPTION, buffer, sizeof buffer), 17);
  EXPECT_STREQ(buffer, "Printer Uninstall");
  const auto self = win32::FromInstance(::GetModuleHandleA(nullptr));
  EXPECT_EQ(desktop.loadString(self, IDS_TEST_LONG, buffer, sizeof buffer), 36);
  // Cut to the buffer, terminated.
  char small[11];
  EXPECT_EQ(desktop.loadString(self, IDS_TEST_LONG, small, sizeof small), 10);
  EXPECT_STREQ(small, "0123456789");
  buffer[0] = 'x';
  EXPECT_EQ(desktop.loadString(self, IDS_TEST_EMPTY_SLOT, buffer, sizeof buffer), 0);
}

}  // namespace

// The shared dialog procedure and the window helpers on real windows.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

#include "shell/dialog_base.h"
#include "win32_ui/dialog_proc.h"
#include "win32_ui/window_helpers.h"

namespace {

// A minimal dialog template in memory: a captioned pop-up without controls.
struct DialogTemplate {
  DLGTEMPLATE header{};
  WORD menu = 0;
  WORD windowClass = 0;
  WCHAR title[8] = L"Probe";
};

DialogTemplate MakeTemplate() {
  DialogTemplate t;
  t.header.style = WS_POPUP | WS_CAPTION;
  t.header.cx = 100;
  t.header.cy = 50;
  return t;
}

// Presses a button of the dialog titled "Probe" once its modal loop runs.
UINT g_pressButton = 0;
void CALLBACK PressButton(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND probe = FindWindowA(nullptr, "Probe");
  if (probe == nullptr) return;
  KillTimer(nullptr, timer);
  PostMessageA(probe, WM_COMMAND, MAKEWPARAM(g_pressButton, 0), 0);
}

INT_PTR RunModal(LPARAM object, UINT button) {
  g_pressButton = button;
  SetTimer(nullptr, 0, 50, PressButton);
  DialogTemplate t = MakeTemplate();
  return DialogBoxIndirectParamA(GetModuleHandleA(nullptr), &t.header, nullptr, SharedDialogProc,
                                 object);
}

TEST(SharedDialogProc, WithoutAnObjectOkEndsWithOneAndCancelWithZero) {
  EXPECT_EQ(RunModal(0, IDOK), 1);
  EXPECT_EQ(RunModal(0, IDCANCEL), 0);
}

class RecordingDialog : public CDialogBase {
 public:
  platform::LResult HandleMessage(platform::WindowHandle handle, std::uint32_t message,
                                  platform::WParam wParam, platform::LParam lParam) override {
    messages.push_back(message);
    EXPECT_EQ(window, handle) << "the window is set before every message";
    if (message == WM_INITDIALOG) initParam = lParam;
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
      EndDialog(ToHwnd(handle), 7);
      return TRUE;
    }
    return FALSE;
  }
  std::vector<std::uint32_t> messages;
  platform::LParam initParam = 0;
};

TEST(SharedDialogProc, TheObjectReceivesEveryMessageFromInitDialogOn) {
  RecordingDialog dialog;
  const LPARAM object = reinterpret_cast<LPARAM>(&dialog);
  EXPECT_EQ(RunModal(object, IDOK), 7);
  ASSERT_FALSE(dialog.messages.empty());
  EXPECT_EQ(dialog.messages.front(), static_cast<std::uint32_t>(WM_INITDIALOG));
  EXPECT_EQ(dialog.initParam, object);
  EXPECT_TRUE(dialog.window);
}

class WindowHelpers : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    parent = CreateWindowExA(0, "STATIC", "parent", WS_POPUP, 100, 100, 400, 300, nullptr, nullptr,
                             nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
  }
  void TearDown() override { DestroyWindow(parent); }
  HWND parent = nullptr;
};

TEST_F(WindowHelpers, InsertItemAppendsAndSetsOnlyWhatIsGiven) {
  HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | LVS_REPORT, 0, 0, 200, 100, parent,
                              nullptr, nullptr, nullptr);
  LVCOLUMNA column{};
  column.mask = LVCF_WIDTH;
  column.cx = 50;
  SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
  SendMessageA(list, LVM_INSERTCOLUMNA, 1, reinterpret_cast<LPARAM>(&column));

  EXPECT_EQ(InsertItem(list, "first", -1, -1, 11), 0);
  EXPECT_EQ(InsertItem(list, "second", -1, -1, 22), 1);
  EXPECT_EQ(InsertItem(list, "", 0, -1, 33), 0) << "inserted before the others";
  EXPECT_TRUE(SetSubItemText(list, "sub", 1, 1));

  char text[32] = {};
  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = 1;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  ASSERT_TRUE(SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  EXPECT_STREQ(text, "first");
  EXPECT_EQ(item.lParam, 11);
  item.iSubItem = 1;
  item.iItem = 1;
  item.mask = LVIF_TEXT;
  ASSERT_TRUE(SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  EXPECT_STREQ(text, "sub");

  EXPECT_EQ(InsertItem(nullptr, "x", -1, -1, 0), -1);
  EXPECT_FALSE(SetSubItemText(nullptr, "x", 0, 0));
}

TEST_F(WindowHelpers, CentringClampsNegativePositionsToZero) {
  HWND huge = CreateWindowExA(0, "STATIC", "huge", WS_POPUP, 0, 0, 5000, 5000, nullptr, nullptr,
                              nullptr, nullptr);
  Centre(huge, nullptr);
  RECT rect{};
  GetWindowRect(huge, &rect);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.right - rect.left, 5000) << "the size stays";
  DestroyWindow(huge);

  HWND small = CreateWindowExA(0, "STATIC", "small", WS_POPUP, 0, 0, 100, 60, nullptr, nullptr,
                               nullptr, nullptr);
  Centre(small, parent);
  GetWindowRect(small, &rect);
  EXPECT_EQ(rect.left, 100 + (400 - 100) / 2);
  EXPECT_EQ(rect.top, 100 + (300 - 60) / 2);
  DestroyWindow(small);
}

TEST_F(WindowHelpers, PlaceOverMovesAPageOntoThePlaceholder) {
  HWND placeholder = CreateWindowExA(0, "STATIC", "", WS_CHILD, 10, 20, 150, 80, parent, nullptr,
                                     nullptr, nullptr);
  HWND page =
      CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 5, 5, parent, nullptr, nullptr, nullptr);
  PlaceOver(page, placeholder, parent);
  RECT rect{};
  GetWindowRect(page, &rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  EXPECT_EQ(rect.left, 10);
  EXPECT_EQ(rect.top, 20);
  EXPECT_EQ(rect.right - rect.left, 150);
  EXPECT_EQ(rect.bottom - rect.top, 80);
}

TEST_F(WindowHelpers, ShowPageAndInstanceOf) {
  HWND page = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 5, 5, parent, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  ShowPage(page, true);
  EXPECT_TRUE(GetWindowLongA(page, GWL_STYLE) & WS_VISIBLE);
  ShowPage(page, false);
  EXPECT_FALSE(GetWindowLongA(page, GWL_STYLE) & WS_VISIBLE);
  EXPECT_EQ(InstanceOf(page), GetModuleHandleA(nullptr));
}

TEST_F(WindowHelpers, DestroyImageListClearsTheHandle) {
  HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR24, 1, 1);
  ASSERT_NE(images, nullptr);
  DestroyImageList(images);
  EXPECT_EQ(images, nullptr);
  DestroyImageList(images);  // nothing to destroy: stays null
  EXPECT_EQ(images, nullptr);
}

}  // namespace

#include "win32_ui/select_view_win32.h"

#include <cstddef>

#include "app/extra_info_dlg.h"
#include "app/notify.h"
#include "resource_ids.h"

// The page reads WM_NOTIFY's header through its portable mirror.
static_assert(sizeof(NotifyHeader) == sizeof(NMHDR));
static_assert(offsetof(NotifyHeader, id) == offsetof(NMHDR, idFrom));
static_assert(offsetof(NotifyHeader, code) == offsetof(NMHDR, code));
static_assert(notify::kItemChanged == static_cast<std::uint32_t>(LVN_ITEMCHANGED));
static_assert(notify::kRightClick == static_cast<std::uint32_t>(NM_RCLICK));

namespace {

constexpr COLORREF kTransparent = RGB(255, 0, 255);
constexpr int kGrowBy = 10;

constexpr DWORD kModeStyles[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};

HIMAGELIST LoadImages(HINSTANCE instance, int bitmap, int width) {
  return ImageList_LoadImageA(instance, MAKEINTRESOURCEA(bitmap), width, kGrowBy, kTransparent,
                              IMAGE_BITMAP, LR_CREATEDIBSECTION);
}

}  // namespace

Win32SelectView::Win32SelectView() : Win32CursorOf(IDC_SELECT_LIST) {}

Win32SelectView::~Win32SelectView() {
  destroyImageLists();
  destroyContextMenu();
}

platform::ModuleHandle Win32SelectView::moduleOf(platform::WindowHandle page) {
  return FromInstance(InstanceOf(ToHwnd(page)));
}

void Win32SelectView::setText(platform::WindowHandle page, int controlId, const char* text) {
  SetDialogText(ToHwnd(page), controlId, text);
}

// The list is made with LVS_SHAREIMAGELISTS: the lists are ours to destroy.
void Win32SelectView::loadImageLists(platform::WindowHandle page) {
  destroyImageLists();
  HINSTANCE instance = InstanceOf(ToHwnd(page));
  smallImages_ = LoadImages(instance, IDB_PRINTERS_SMALL, IDB_PRINTERS_SMALL_WIDTH);
  largeImages_ = LoadImages(instance, IDB_PRINTERS_LARGE, IDB_PRINTERS_LARGE_WIDTH);
  send(page, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(smallImages_));
  send(page, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(largeImages_));
}

void Win32SelectView::destroyImageLists() {
  DestroyImageList(smallImages_);
  DestroyImageList(largeImages_);
}

void Win32SelectView::showSelectionAlways(platform::WindowHandle page) {
  HWND control = list(page);
  SetWindowLongA(control, GWL_STYLE, GetWindowLongA(control, GWL_STYLE) | LVS_SHOWSELALWAYS);
}

ListMode Win32SelectView::listMode(platform::WindowHandle page) {
  switch (GetWindowLongA(list(page), GWL_STYLE) & LVS_TYPEMASK) {
    case LVS_ICON:
      return ListMode::kIcon;
    case LVS_SMALLICON:
      return ListMode::kSmallIcon;
    case LVS_LIST:
      return ListMode::kList;
    default:
      return ListMode::kDetails;
  }
}

void Win32SelectView::setListMode(platform::WindowHandle page, ListMode mode) {
  HWND control = list(page);
  const LONG style = GetWindowLongA(control, GWL_STYLE) & ~LVS_TYPEMASK;
  SetWindowLongA(control, GWL_STYLE,
                 style | static_cast<LONG>(kModeStyles[static_cast<int>(mode)]));
}

int Win32SelectView::itemCount(platform::WindowHandle page) {
  return static_cast<int>(send(page, LVM_GETITEMCOUNT, 0, 0));
}

void Win32SelectView::itemText(platform::WindowHandle page, int item, char* buffer, int size) {
  LVITEMA lvItem{};
  lvItem.iSubItem = 0;
  lvItem.pszText = buffer;
  lvItem.cchTextMax = size;
  buffer[0] = '\0';
  send(page, LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lvItem));
}

bool Win32SelectView::isItemSelected(platform::WindowHandle page, int item) {
  return (send(page, LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_SELECTED) & LVIS_SELECTED) !=
         0;
}

int Win32SelectView::selectedCount(platform::WindowHandle page) {
  return static_cast<int>(send(page, LVM_GETSELECTEDCOUNT, 0, 0));
}

void Win32SelectView::setItemState(platform::WindowHandle page, int item, UINT state, UINT mask) {
  LVITEMA lvItem{};
  lvItem.state = state;
  lvItem.stateMask = mask;
  send(page, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lvItem));
}

void Win32SelectView::selectAll(platform::WindowHandle page) {
  setItemState(page, -1, LVIS_SELECTED, LVIS_SELECTED);
}

void Win32SelectView::focusItem(platform::WindowHandle page, int item) {
  setItemState(page, item, LVIS_FOCUSED, LVIS_FOCUSED);
}

void Win32SelectView::focusList(platform::WindowHandle page) { SetFocus(list(page)); }

bool Win32SelectView::loadContextMenu(platform::WindowHandle page) {
  destroyContextMenu();
  menu_ = LoadMenuA(InstanceOf(ToHwnd(page)), MAKEINTRESOURCEA(IDR_SELECT_MENU));
  popup_ = menu_ != nullptr ? GetSubMenu(menu_, 0) : nullptr;
  return popup_ != nullptr;
}

void Win32SelectView::destroyContextMenu() {
  if (menu_ != nullptr) DestroyMenu(menu_);
  menu_ = nullptr;
  popup_ = nullptr;
}

int Win32SelectView::menuItemCount() { return GetMenuItemCount(popup_); }

void Win32SelectView::deleteMenuEntry(int position) {
  DeleteMenu(popup_, static_cast<UINT>(position), MF_BYPOSITION);
}

void Win32SelectView::checkMenuCommand(int command, bool checked) {
  CheckMenuItem(popup_, static_cast<UINT>(command),
                MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void Win32SelectView::enableMenuCommand(int command, bool enabled) {
  EnableMenuItem(popup_, static_cast<UINT>(command),
                 MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_DISABLED | MF_GRAYED));
}

void Win32SelectView::setDefaultMenuCommand(int command) {
  SetMenuDefaultItem(popup_, static_cast<UINT>(command), FALSE);
}

void Win32SelectView::trackContextMenu(platform::WindowHandle page) {
  const DWORD position = GetMessagePos();
  TrackPopupMenu(popup_, TPM_RIGHTBUTTON, static_cast<short>(LOWORD(position)),
                 static_cast<short>(HIWORD(position)), 0, ToHwnd(page), nullptr);
}

platform::LResult Win32SelectView::sendToParent(platform::WindowHandle page, std::uint32_t message,
                                                platform::WParam wParam) {
  return SendMessageA(GetParent(ToHwnd(page)), message, wParam, 0);
}

void Win32SelectView::postToParent(platform::WindowHandle page, std::uint32_t message,
                                   platform::WParam wParam) {
  PostMessageA(GetParent(ToHwnd(page)), message, wParam, 0);
}

int Win32SelectView::runExtraInfo(platform::WindowHandle page, CExtraInfoDlg& dialog) {
  return static_cast<int>(DialogBoxParamA(InstanceOf(ToHwnd(page)),
                                          MAKEINTRESOURCEA(IDD_EXTRA_INFO), ToHwnd(page),
                                          SharedDialogProc, reinterpret_cast<LPARAM>(&dialog)));
}

void Win32SelectView::endDialog(platform::WindowHandle page, int result) {
  EndDialog(ToHwnd(page), result);
}

// The selection page's window operations on a real page: list view 1020,
// its image lists and the context menu.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "app/select_view.h"
#include "win32_ui/list_view_win32.h"

class Win32SelectView final : public Win32CursorOf<Win32ListOf<SelectView>> {
 public:
  Win32SelectView();
  ~Win32SelectView() override;
  Win32SelectView(const Win32SelectView&) = delete;
  Win32SelectView& operator=(const Win32SelectView&) = delete;

  platform::ModuleHandle moduleOf(platform::WindowHandle page) override;
  void setText(platform::WindowHandle page, int controlId, const char* text) override;
  void loadImageLists(platform::WindowHandle page) override;
  void destroyImageLists() override;
  void showSelectionAlways(platform::WindowHandle page) override;
  ListMode listMode(platform::WindowHandle page) override;
  void setListMode(platform::WindowHandle page, ListMode mode) override;
  int itemCount(platform::WindowHandle page) override;
  void itemText(platform::WindowHandle page, int item, char* buffer, int size) override;
  bool isItemSelected(platform::WindowHandle page, int item) override;
  int selectedCount(platform::WindowHandle page) override;
  void selectAll(platform::WindowHandle page) override;
  void focusItem(platform::WindowHandle page, int item) override;
  void focusList(platform::WindowHandle page) override;
  bool loadContextMenu(platform::WindowHandle page) override;
  void destroyContextMenu() override;
  int menuItemCount() override;
  void deleteMenuEntry(int position) override;
  void checkMenuCommand(int command, bool checked) override;
  void enableMenuCommand(int command, bool enabled) override;
  void setDefaultMenuCommand(int command) override;
  void trackContextMenu(platform::WindowHandle page) override;
  platform::LResult sendToParent(platform::WindowHandle page, std::uint32_t message,
                                 platform::WParam wParam) override;
  void postToParent(platform::WindowHandle page, std::uint32_t message,
                    platform::WParam wParam) override;
  int runExtraInfo(platform::WindowHandle page, CExtraInfoDlg& dialog) override;
  void endDialog(platform::WindowHandle page, int result) override;

 private:
  void setItemState(platform::WindowHandle page, int item, UINT state, UINT mask);

  HIMAGELIST smallImages_ = nullptr;
  HIMAGELIST largeImages_ = nullptr;
  HMENU menu_ = nullptr;
  HMENU popup_ = nullptr;
};

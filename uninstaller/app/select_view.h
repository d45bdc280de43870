// The window side of the printer selection page: its list of printers
// with their images, its context menu, and the messages it sends to the
// main dialog. The program implements it with USER32 and COMCTL32 calls;
// the tests with a recording fake.
#pragma once

#include <cstdint>

#include "app/list_view.h"
#include "platform/win32_types.h"

class CExtraInfoDlg;

// The list's views (its LVS_TYPEMASK style).
enum class ListMode { kIcon, kSmallIcon, kList, kDetails };

class SelectView : public ListView, public CursorView {
 public:
  virtual platform::ModuleHandle moduleOf(platform::WindowHandle page) = 0;
  virtual void setText(platform::WindowHandle page, int controlId, const char* text) = 0;

  // Loads the small (bitmap 116) and large (bitmap 117) printer images,
  // destroying lists loaded before, and gives them to the list.
  virtual void loadImageLists(platform::WindowHandle page) = 0;
  virtual void destroyImageLists() = 0;
  // Adds LVS_SHOWSELALWAYS to the list's style.
  virtual void showSelectionAlways(platform::WindowHandle page) = 0;
  virtual ListMode listMode(platform::WindowHandle page) = 0;
  virtual void setListMode(platform::WindowHandle page, ListMode mode) = 0;

  virtual int itemCount(platform::WindowHandle page) = 0;
  // The item's text, cut to `size` - 1 characters.
  virtual void itemText(platform::WindowHandle page, int item, char* buffer, int size) = 0;
  virtual bool isItemSelected(platform::WindowHandle page, int item) = 0;
  virtual int selectedCount(platform::WindowHandle page) = 0;
  virtual void selectAll(platform::WindowHandle page) = 0;
  // Gives the item the focused state without selecting it.
  virtual void focusItem(platform::WindowHandle page, int item) = 0;
  // Gives the list the keyboard focus.
  virtual void focusList(platform::WindowHandle page) = 0;

  // The context menu: menu 117's first popup, loaded once and kept.
  virtual bool loadContextMenu(platform::WindowHandle page) = 0;
  virtual void destroyContextMenu() = 0;
  virtual int menuItemCount() = 0;
  // Deletes the popup's entry at `position` (command or separator).
  virtual void deleteMenuEntry(int position) = 0;
  virtual void checkMenuCommand(int command, bool checked) = 0;
  // Enabled, or disabled and greyed.
  virtual void enableMenuCommand(int command, bool enabled) = 0;
  virtual void setDefaultMenuCommand(int command) = 0;
  // Tracks the popup at the position of the message being handled, with
  // the right button, owned by the page: a chosen command comes back to
  // the page as WM_COMMAND.
  virtual void trackContextMenu(platform::WindowHandle page) = 0;

  // SendMessage and PostMessage to the main dialog, the page's parent.
  virtual platform::LResult sendToParent(platform::WindowHandle page, std::uint32_t message,
                                         platform::WParam wParam) = 0;
  virtual void postToParent(platform::WindowHandle page, std::uint32_t message,
                            platform::WParam wParam) = 0;

  // Runs the Extra Info dialog (template 116) modally over the page.
  virtual int runExtraInfo(platform::WindowHandle page, CExtraInfoDlg& dialog) = 0;
  // EndDialog.
  virtual void endDialog(platform::WindowHandle page, int result) = 0;
};

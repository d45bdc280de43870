// The window side of the main dialog: what its page flow asks of the
// dialog window. The program implements it with USER32 calls; the tests
// with a recording fake.
#pragma once

#include "platform/win32_types.h"

class CAboutDlg;
class CDialogBase;
class CLoadingDlg;

class MainView {
 public:
  virtual ~MainView() = default;

  virtual platform::ModuleHandle moduleOf(platform::WindowHandle dialog) = 0;
  // The window's own text (control 0) or a control's text.
  virtual void setText(platform::WindowHandle dialog, int controlId, const char* text) = 0;
  virtual void showControl(platform::WindowHandle dialog, int controlId, bool visible) = 0;
  virtual void enableControl(platform::WindowHandle dialog, int controlId, bool enabled) = 0;
  // Greys the system menu's Maximize and Size commands: the dialog has a fixed size.
  virtual void fixSize(platform::WindowHandle dialog) = 0;
  // Appends a separator and then the command `id` with `text` to the
  // system menu.
  virtual void appendSystemCommand(platform::WindowHandle dialog, int id, const char* text) = 0;
  // Disables and greys the system menu's Close command; whether it is
  // enabled.
  virtual void greyCloseCommand(platform::WindowHandle dialog) = 0;
  virtual bool isCloseCommandEnabled(platform::WindowHandle dialog) = 0;
  // Creates a page as a modeless child dialog from `templateName`, its
  // messages going to `page`; the page's window, 0 on failure.
  virtual platform::WindowHandle createPage(platform::WindowHandle dialog, const char* templateName,
                                            CDialogBase& page) = 0;
  // Moves a page onto the placeholder control 1003, without repainting it.
  virtual void placeOverPlaceholder(platform::WindowHandle dialog, platform::WindowHandle page) = 0;
  // Shows or hides a page (SW_SHOW, SW_HIDE).
  virtual void showPage(platform::WindowHandle page, bool visible) = 0;
  virtual void setBigIcon(platform::WindowHandle dialog) = 0;
  virtual void centre(platform::WindowHandle dialog) = 0;
  virtual void show(platform::WindowHandle dialog, bool visible) = 0;
  // Runs the loading dialog modally over the main dialog; its result.
  virtual int runLoadingDialog(platform::WindowHandle owner, CLoadingDlg& loading) = 0;
  // Runs the About box (template 114) modally over the main dialog.
  virtual int runAboutBox(platform::WindowHandle owner, CAboutDlg& about) = 0;
  virtual void endDialog(platform::WindowHandle dialog, int result) = 0;
};

// The window side of the main dialog: what its page flow asks of the
// dialog window. The program implements it with USER32 calls; the tests
// with a recording fake.
#pragma once

#include "platform/win32_types.h"

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
  virtual void setBigIcon(platform::WindowHandle dialog) = 0;
  virtual void centre(platform::WindowHandle dialog) = 0;
  virtual void show(platform::WindowHandle dialog, bool visible) = 0;
  // Runs the loading dialog modally over the main dialog; its result.
  virtual int runLoadingDialog(platform::WindowHandle owner, CLoadingDlg& loading) = 0;
  virtual void endDialog(platform::WindowHandle dialog, int result) = 0;
};

// The window side of the Extra Info dialog. The program implements it with
// USER32 and COMCTL32 calls; the tests with a recording fake.
#pragma once

#include "app/list_view.h"
#include "platform/win32_types.h"

class ExtraInfoView : public ListView, public CursorView {
 public:
  // The window's own text (control 0) or a control's text.
  virtual void setText(platform::WindowHandle dialog, int controlId, const char* text) = 0;
  // CheckRadioButton.
  virtual void checkRadioButton(platform::WindowHandle dialog, int first, int last,
                                int checked) = 0;
  virtual bool isChecked(platform::WindowHandle dialog, int controlId) = 0;
  virtual void enableControl(platform::WindowHandle dialog, int controlId, bool enabled) = 0;
  // Centres the dialog on the desktop.
  virtual void centre(platform::WindowHandle dialog) = 0;
  virtual void endDialog(platform::WindowHandle dialog, int result) = 0;
};

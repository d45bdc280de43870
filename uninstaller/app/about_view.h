// The window side of the About box. The program implements it with USER32
// and COMCTL32 calls; the tests with a recording fake.
#pragma once

#include "app/list_view.h"
#include "platform/win32_types.h"

class AboutView : public ListView {
 public:
  virtual platform::ModuleHandle moduleOf(platform::WindowHandle dialog) = 0;
  // The window's own text (control 0) or a control's text.
  virtual void setText(platform::WindowHandle dialog, int controlId, const char* text) = 0;
  // Centres the dialog on the desktop; a negative left or top becomes 0.
  virtual void centre(platform::WindowHandle dialog) = 0;
  virtual void endDialog(platform::WindowHandle dialog, int result) = 0;
};

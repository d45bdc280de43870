// The window side of the loading dialog: what the loading sequence asks of
// its dialog window. The program implements it with USER32 calls on the
// real dialog; the tests with a recording fake.
#pragma once

#include <cstdint>

#include "platform/win32_types.h"

class LoadingView {
 public:
  virtual ~LoadingView() = default;

  // The module the dialog was created from (for its string table).
  virtual platform::ModuleHandle moduleOf(platform::WindowHandle dialog) = 0;
  // The window's own text (control 0) or a control's text.
  virtual void setText(platform::WindowHandle dialog, int controlId, const char* text) = 0;
  virtual void hideControl(platform::WindowHandle dialog, int controlId) = 0;
  // The progress bar (control 1023): range, position, step, advance.
  virtual void setProgressRange(platform::WindowHandle dialog, int low, int high) = 0;
  virtual void setProgressPosition(platform::WindowHandle dialog, int position) = 0;
  virtual void setProgressStep(platform::WindowHandle dialog, int step) = 0;
  virtual void stepProgress(platform::WindowHandle dialog) = 0;
  // Centres the dialog on the desktop.
  virtual void centre(platform::WindowHandle dialog) = 0;
  // SetTimer / KillTimer.
  virtual void setTimer(platform::WindowHandle dialog, std::uint32_t id,
                        std::uint32_t periodMs) = 0;
  virtual void killTimer(platform::WindowHandle dialog, std::uint32_t id) = 0;
  // EndDialog.
  virtual void endDialog(platform::WindowHandle dialog, int result) = 0;
};

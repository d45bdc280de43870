// The window side of the removal page: what the removal sequence asks of
// its page window. The program implements it with USER32, COMCTL32 and
// GDI32 calls; the tests with a recording fake.
#pragma once

#include <cstdint>

#include "platform/win32_types.h"

class RemoveView {
 public:
  virtual ~RemoveView() = default;

  // The module the page was created from (for its string table).
  virtual platform::ModuleHandle moduleOf(platform::WindowHandle page) = 0;
  // The main dialog the page sits in.
  virtual platform::WindowHandle parentOf(platform::WindowHandle page) = 0;
  virtual void setText(platform::WindowHandle page, int controlId, const char* text) = 0;
  virtual void enableControl(platform::WindowHandle dialog, int controlId, bool enabled) = 0;
  // SetTimer / KillTimer.
  virtual void setTimer(platform::WindowHandle page, std::uint32_t id, std::uint32_t periodMs) = 0;
  virtual void killTimer(platform::WindowHandle page, std::uint32_t id) = 0;
  // EndDialog.
  virtual void endDialog(platform::WindowHandle page, int result) = 0;

  // (Re)creates the three tick images (pending, done, running) and takes
  // the page's own font as the normal one, with a bold copy of it.
  virtual void prepareRows(platform::WindowHandle page) = 0;
  // Sets the row's font (bold or normal) and draws tick `image` into its
  // icon control.
  virtual void drawRow(platform::WindowHandle page, int textControl, int iconControl, int image,
                       bool bold) = 0;
  // The brush that leaves a static control's background transparent.
  virtual platform::LResult transparentBrush() = 0;
  // Invalidates the page and repaints it at once.
  virtual void redraw(platform::WindowHandle page) = 0;
  // Shows the wait cursor; the first call remembers the cursor it replaces.
  virtual void showWaitCursor() = 0;
  // Puts back the cursor the first showWaitCursor replaced, if any.
  virtual void restoreCursor() = 0;
};

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
};

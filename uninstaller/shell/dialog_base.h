// The base of every dialog and page object.
#pragma once

#include <cstdint>

#include "platform/win32_types.h"

// Each dialog is created with the address of its object as the creation
// parameter; the shared dialog procedure stores it in the window and
// passes every message to the object's handler.
class CDialogBase {
 public:
  // The dialog-procedure result for one message.
  virtual platform::LResult HandleMessage(platform::WindowHandle window, std::uint32_t message,
                                          platform::WParam wParam, platform::LParam lParam) = 0;
  virtual ~CDialogBase() = default;

  // Set by the shared dialog procedure on every message.
  platform::WindowHandle window;
};

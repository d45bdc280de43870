// The one way the program asks the user something.
#pragma once

#include <cstdint>

#include "platform/desktop.h"

// Shows a message box; the result is the button pressed (platform::mb::kId...).
inline int Message(platform::Desktop& desktop, platform::WindowHandle owner, const char* text,
                   const char* caption, std::uint32_t flags) {
  return desktop.messageBox(owner, text, caption, flags);
}

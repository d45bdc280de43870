// The removal page's window operations on a real dialog.
#pragma once

#include "removal/remove_view.h"

class Win32RemoveView : public RemoveView {
 public:
  platform::ModuleHandle moduleOf(platform::WindowHandle page) override;
  platform::WindowHandle parentOf(platform::WindowHandle page) override;
  void setText(platform::WindowHandle page, int controlId, const char* text) override;
  void enableControl(platform::WindowHandle dialog, int controlId, bool enabled) override;
  void setTimer(platform::WindowHandle page, std::uint32_t id, std::uint32_t periodMs) override;
  void killTimer(platform::WindowHandle page, std::uint32_t id) override;
  void endDialog(platform::WindowHandle page, int result) override;
};

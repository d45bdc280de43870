// The loading dialog's window operations on a real dialog.
#pragma once

#include "discovery/loading_view.h"

class Win32LoadingView : public LoadingView {
 public:
  platform::ModuleHandle moduleOf(platform::WindowHandle dialog) override;
  void setText(platform::WindowHandle dialog, int controlId, const char* text) override;
  void hideControl(platform::WindowHandle dialog, int controlId) override;
  void setProgressRange(platform::WindowHandle dialog, int low, int high) override;
  void setProgressPosition(platform::WindowHandle dialog, int position) override;
  void setProgressStep(platform::WindowHandle dialog, int step) override;
  void stepProgress(platform::WindowHandle dialog) override;
  void centre(platform::WindowHandle dialog) override;
  void setTimer(platform::WindowHandle dialog, std::uint32_t id, std::uint32_t periodMs) override;
  void killTimer(platform::WindowHandle dialog, std::uint32_t id) override;
  void endDialog(platform::WindowHandle dialog, int result) override;
};

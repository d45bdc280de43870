// The main dialog's window operations on a real dialog.
#pragma once

#include "app/main_view.h"

class Win32MainView : public MainView {
 public:
  platform::ModuleHandle moduleOf(platform::WindowHandle dialog) override;
  void setText(platform::WindowHandle dialog, int controlId, const char* text) override;
  void showControl(platform::WindowHandle dialog, int controlId, bool visible) override;
  void enableControl(platform::WindowHandle dialog, int controlId, bool enabled) override;
  void fixSize(platform::WindowHandle dialog) override;
  void setBigIcon(platform::WindowHandle dialog) override;
  void centre(platform::WindowHandle dialog) override;
  void show(platform::WindowHandle dialog, bool visible) override;
  int runLoadingDialog(platform::WindowHandle owner, CLoadingDlg& loading) override;
  void endDialog(platform::WindowHandle dialog, int result) override;
};

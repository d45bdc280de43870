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
  void appendSystemCommand(platform::WindowHandle dialog, int id, const char* text) override;
  void greyCloseCommand(platform::WindowHandle dialog) override;
  bool isCloseCommandEnabled(platform::WindowHandle dialog) override;
  platform::WindowHandle createPage(platform::WindowHandle dialog, const char* templateName,
                                    CDialogBase& page) override;
  void placeOverPlaceholder(platform::WindowHandle dialog, platform::WindowHandle page) override;
  void showPage(platform::WindowHandle page, bool visible) override;
  void setBigIcon(platform::WindowHandle dialog) override;
  void centre(platform::WindowHandle dialog) override;
  void show(platform::WindowHandle dialog, bool visible) override;
  int runLoadingDialog(platform::WindowHandle owner, CLoadingDlg& loading) override;
  int runAboutBox(platform::WindowHandle owner, CAboutDlg& about) override;
  void endDialog(platform::WindowHandle dialog, int result) override;
};

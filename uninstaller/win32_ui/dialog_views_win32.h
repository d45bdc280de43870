// The Extra Info dialog's and the About box's window operations on real
// dialogs.
#pragma once

#include "app/about_view.h"
#include "app/extra_info_view.h"
#include "win32_ui/list_view_win32.h"

class Win32ExtraInfoView final : public Win32CursorOf<Win32ListOf<ExtraInfoView>> {
 public:
  Win32ExtraInfoView();

  void setText(platform::WindowHandle dialog, int controlId, const char* text) override;
  void checkRadioButton(platform::WindowHandle dialog, int first, int last, int checked) override;
  bool isChecked(platform::WindowHandle dialog, int controlId) override;
  void enableControl(platform::WindowHandle dialog, int controlId, bool enabled) override;
  void centre(platform::WindowHandle dialog) override;
  void endDialog(platform::WindowHandle dialog, int result) override;
};

class Win32AboutView final : public Win32ListOf<AboutView> {
 public:
  Win32AboutView();

  platform::ModuleHandle moduleOf(platform::WindowHandle dialog) override;
  void setText(platform::WindowHandle dialog, int controlId, const char* text) override;
  void centre(platform::WindowHandle dialog) override;
  void endDialog(platform::WindowHandle dialog, int result) override;
};

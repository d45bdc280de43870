// The removal page's window operations on a real dialog.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "removal/remove_view.h"

class Win32RemoveView : public RemoveView {
 public:
  Win32RemoveView() = default;
  Win32RemoveView(const Win32RemoveView&) = delete;
  Win32RemoveView& operator=(const Win32RemoveView&) = delete;
  ~Win32RemoveView() override;

  platform::ModuleHandle moduleOf(platform::WindowHandle page) override;
  platform::WindowHandle parentOf(platform::WindowHandle page) override;
  void setText(platform::WindowHandle page, int controlId, const char* text) override;
  void enableControl(platform::WindowHandle dialog, int controlId, bool enabled) override;
  void setTimer(platform::WindowHandle page, std::uint32_t id, std::uint32_t periodMs) override;
  void killTimer(platform::WindowHandle page, std::uint32_t id) override;
  void endDialog(platform::WindowHandle page, int result) override;
  void prepareRows(platform::WindowHandle page) override;
  void drawRow(platform::WindowHandle page, int textControl, int iconControl, int image,
               bool bold) override;
  platform::LResult transparentBrush() override;
  void redraw(platform::WindowHandle page) override;
  void showWaitCursor() override;
  void restoreCursor() override;

 private:
  void deleteBoldFont();

  HIMAGELIST ticks_ = nullptr;
  HFONT normalFont_ = nullptr;
  HFONT boldFont_ = nullptr;
  HCURSOR savedCursor_ = nullptr;
  bool cursorSaved_ = false;
};

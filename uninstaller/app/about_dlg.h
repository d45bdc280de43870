// The About box: the program's name, file version, build stamp, platform
// and three memory figures, read afresh at every opening.
#pragma once

#include <cstddef>

#include "app/about_view.h"
#include "platform/system.h"
#include "shell/dialog_base.h"
#include "shell/os_info.h"
#include "shell/string_res.h"

// Writes the file version of `path` as "%u.%02u.%02u.%02u" (2.01.00.00 for
// 2.1.0.0); false, with nothing written, when the file has no version
// information.
bool GetFileVersionText(platform::System& system, const char* path, char* text, std::size_t size);

class CAboutDlg : public CDialogBase {
 public:
  explicit CAboutDlg(platform::System& system, AboutView& view);

  platform::LResult HandleMessage(platform::WindowHandle window, std::uint32_t message,
                                  platform::WParam wParam, platform::LParam lParam) override;

 private:
  void onInitDialog();
  void addRow(const char* label, const char* value);
  const char* platformName() const;

  platform::System& system_;
  AboutView& view_;
  int columnCount_ = 0;
  CStringRes strings_;
  COSInfo osInfo_;
};

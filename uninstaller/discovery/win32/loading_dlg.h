// The loading dialog, shown before the main dialog becomes visible.
#pragma once

#include "app/dialog_base.h"

// Prepares a run: rights check, companions, spooler, scripts, printers.
// Empty until the loading sequence is built: it handles no message yet.
class CLoadingDlg : public CDialogBase {
 public:
  platform::LResult HandleMessage(platform::WindowHandle, std::uint32_t, platform::WParam,
                                  platform::LParam) override {
    return 0;
  }
};

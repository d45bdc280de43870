// The printer selection page, a child of the main dialog.
#pragma once

#include "shell/dialog_base.h"

// Lists the package's printers and takes the user's choice. Empty until the
// page is built: it handles no message yet.
class CSelectPage : public CDialogBase {
 public:
  platform::LResult HandleMessage(platform::WindowHandle, std::uint32_t, platform::WParam,
                                  platform::LParam) override {
    return 0;
  }
};

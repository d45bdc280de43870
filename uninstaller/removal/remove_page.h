// The removal page, a child of the main dialog.
#pragma once

#include "shell/dialog_base.h"

// Runs and shows the removal sequence. Empty until the removal engine is
// built: it handles no message yet.
class CRemovePage : public CDialogBase {
 public:
  platform::LResult HandleMessage(platform::WindowHandle, std::uint32_t, platform::WParam,
                                  platform::LParam) override {
    return 0;
  }
};

// The companion products: the package may also have installed a scanner
// and a fax driver, each with an uninstaller of its own registered with
// Windows. The component choice decides after loading whether the scripts'
// requests to remove them stand; at the end of a removal the scanner's
// uninstaller takes over.
#pragma once

#include <cstdint>

#include "platform/system.h"
#include "shell/dialog_base.h"
#include "shell/string_res.h"

class UninstallProfile;

// Holds the component choice (template "IDD_COMPONENT", never shown).
class CComponentDlg : public CDialogBase {
 public:
  static constexpr std::int32_t kPrinterAndCompanions = 0;
  static constexpr std::int32_t kPrinterOnly = 1;

  explicit CComponentDlg(platform::System& system) : system_(system) {}

  // The dialog is never displayed: it handles no message.
  platform::LResult HandleMessage(platform::WindowHandle, std::uint32_t, platform::WParam,
                                  platform::LParam) override {
    return 0;
  }

  std::int32_t choice() const { return choice_; }

  // A request stands when its product is registered for uninstalling
  // (natively or in the 32-bit view); when neither is, both are dropped.
  void decideCompanions(UninstallProfile& profile);

  // Starts the command line the scanner product registered as
  // "UninstallString" without waiting for it: true when it started.
  // Otherwise tells the user (owner `owner`) and returns false.
  bool runScannerUninstaller(UninstallProfile& profile, platform::WindowHandle owner,
                             CStringRes& strings);

 private:
  bool isRegistered(const char* productGuid);

  platform::System& system_;
  std::int32_t choice_ = kPrinterOnly;
};

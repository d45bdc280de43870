// The main dialog, which is also the application context: it owns
// everything a run needs, from start-up to the end of the dialog.
#pragma once

#include "app/dialog_base.h"
#include "app/os_info.h"
#include "app/string_res.h"
#include "app/win32/select_page.h"
#include "discovery/win32/loading_dlg.h"
#include "platform/system.h"
#include "removal/win32/remove_page.h"

// Members are built in declaration order and destroyed in reverse: the
// pages and the loading dialog go before anything they point at.
class CMainDlg : public CDialogBase {
 public:
  explicit CMainDlg(platform::System& system);

  platform::LResult HandleMessage(platform::WindowHandle window, std::uint32_t message,
                                  platform::WParam wParam, platform::LParam lParam) override;

 private:
  platform::LResult onInitDialog();
  platform::LResult onCommand(int id);

  platform::System& system_;
  CLoadingDlg loading_;
  CSelectPage selectPage_;
  CRemovePage removePage_;
  CStringRes strings_;
  COSInfo osInfo_;
};

// The main dialog, which is also the application context: it owns
// everything a run needs, from start-up to the end of the dialog.
#pragma once

#include "app/main_view.h"
#include "app/select_page.h"
#include "discovery/loading_dlg.h"
#include "platform/system.h"
#include "profile/uninstall_profile.h"
#include "removal/remove_page.h"
#include "shell/dialog_base.h"
#include "shell/os_info.h"
#include "shell/string_res.h"

// Members are built in declaration order and destroyed in reverse: the
// removal page, the selection page and the loading dialog go before the
// profile they point at.
class CMainDlg : public CDialogBase {
 public:
  CMainDlg(platform::System& system, MainView& view, LoadingView& loadingView,
           RemoveView& removeView, const char* commandLine);

  platform::LResult HandleMessage(platform::WindowHandle window, std::uint32_t message,
                                  platform::WParam wParam, platform::LParam lParam) override;

  UninstallProfile& profile() { return profile_; }
  CLoadingDlg& loadingDialog() { return loading_; }
  CRemovePage& removePage() { return removePage_; }

 private:
  void onInitDialog();
  void runPageFlow();
  platform::LResult onCommand(int id);

  platform::System& system_;
  MainView& view_;

  UninstallProfile profile_;
  CLoadingDlg loading_;
  CSelectPage selectPage_;
  CRemovePage removePage_;
  CStringRes strings_;
  COSInfo osInfo_;
};

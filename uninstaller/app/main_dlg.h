// The main dialog, which is also the application context: it owns
// everything a run needs, from start-up to the end of the dialog.
#pragma once

#include "app/about_view.h"
#include "app/component_dlg.h"
#include "app/extra_info_view.h"
#include "app/main_view.h"
#include "app/select_page.h"
#include "app/select_view.h"
#include "discovery/loading_dlg.h"
#include "platform/system.h"
#include "profile/uninstall_profile.h"
#include "removal/remove_page.h"
#include "shell/dialog_base.h"
#include "shell/os_info.h"
#include "shell/string_res.h"

// The window sides of every dialog and page the main dialog runs.
struct DialogViews {
  MainView& main;
  LoadingView& loading;
  SelectView& select;
  RemoveView& remove;
  ExtraInfoView& extraInfo;
  AboutView& about;
};

// Members are built in declaration order and destroyed in reverse: the
// removal page, the selection page and the loading dialog go before the
// profile they point at.
class CMainDlg : public CDialogBase {
 public:
  CMainDlg(platform::System& system, const DialogViews& views, const char* commandLine);

  platform::LResult HandleMessage(platform::WindowHandle window, std::uint32_t message,
                                  platform::WParam wParam, platform::LParam lParam) override;

  UninstallProfile& profile() { return profile_; }
  CLoadingDlg& loadingDialog() { return loading_; }
  CSelectPage& selectPage() { return selectPage_; }
  CRemovePage& removePage() { return removePage_; }
  const CComponentDlg& components() const { return components_; }

 private:
  void onInitDialog();
  void runPageFlow();
  void showSelectionFirst();
  void offerPrinters();
  platform::LResult onCommand(int id);
  void startRemoval(bool commitSelection);
  void onRemovalFinished();
  void onClose();
  void showAbout();
  void showPages(bool selection);
  void enableUninstallWhenNothingListed();

  platform::System& system_;
  MainView& view_;
  AboutView& aboutView_;
  platform::WindowHandle selectWindow_;
  platform::WindowHandle removeWindow_;

  UninstallProfile profile_;
  CLoadingDlg loading_;
  CSelectPage selectPage_;
  CRemovePage removePage_;
  CStringRes strings_;
  COSInfo osInfo_;
  CComponentDlg components_;
};

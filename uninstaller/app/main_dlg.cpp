#include "app/main_dlg.h"

#include "resource_ids.h"
#include "shell/dialog_messages.h"
#include "shell/locations.h"
#include "string_ids.h"

CMainDlg::CMainDlg(platform::System& system, MainView& view, LoadingView& loadingView,
                   RemoveView& removeView, const char* commandLine)
    : system_(system),
      view_(view),
      profile_(system),
      loading_(system, loadingView, commandLine),
      removePage_(system, removeView),
      strings_(system),
      osInfo_(system.host) {}

platform::LResult CMainDlg::HandleMessage(platform::WindowHandle, std::uint32_t message,
                                          platform::WParam wParam, platform::LParam) {
  SetMainScriptPath(system_);
  switch (message) {
    case dlgmsg::kInitDialog:
      onInitDialog();
      return 1;
    case dlgmsg::kCommand:
      return onCommand(dlgmsg::LowWord(wParam));
    default:
      return 0;
  }
}

void CMainDlg::onInitDialog() {
  strings_.setModule(view_.moduleOf(window));
  view_.showControl(window, IDC_MAIN_PLACEHOLDER, false);
  view_.fixSize(window);
  for (auto [control, id] :
       {std::pair{0, IDS_CAPTION}, std::pair{IDC_MAIN_UNINSTALL, IDS_UNINSTALL},
        std::pair{IDC_MAIN_CANCEL, IDS_CANCEL}}) {
    if (const char* text = strings_.text(id); text[0] != '\0') view_.setText(window, control, text);
  }
  view_.setBigIcon(window);
  view_.centre(window);
  view_.show(window, false);
  runPageFlow();
}

// The loading dialog prepares the run while the main dialog stays hidden;
// unless it completes, the program ends.
void CMainDlg::runPageFlow() {
  view_.enableControl(window, IDC_MAIN_UNINSTALL, false);
  view_.enableControl(window, IDC_MAIN_CANCEL, false);
  loading_.setProfile(&profile_);
  removePage_.setProfile(&profile_);

  if (view_.runLoadingDialog(window, loading_) != 1) {
    view_.endDialog(window, 1);
    return;
  }
  view_.show(window, true);
  view_.enableControl(window, IDC_MAIN_CANCEL, true);
}

platform::LResult CMainDlg::onCommand(int id) {
  switch (id) {
    case dlgmsg::kIdOk:
    case dlgmsg::kIdCancel:
    case IDC_MAIN_CANCEL:
      view_.endDialog(window, 1);
      return 1;
    default:
      return 0;
  }
}

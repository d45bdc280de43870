#include "app/main_dlg.h"

#include "app/dialog_messages.h"
#include "app/locations.h"

namespace {

constexpr int kUninstallButton = 1080;
constexpr int kCancelButton = 1052;
constexpr int kPagePlaceholder = 1003;

constexpr std::uint32_t kTextCaption = 161;
constexpr std::uint32_t kTextUninstall = 162;
constexpr std::uint32_t kTextCancel = 163;

}  // namespace

CMainDlg::CMainDlg(platform::System& system, platform::Spooler& spooler, MainView& view,
                   LoadingView& loadingView, const char* commandLine)
    : system_(system),
      view_(view),
      profile_(system),
      loading_(system, spooler, loadingView, commandLine),
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
  view_.showControl(window, kPagePlaceholder, false);
  view_.fixSize(window);
  for (auto [control, id] : {std::pair{0, kTextCaption}, std::pair{kUninstallButton, kTextUninstall},
                             std::pair{kCancelButton, kTextCancel}}) {
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
  view_.enableControl(window, kUninstallButton, false);
  view_.enableControl(window, kCancelButton, false);
  loading_.setProfile(&profile_);

  if (view_.runLoadingDialog(window, loading_) != 1) {
    view_.endDialog(window, 1);
    return;
  }
  view_.show(window, true);
  view_.enableControl(window, kCancelButton, true);
}

platform::LResult CMainDlg::onCommand(int id) {
  switch (id) {
    case dlgmsg::kIdOk:
    case dlgmsg::kIdCancel:
    case kCancelButton:
      view_.endDialog(window, 1);
      return 1;
    default:
      return 0;
  }
}

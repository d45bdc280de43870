#include "app/main_dlg.h"

#include "app/about_dlg.h"
#include "platform/desktop.h"
#include "resource_ids.h"
#include "shell/dialog_messages.h"
#include "shell/fill_counter.h"
#include "shell/locations.h"
#include "shell/message.h"
#include "string_ids.h"
#include "system_control/reboot.h"

CMainDlg::CMainDlg(platform::System& system, const DialogViews& views, const char* commandLine)
    : system_(system),
      view_(views.main),
      aboutView_(views.about),
      profile_(system),
      loading_(system, views.loading, commandLine),
      selectPage_(system, views.select, views.extraInfo),
      removePage_(system, views.remove),
      strings_(system),
      osInfo_(system.host),
      components_(system) {}

platform::LResult CMainDlg::HandleMessage(platform::WindowHandle, std::uint32_t message,
                                          platform::WParam wParam, platform::LParam) {
  SetMainScriptPath(system_);
  switch (message) {
    case dlgmsg::kInitDialog:
      onInitDialog();
      // With the selection page up, its list has the keyboard focus: the
      // dialog manager is not to move it to the first button.
      return selectPage_.isVisible() ? 0 : 1;
    case dlgmsg::kCommand:
      return onCommand(dlgmsg::LowWord(wParam));
    case dlgmsg::kSysCommand:
      if (wParam != IDM_ABOUT) return 0;
      showAbout();
      return 1;
    case platform::wm::kClose:
      onClose();
      return 1;
    case WM_APP_ENABLE_UNINSTALL:
      view_.enableControl(window, IDC_MAIN_UNINSTALL, wParam != 0);
      return 1;
    case WM_APP_START_REMOVAL:
      startRemoval(false);
      return 1;
    case WM_APP_REMOVAL_FINISHED:
      onRemovalFinished();
      return 1;
    case WM_APP_QUERY_NO_SCANNER:
      return profile_.uninstallScanner ? 0 : 1;
    case WM_APP_QUERY_NO_FAX:
      return profile_.uninstallFax ? 0 : 1;
    default:
      return 0;
  }
}

void CMainDlg::onInitDialog() {
  strings_.setModule(view_.moduleOf(window));
  view_.showControl(window, IDC_MAIN_PLACEHOLDER, false);
  view_.fixSize(window);
  view_.appendSystemCommand(window, IDM_ABOUT, strings_.text(IDS_ABOUT_COMMAND));
  for (auto [control, id] :
       {std::pair{0, IDS_CAPTION}, std::pair{IDC_MAIN_UNINSTALL, IDS_UNINSTALL},
        std::pair{IDC_MAIN_CANCEL, IDS_CANCEL}}) {
    if (const char* text = strings_.text(id); text[0] != '\0') view_.setText(window, control, text);
  }

  selectWindow_ = view_.createPage(window, "IDD_SELECT", selectPage_);
  view_.showPage(selectWindow_, false);
  view_.placeOverPlaceholder(window, selectWindow_);
  removeWindow_ = view_.createPage(window, "IDD_REMOVE", removePage_);
  view_.showPage(removeWindow_, true);
  view_.placeOverPlaceholder(window, removeWindow_);

  view_.setBigIcon(window);
  view_.centre(window);
  view_.show(window, false);
  runPageFlow();
}

// The loading dialog prepares the run while the main dialog stays hidden;
// unless it completes, the program ends. Then the selection page comes up,
// or, when the scripts allow no choice, the removal starts at once.
void CMainDlg::runPageFlow() {
  view_.enableControl(window, IDC_MAIN_UNINSTALL, false);
  view_.enableControl(window, IDC_MAIN_CANCEL, false);
  loading_.setProfile(&profile_);
  selectPage_.setProfile(&profile_);
  removePage_.setProfile(&profile_);

  if (view_.runLoadingDialog(window, loading_) != 1) {
    view_.endDialog(window, 1);
    return;
  }

  showSelectionFirst();
  components_.decideCompanions(profile_);

  if (profile_.allowPrinterChoice) {
    view_.showPage(selectWindow_, true);
    view_.show(window, true);
    offerPrinters();
  } else {
    showPages(false);
    view_.greyCloseCommand(window);
    view_.enableControl(window, IDC_MAIN_CANCEL, false);
    removePage_.StartRemoval();
  }
}

// The first page by the command line: a run narrowed to some printers
// keeps every printer unless the user picks it, and "NOPICK" goes straight
// to the removal page.
void CMainDlg::showSelectionFirst() {
  const OptionList& options = loading_.options();
  if (!options.present("MFG") && !options.present("UNPAVANE") && !options.present("PRN")) {
    showPages(true);
    view_.show(window, true);
    offerPrinters();
    return;
  }
  for (PrinterEntry& printer : profile_.printers) printer.keep = 1;
  if (!options.present("NOPICK")) {
    showPages(true);
    view_.show(window, true);
    selectPage_.fill();
    view_.enableControl(window, IDC_MAIN_CANCEL, true);
  } else {
    showPages(false);
    view_.show(window, true);
    view_.enableControl(window, IDC_MAIN_UNINSTALL, false);
    view_.enableControl(window, IDC_MAIN_CANCEL, false);
  }
}

// Fills the list; Uninstall then waits for a selection unless nothing
// could be listed at all.
void CMainDlg::offerPrinters() {
  selectPage_.fill();
  enableUninstallWhenNothingListed();
  view_.enableControl(window, IDC_MAIN_CANCEL, true);
}

void CMainDlg::enableUninstallWhenNothingListed() {
  if (SelectionFillCounter() == 0) view_.enableControl(window, IDC_MAIN_UNINSTALL, true);
}

void CMainDlg::showPages(bool selection) {
  view_.showPage(selection ? removeWindow_ : selectWindow_, false);
  view_.showPage(selection ? selectWindow_ : removeWindow_, true);
}

platform::LResult CMainDlg::onCommand(int id) {
  switch (id) {
    case dlgmsg::kIdOk:
    case dlgmsg::kIdCancel:
    case IDC_MAIN_CANCEL:
      view_.endDialog(window, 1);
      return 1;
    case IDC_MAIN_UNINSTALL:
      startRemoval(true);
      return 1;
    default:
      return 0;
  }
}

// Once started the removal cannot be cancelled: Cancel and the Close
// command stay off until it has finished (Esc still ends the dialog).
void CMainDlg::startRemoval(bool commitSelection) {
  if (commitSelection && selectPage_.isVisible()) selectPage_.commit();
  showPages(false);
  view_.greyCloseCommand(window);
  view_.enableControl(window, IDC_MAIN_CANCEL, false);
  removePage_.StartRemoval();
}

void CMainDlg::onRemovalFinished() {
  if (const char* text = strings_.text(IDS_CLOSE); text[0] != '\0') {
    view_.setText(window, IDC_MAIN_CANCEL, text);
  }
  // The printers not yet removed are offered again, unless a restart is
  // due first: then the removal page keeps showing its result.
  if (OfferableCount(profile_.printers) > 0 && !profile_.rebootNeeded) {
    showPages(true);
    selectPage_.fill();
  } else {
    showPages(false);
  }
  view_.enableControl(window, IDC_MAIN_CANCEL, true);

  if (profile_.uninstallFax) {
    view_.endDialog(window, 1);
    profile_.uninstallScanner = false;
  }
  if (profile_.uninstallScanner && !components_.runScannerUninstaller(profile_, window, strings_) &&
      profile_.rebootNeeded && AskToReboot(system_, window, strings_) &&
      !RestartForVersion(system_, osInfo_.versionCode())) {
    Message(system_.desktop, window, strings_.text(IDS_REBOOT_FAILED), strings_.text(IDS_CAPTION),
            platform::mb::kSetForeground);
  }
}

// The dialog manager answers WM_CLOSE with IDCANCEL, which would end the
// dialog at once. The Close command ends it only while the system menu
// offers it: during and after a removal (whose page closes its own work
// with a WM_CLOSE) it is greyed and does nothing.
void CMainDlg::onClose() {
  if (view_.isCloseCommandEnabled(window)) view_.endDialog(window, 1);
}

void CMainDlg::showAbout() {
  CAboutDlg about(system_, aboutView_);
  view_.runAboutBox(window, about);
}

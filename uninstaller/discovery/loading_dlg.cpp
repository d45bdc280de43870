#include "discovery/loading_dlg.h"

#include "discovery/companions.h"
#include "profile/script_finder.h"
#include "profile/uninstall_profile.h"
#include "resource_ids.h"
#include "shell/dialog_messages.h"
#include "shell/locations.h"
#include "shell/message.h"
#include "string_ids.h"
#include "system_control/spooler_control.h"

namespace {

namespace mb = platform::mb;

constexpr const char* kMainScriptName = "Mainscr0.unm";

// Ticks spent waiting after the spooler's stop and after its start.
constexpr std::int32_t kStopWaitTicks = 8;
constexpr std::int32_t kStartWaitTicks = 3;

}  // namespace

LoadingCounters& TheLoadingCounters() {
  static LoadingCounters counters;
  return counters;
}

CLoadingDlg::CLoadingDlg(platform::System& system, LoadingView& view, const char* commandLine)
    : system_(system), view_(view), osInfo_(system.host), strings_(system) {
  options_.parse(commandLine);
}

platform::LResult CLoadingDlg::HandleMessage(platform::WindowHandle, std::uint32_t message,
                                             platform::WParam wParam, platform::LParam) {
  switch (message) {
    case dlgmsg::kInitDialog:
      onInitDialog();
      return 1;
    case dlgmsg::kShowWindow:
      if (wParam != 0) onShow();
      return 0;
    case dlgmsg::kCommand: {
      const int id = dlgmsg::LowWord(wParam);
      if (id != dlgmsg::kIdOk && id != dlgmsg::kIdCancel) return 0;
      onCancel();
      return 1;
    }
    case dlgmsg::kTimer:
      if (wParam == kTimerId) onTimer();
      return 0;
    default:
      return 0;
  }
}

void CLoadingDlg::onInitDialog() {
  strings_.setModule(view_.moduleOf(window));
  if (const char* caption = strings_.text(IDS_LOADING_CAPTION); caption[0] != '\0') {
    view_.setText(window, 0, caption);
  }
  if (const char* text = strings_.text(IDS_BUILDING_DATABASE); text[0] != '\0') {
    view_.setText(window, IDC_LOADING_TEXT, text);
  }
  view_.setProgressRange(window, 0, 99);
  view_.setProgressPosition(window, 1);
  view_.setProgressStep(window, 2);
  view_.hideControl(window, IDC_LOADING_STATUS);
}

void CLoadingDlg::onShow() {
  view_.centre(window);
  view_.setTimer(window, kTimerId, kTimerPeriod);
}

// Enter and Esc ask whether to stop; declining resumes at a faster pace.
void CLoadingDlg::onCancel() {
  view_.killTimer(window, kTimerId);
  if (message(IDS_STOP_QUESTION, mb::kYesNo | mb::kDefButton2) == mb::kIdYes) {
    end(0);
  } else {
    view_.setTimer(window, kTimerId, kTimerPeriodAfterDecline);
  }
}

int CLoadingDlg::message(std::uint32_t textId, std::uint32_t flags) {
  const char* text = strings_.text(textId);
  const char* caption = strings_.text(IDS_CAPTION);
  return Message(system_.desktop, window, text, caption, flags);
}

void CLoadingDlg::end(int result) {
  ended_ = true;
  view_.endDialog(window, result);
}

void CLoadingDlg::onTimer() {
  // A message box inside a step runs a nested message loop in which further
  // ticks arrive: they return at once, so no step runs twice.
  LoadingCounters& counters = TheLoadingCounters();
  if (counters.busy != 0) return;
  counters.busy = 1;
  view_.stepProgress(window);
  if (runStep()) {
    if (step_ > kLastStep) {
      end(1);
    } else {
      view_.stepProgress(window);
    }
  }
  counters.busy = 0;
}

bool CLoadingDlg::runStep() {
  LoadingCounters& counters = TheLoadingCounters();
  switch (step_) {
    case 0:
      if (!checkAdministrator()) return false;
      break;
    case 1:
      CloseCompanions(system_.desktop);
      break;
    case 2:
      if (osInfo_.isNT()) StopSpooler(system_);
      break;
    case 3:
      if (counters.spoolerStopWait < kStopWaitTicks) {
        ++counters.spoolerStopWait;
        return true;
      }
      break;
    case 4:
      if (!startSpooler()) return false;
      break;
    case 5:
      if (counters.spoolerStartWait < kStartWaitTicks) {
        ++counters.spoolerStartWait;
        return true;
      }
      break;
    case 6:
      collectScripts();
      break;
    case 7:
      interpretScripts();
      break;
    case 8:
      if (profile_ != nullptr) SettleMaskingTool(*profile_, options_.present("UNPAVANE"));
      break;
    case 9:
      return discoverPrinters();
    case 10:
      CloseCompanions(system_.desktop);
      view_.setProgressStep(window, 1);
      view_.setProgressPosition(window, 95);
      break;
    default:
      return true;
  }
  ++step_;
  return true;
}

bool CLoadingDlg::checkAdministrator() {
  if (osInfo_.isAdministrator()) return true;
  message(IDS_NOT_ADMINISTRATOR, mb::kIconError);
  end(0);
  return false;
}

bool CLoadingDlg::startSpooler() {
  if (!osInfo_.isNT() || StartSpooler(system_)) return true;
  message(IDS_SPOOLER_UNSTABLE, mb::kIconError);
  end(0);
  return false;
}

// The main script may lie in the printer driver directory, its "3"
// subdirectory, the program's directory or the system directory; the same
// path found twice is interpreted once.
void CLoadingDlg::collectScripts() {
  CPathParts place;
  place.init(system_, kLocPrinterDriverDir);
  FindScripts(system_.files, scripts_, place.directory(), kMainScriptName);
  FindScripts(system_.files, scripts_, place.appendSubdirectory("3"), kMainScriptName);
  place.init(system_, kLocProgramDir);
  FindScripts(system_.files, scripts_, place.directory(), kMainScriptName);
  place.init(system_, kLocSystemDir);
  FindScripts(system_.files, scripts_, place.directory(), kMainScriptName);
  scripts_.Normalize();

  if (scripts_.isEmpty()) message(IDS_NO_SCRIPTS, mb::kIconInformation);
  view_.setProgressPosition(window, 20);
  const int count = static_cast<int>(scripts_.count());
  view_.setProgressStep(window, count > 0 ? 10 / count : 10);
}

void CLoadingDlg::interpretScripts() {
  if (profile_ == nullptr) return;
  for (const PathString& script : scripts_) profile_->LoadScript(script.c_str());
}

// Discovery is tried twice: a first attempt that finds nothing goes back to
// the companions and the spooler restart (the waits are over by then).
bool CLoadingDlg::discoverPrinters() {
  LoadingCounters& counters = TheLoadingCounters();
  PrinterList scratch;
  PrinterList& printers = profile_ != nullptr ? profile_->printers : scratch;
  const std::size_t before = printers.size();
  const int found = BuildListOfInstalledPrinters(printers);
  if (ended_) return false;
  if (found == 0 && counters.discoveryAttempts == 0) {
    // A failed attempt may have appended some printers before it stopped;
    // the retry finds them again, so they are dropped rather than doubled.
    printers.resize(before);
    view_.setProgressPosition(window, 5);
    step_ = 1;
  } else {
    ++step_;
  }
  ++counters.discoveryAttempts;
  return true;
}

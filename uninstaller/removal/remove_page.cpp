#include "removal/remove_page.h"

#include <cstdio>

#include "profile/uninstall_profile.h"
#include "removal/component_removal.h"
#include "removal/driver_removal.h"
#include "removal/file_removal.h"
#include "removal/ini_removal.h"
#include "removal/printer_removal.h"
#include "removal/registry_removal.h"
#include "removal/removal_paths.h"
#include "removal/shortcut_removal.h"
#include "resources/resource_ids.h"
#include "resources/string_ids.h"
#include "shell/dialog_messages.h"
#include "shell/fill_counter.h"
#include "shell/locations.h"
#include "shell/message.h"
#include "system_control/reboot.h"
#include "system_control/spooler_control.h"

namespace {

constexpr std::uint32_t kCtlColorStatic = 0x0138;  // WM_CTLCOLORSTATIC
constexpr std::uint32_t kPaint = 0x000F;           // WM_PAINT
constexpr int kCloseButton = 1052;

enum Tick { kPending = 0, kDone = 1, kRunning = 2 };

struct ProgressRow {
  int textControl;
  int iconControl;
  std::uint32_t text;
};

constexpr ProgressRow kRows[IDC_REMOVE_ROW_COUNT] = {
    {1087, 1096, IDS_ROW_PROFILE},  {1088, 1097, IDS_ROW_ADDONS},
    {1089, 1098, IDS_ROW_PRINTERS}, {1090, 1099, IDS_ROW_DRIVERS},
    {1091, 1100, IDS_ROW_MONITORS}, {1092, 1101, IDS_ROW_PROCESSORS},
    {1093, 1102, IDS_ROW_SERVICES}, {1094, 1103, IDS_ROW_REGISTRY},
    {1095, 1104, IDS_ROW_FILES},
};

// The spooler keeps a driver per environment; the default one first.
// Wine's GetPrinterDriverDirectoryA creates the directory it names, so
// resolving these leaves "w32x86" and "win40" behind on a Wine machine;
// Windows only reports the path.
constexpr const char* kEnvironments[] = {nullptr, "Windows NT x86", "Windows 4.0"};

struct SearchLocation {
  std::int32_t code;
  bool tree;
  bool ntOnly;
};

constexpr SearchLocation kSearchLocations[] = {
    {kLocPrinterDriverDir, true, false},   {kLocSystemDir, false, false},
    {kLocWindowsDir, false, false},        {kLocPrintProcessorDir, true, false},
    {kLocColorDir, false, false},          {kLocInfDir, true, false},
    {kLocPrinterDriverDirW40, true, true}, {kLocPrintProcessorDirW40, true, true},
};

// The step-running guard is process-wide: message boxes and waits inside a
// step pump messages, and a timer tick arriving then must not start another
// step on any page.
bool& StepRunning() {
  static bool running = false;
  return running;
}

class StepGuard {
 public:
  StepGuard() { StepRunning() = true; }
  ~StepGuard() { StepRunning() = false; }
  StepGuard(const StepGuard&) = delete;
  StepGuard& operator=(const StepGuard&) = delete;
};

int TickOf(int row, int current, bool showProgress) {
  if (!showProgress || row > current) return kPending;
  return row < current ? kDone : kRunning;
}

}  // namespace

CRemovePage::CRemovePage(platform::System& system, RemoveView& view)
    : system_(system), view_(view), os_(system.host), strings_(system) {}

CRemovePage::~CRemovePage() { view_.restoreCursor(); }

platform::LResult CRemovePage::HandleMessage(platform::WindowHandle, std::uint32_t message,
                                             platform::WParam wParam, platform::LParam) {
  switch (message) {
    case dlgmsg::kInitDialog:
      strings_.setModule(view_.moduleOf(window));
      view_.prepareRows(window);
      for (const ProgressRow& row : kRows)
        view_.setText(window, row.textControl, strings_.text(row.text));
      return 1;
    case dlgmsg::kShowWindow:
      if (wParam != 0) {
        row_ = 0;
        showProgress_ = false;
        view_.redraw(window);
      }
      return 0;
    case kPaint:
      drawRows();
      return 0;
    case kCtlColorStatic:
      drawRows();
      return view_.transparentBrush();
    case dlgmsg::kCommand: {
      const int id = dlgmsg::LowWord(wParam);
      if (id == dlgmsg::kIdOk || id == dlgmsg::kIdCancel || id == kCloseButton)
        view_.endDialog(window, 1);
      return 0;
    }
    case dlgmsg::kTimer:
      RunRemovalStep(static_cast<std::uint32_t>(wParam));
      return 0;
    default:
      return 0;
  }
}

void CRemovePage::drawRows() {
  for (int k = 0; k < IDC_REMOVE_ROW_COUNT; ++k) {
    const int tick = TickOf(k, row_, showProgress_);
    view_.drawRow(window, kRows[k].textControl, kRows[k].iconControl, tick, tick == kRunning);
  }
}

void CRemovePage::showRow(int row) {
  showProgress_ = true;
  row_ = row;
  view_.redraw(window);
  row_ = row + 1;
}

void CRemovePage::fillDirectories() {
  directories_.flat.clear();
  directories_.tree.clear();
  for (const SearchLocation& location : kSearchLocations) {
    if (location.ntOnly && !os_.isNT()) continue;
    CPathParts parts;
    parts.init(system_, location.code);
    parts.directory();
    // Freshly made directories can be reported late: when the location
    // resolved, ask again after a moment and keep the second answer.
    if (std::char_traits<char>::length(parts.full) >= 2) {
      system_.clock.sleep(100);
      parts.init(system_, location.code);
      parts.directory();
    }
    StringList& list = location.tree ? directories_.tree : directories_.flat;
    list.append(parts.full);
    list.Normalize();
  }
}

void CRemovePage::StartRemoval() {
  view_.enableControl(view_.parentOf(window), IDC_MAIN_UNINSTALL, false);
  fillDirectories();
  step_ = 0;
  row_ = 0;
  showProgress_ = false;
  view_.redraw(window);
  view_.setTimer(window, kStepTimer, kStepPeriodMs);
}

RemovalContext CRemovePage::context() {
  return RemovalContext{system_,  *profile_,    os_,    strings_,
                        journal_, directories_, window, view_.moduleOf(window)};
}

void CRemovePage::RunRemovalStep(std::uint32_t timerId) {
  if (timerId != kStepTimer || StepRunning() || profile_ == nullptr || step_ > kLastStep) return;
  StepGuard guard;
  if (waitCursorShown_) view_.showWaitCursor();
  runStep();
}

void CRemovePage::runStep() {
  RemovalContext ctx = context();
  UninstallProfile& profile = *profile_;
  const bool noneKept = profile.keptPrinterCount == 0;
  switch (step_) {
    case 0:
      showRow(0);
      view_.showWaitCursor();
      waitCursorShown_ = true;
      profile.BuildRemovalPlan();
      ++step_;
      showRow(1);
      return;
    case 1:
      showRow(1);
      if (!waitForMaskingTool(ctx)) {
        ++step_;
        pavane_ = platform::ProcessHandle();
        pavaneMarker_ = false;
      }
      return;
    case 2:
      showRow(2);
      break;
    case 3:
      RemovePrinters(ctx);
      showRow(3);
      break;
    case 4:
      for (const char* environment : kEnvironments) RemoveDrivers(ctx, environment);
      showRow(4);
      break;
    case 5:
      if (noneKept) {
        for (const char* environment : kEnvironments) RemoveMonitors(ctx, environment);
      }
      RunHooks(ctx);
      showRow(5);
      break;
    case 6:
      if (noneKept) {
        for (const char* environment : kEnvironments) RemovePrintProcessors(ctx, environment);
      }
      showRow(6);
      break;
    case 7:
      if (noneKept) RemoveServices(ctx);
      break;
    case 8:
      if (noneKept && os_.isWin9x()) {
        if (os_.versionCode() == COSInfo::kWindows95) CloseSpoolProcessWindow(system_);
        profile.rebootNeeded = true;
      } else if (noneKept && os_.isNT()) {
        if (StopSpooler(system_)) journal_.done(ActionKind::kSpooler, "Spooler stop");
      }
      showRow(7);
      break;
    case 9:
      CollectOemDirectories(ctx);
      break;
    case 10:
      if (SelectionFillCounter() / 2 <= 1) RemoveShortcuts(ctx);
      system_.desktop.showWindow(window, platform::show::kShowDefault);
      system_.desktop.bringWindowToTop(window);
      system_.desktop.setForegroundWindow(window);
      break;
    case 11:
      break;
    case 12:
      RemoveIniEntries(ctx);
      break;
    case 13:
      RemoveLoadRunEntries(ctx);
      showRow(8);
      break;
    case 14:
      if (noneKept) RemoveFiles(ctx);
      break;
    case 15:
      // Only once the whole package is gone does the uninstaller's own entry
      // go: with printers kept, it is what removes them later.
      if (noneKept) QueueOwnUninstallEntries(ctx, "STRIPWELL.EXE");
      RemoveRegistryKeys(ctx);
      showRow(9);
      break;
    case 16:
      if (os_.isNT()) {
        if (StartSpooler(system_)) journal_.done(ActionKind::kSpooler, "Spooler start");
      }
      break;
    default:
      finish(ctx);
      ++step_;
      return;
  }
  ++step_;
}

bool CRemovePage::waitForMaskingTool(RemovalContext& ctx) {
  if (profile_->pavaneToolRetained) return false;
  if (!pavane_ && !pavaneMarker_) {
    if (FindInOemPaths(ctx, pavanePath_, "PAVANE32.EXE") == 0 &&
        FindInOemPaths(ctx, pavanePath_, "PAVANE.EXE") == 0) {
      return false;
    }
    pavane_ = StartWithSwitch(ctx, pavanePath_);
    if (pavane_) return true;
    // Win32s gives no handle for a started program: its dialog is watched.
    pavaneMarker_ = os_.isWin32s();
    return pavaneMarker_;
  }
  if (os_.isWin32s()) return bool(system_.desktop.findWindow("#32770", "Pavane"));
  std::uint32_t code = 0;
  return system_.processes.exitCode(pavane_, code) == platform::error::kSuccess &&
         code == platform::kStillActive;
}

void CRemovePage::finish(RemovalContext& ctx) {
  view_.killTimer(window, kStepTimer);
  view_.restoreCursor();
  const UninstallProfile& profile = *profile_;
  // Asked whenever a restart is due, on every platform; a scanner or fax
  // hand-over asks later itself (the main dialog), so never twice.
  if (profile.rebootNeeded && !profile.uninstallScanner && !profile.uninstallFax) {
    offerReboot(ctx);
  } else if (!(profile.uninstallScanner && profile.uninstallFax)) {
    Message(system_.desktop, window, strings_.text(IDS_COMPLETE), strings_.text(IDS_CAPTION),
            platform::mb::kSetForeground);
  }
  const platform::WindowHandle parent = view_.parentOf(window);
  system_.desktop.postMessage(parent, platform::wm::kClose, 0, 0);
  system_.desktop.postMessage(parent, WM_APP_REMOVAL_FINISHED, 0, 0);
}

void CRemovePage::offerReboot(RemovalContext& ctx) {
  const bool yes = AskToReboot(system_, window, strings_);
  bool failed = false;
  if (os_.versionCode() == COSInfo::kWin32s) {
    PathString helper;
    if (JoinPath(helper, LocationDirectory(system_, kLocProgramDir).c_str(), "RBOOTAID.EXE")) {
      DeferDeletePendinit(ctx, helper.c_str());
    }
    AddLoadRunEntry(ctx, nullptr, "PENDINIT");
    if (yes) {
      char command[platform::kMaxPath];
      std::snprintf(command, sizeof command, "%s -d", "RBOOTAID.EXE");
      failed = system_.processes.winExec(command, platform::show::kHide) < 32;
    }
  } else if (yes) {
    failed = !RestartForVersion(system_, os_.versionCode());
  }
  if (yes && !failed) journal_.done(ActionKind::kRestart, "Windows");
  if (failed) {
    Message(system_.desktop, window, strings_.text(IDS_REBOOT_FAILED), strings_.text(IDS_CAPTION),
            platform::mb::kSetForeground);
  }
}

#include "unattended/quiet_run.h"

#include "app/main_dlg.h"
#include "app/notify.h"
#include "app/startup.h"
#include "resource_ids.h"
#include "shell/dialog_messages.h"
#include "unattended/headless_desk.h"
#include "unattended/headless_views.h"
#include "unattended/quiet_desktop.h"

namespace {

constexpr const char* kQuietRunMutex = "Stripwell.QuietRun";

// The same machine, with the quiet desktop in place of the real one.
platform::System WithDesktop(const platform::System& system, platform::Desktop& desktop) {
  return platform::System{system.registry, system.services,  system.host,    system.files,
                          system.ini,      system.folders,   system.clock,   desktop,
                          system.spooler,  system.processes, system.devices, system.libraries};
}

// Why the loading sequence stopped, by the step it stopped in.
const char* LoadingFailure(std::int32_t step) {
  switch (step) {
    case 0:
      return "no administrator right";
    case 4:
      return "the spooler does not start";
    case 9:
      return "the spooler does not respond";
    default:
      return "the loading sequence stopped";
  }
}

class QuietRun {
 public:
  QuietRun(platform::System& system, platform::ModuleHandle module, const char* commandLine)
      : desk_(system.clock),
        desktop_(system.desktop, desk_),
        quiet_(WithDesktop(system, desktop_)),
        mainView_(desk_, module),
        loadingView_(desk_, module),
        selectView_(desk_, module),
        removeView_(desk_, module),
        views_{mainView_, loadingView_, selectView_, removeView_, extraInfoView_, aboutView_},
        context_(quiet_, views_, commandLine) {}

  // The reason the run did not remove anything, or "" when the removal ran
  // to its end.
  std::string run();

  CMainDlg& context() { return context_; }
  const QuietDesktop& desktop() const { return desktop_; }
  bool removalStarted() const { return removalStarted_; }
  const std::optional<std::vector<std::string>>& listed() const { return listed_; }

 private:
  bool pressUninstall();

  HeadlessDesk desk_;
  QuietDesktop desktop_;
  platform::System quiet_;
  HeadlessMainView mainView_;
  HeadlessLoadingView loadingView_;
  HeadlessSelectView selectView_;
  HeadlessRemoveView removeView_;
  HeadlessExtraInfoView extraInfoView_;
  HeadlessAboutView aboutView_;
  DialogViews views_;
  CMainDlg context_;
  platform::WindowHandle main_;
  bool removalStarted_ = false;
  std::optional<std::vector<std::string>> listed_;
};

std::string QuietRun::run() {
  main_ = desk_.add(context_);
  selectView_.setParent(main_);
  removeView_.setParent(main_);
  // The main dialog's WM_INITDIALOG runs the loading dialog to its end and
  // sets up the first page, as it does on screen.
  desk_.send(main_, dlgmsg::kInitDialog, 0, 0);
  if (desk_.result(main_)) return LoadingFailure(context_.loadingDialog().step());
  // On screen the user is warned and may go on; unattended, a removal
  // without scripts would remove the printers but leave the package.
  if (context_.loadingDialog().scripts().isEmpty()) return "no uninstall scripts found";

  const platform::WindowHandle page = context_.removePage().window;
  if (!desk_.hasTimer(page, IDT_REMOVAL) && !pressUninstall()) {
    return "the Uninstall button stays disabled";
  }
  removalStarted_ = true;
  if (!desk_.runUntil([&] { return desk_.wasDelivered(main_, WM_APP_REMOVAL_FINISHED); })) {
    return "the removal did not finish";
  }
  return "";
}

// What the user does on the selection page: Select All from its context
// menu, which the list reports as a changed item, then Uninstall.
bool QuietRun::pressUninstall() {
  const platform::WindowHandle page = context_.selectPage().window;
  // An empty list has no item to change: Uninstall keeps the state the
  // page flow gave it.
  if (!selectView_.items.empty()) {
    desk_.send(page, dlgmsg::kCommand, IDM_SELECT_ALL, 0);
    NotifyHeader changed{0, IDC_SELECT_LIST, notify::kItemChanged};
    desk_.send(page, notify::kNotifyMessage, 0, reinterpret_cast<platform::LParam>(&changed));
  }
  listed_.emplace();
  for (const auto& item : selectView_.items) listed_->push_back(item.cells.front());
  if (!mainView_.isUninstallEnabled()) return false;
  desk_.send(main_, dlgmsg::kCommand, IDC_MAIN_UNINSTALL, 0);
  return true;
}

int NotRun(platform::System& system, const std::string& reportPath, RunRecord& record,
           std::string reason) {
  record.result = "not-run";
  record.reason = std::move(reason);
  record.exitCode = quiet_exit::kNotRun;
  if (!reportPath.empty()) WriteRunReport(system, reportPath, record);
  return quiet_exit::kNotRun;
}

}  // namespace

int RunQuiet(platform::System& system, platform::ModuleHandle module, const char* commandLine) {
  OptionList options;
  options.parse(commandLine);
  const RunOptions run = ReadRunOptions(options);
  if (!run.valid()) return quiet_exit::kBadCommandLine;

  RunRecord record;
  BeginRecord(system, commandLine, record);
  record.quiet = true;
  record.options = &options;
  // A report that cannot be written is known before anything is removed.
  record.result = "running";
  if (!run.reportPath.empty() && WriteRunReport(system, run.reportPath, record) != 0) {
    return quiet_exit::kNotRun;
  }
  // An interactive instance has its main window; a quiet one has none and
  // holds the mutex instead.
  platform::Mutex running(system.host);
  const bool anotherQuietRun =
      system.host.createMutex(kQuietRunMutex, running.out()) == platform::error::kAlreadyExists;
  if (anotherQuietRun || system.desktop.findWindow(kMainWindowClass, nullptr)) {
    return NotRun(system, run.reportPath, record, "Stripwell is already running");
  }

  QuietRun quiet(system, module, commandLine);
  const std::string reason = quiet.run();
  CMainDlg& context = quiet.context();
  record.profile = &context.profile();
  record.removalStarted = quiet.removalStarted();
  record.listed = quiet.listed();
  record.journal = &context.removePage().journal().entries;
  record.boxes = quiet.desktop().boxes();
  if (!reason.empty()) return NotRun(system, run.reportPath, record, reason);

  const bool restart = context.profile().rebootNeeded;
  record.result = restart ? "restart-needed" : "removed";
  record.exitCode = restart ? quiet_exit::kRestartNeeded : quiet_exit::kRemoved;
  if (!run.reportPath.empty() && WriteRunReport(system, run.reportPath, record) != 0) {
    return quiet_exit::kNotRun;
  }
  return record.exitCode;
}

// The program's entry: the spooler-restart mode, the unattended run or the
// interactive uninstaller.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "app/main_dlg.h"
#include "app/startup.h"
#include "platform/win32/convert.h"
#include "platform/win32/win32_system.h"
#include "shell/message.h"
#include "shell/model_variant.h"
#include "shell/run_options.h"
#include "shell/string_res.h"
#include "string_ids.h"
#include "unattended/quiet_run.h"
#include "unattended/run_report.h"
#include "win32_ui/dialog_proc.h"
#include "win32_ui/dialog_views_win32.h"
#include "win32_ui/loading_view_win32.h"
#include "win32_ui/main_view_win32.h"
#include "win32_ui/remove_view_win32.h"
#include "win32_ui/select_view_win32.h"

namespace {

// The main dialog's window class: the system dialog class under the
// program's own name, so that a second start can find the first.
void RegisterMainWindowClass() {
  WNDCLASSA dialogClass{};
  if (!GetClassInfoA(nullptr, "#32770", &dialogClass)) throw 1;
  dialogClass.lpszClassName = kMainWindowClass;
  RegisterClassA(&dialogClass);
}

// Tells the user of a failure that has no place of its own on screen: an
// interactive run keeps its exit codes, so this message is how a refused
// command line or an unwritten report shows.
void Complain(HINSTANCE instance, platform::System& system, std::uint32_t textId,
              const char* detail, std::uint32_t code) {
  CStringRes strings(system);
  strings.setModule(win32::FromInstance(instance));
  char text[CStringRes::kBufferSize + platform::kMaxPath + 16];
  std::snprintf(text, sizeof text, strings.text(textId), detail, code);
  Message(system.desktop, {}, text, strings.text(IDS_CAPTION), platform::mb::kIconError);
}

// The report of an interactive run: what the dialogs left in the context.
void ReportInteractiveRun(HINSTANCE instance, platform::System& system, const std::string& path,
                          RunRecord& record, CMainDlg& context, int exitCode) {
  OptionList options = context.loadingDialog().options();
  record.options = &options;
  record.profile = &context.profile();
  record.removalStarted = !context.removePage().journal().entries.empty();
  record.journal = &context.removePage().journal().entries;
  record.result = "ended";
  record.exitCode = exitCode;
  if (platform::Win32Error e = WriteRunReport(system, path, record)) {
    Complain(instance, system, IDS_REPORT_FAILED, path.c_str(), e);
  }
}

int RunInteractive(HINSTANCE instance, platform::System& system, const std::string& reportPath) {
  RunRecord record;
  if (!reportPath.empty()) BeginRecord(system, GetCommandLineA(), record);
  InitCommonControls();
  if (ActivateRunningInstance(system.desktop)) throw 0;

  Win32MainView mainView;
  Win32LoadingView loadingView;
  Win32RemoveView removeView;
  Win32SelectView selectView;
  Win32ExtraInfoView extraInfoView;
  Win32AboutView aboutView;
  const DialogViews views{mainView, loadingView, selectView, removeView, extraInfoView, aboutView};
  CMainDlg context(system, views, GetCommandLineA());
  RegisterMainWindowClass();
  const INT_PTR result = DialogBoxParamA(instance, "IDD_MAIN_NOBMP", nullptr, SharedDialogProc,
                                         reinterpret_cast<LPARAM>(&context));
  if (!reportPath.empty()) {
    ReportInteractiveRun(instance, system, reportPath, record, context, static_cast<int>(result));
  }
  return static_cast<int>(result);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  win32::Win32System windows;
  platform::System system = windows.system();

  ModelVariant = VariantFromCommandLine(commandLine);
  if (IsSpoolerRestartMode(commandLine)) return RunSpoolerRestart(system);

  const char* fullCommandLine = GetCommandLineA();
  OptionList options;
  options.parse(fullCommandLine);
  const RunOptions run = ReadRunOptions(options);
  if (run.quiet) return RunQuiet(system, win32::FromInstance(instance), fullCommandLine);
  if (!run.valid()) {
    Complain(instance, system, IDS_BAD_COMMAND_LINE, run.problem.c_str(), 0);
    return 1;
  }

  // Start-up leaves early by throwing the exit code; the context, when it
  // was built, is destroyed on the way out.
  try {
    return RunInteractive(instance, system, run.reportPath);
  } catch (int exitCode) {
    return exitCode;
  }
}

// The program's entry: the spooler-restart mode or the interactive uninstaller.
#include <windows.h>
#include <commctrl.h>

#include "app/main_dlg.h"
#include "app/startup.h"
#include "platform/win32/win32_system.h"
#include "shell/model_variant.h"
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

int RunInteractive(HINSTANCE instance, platform::System& system) {
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
  return static_cast<int>(result);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  win32::Win32System windows;
  platform::System system = windows.system();

  ModelVariant = VariantFromCommandLine(commandLine);
  if (IsSpoolerRestartMode(commandLine)) return RunSpoolerRestart(system);

  // Start-up leaves early by throwing the exit code; the context, when it
  // was built, is destroyed on the way out.
  try {
    return RunInteractive(instance, system);
  } catch (int exitCode) {
    return exitCode;
  }
}

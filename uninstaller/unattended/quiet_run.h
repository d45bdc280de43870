// The unattended run ("/QUIET"): the program's own dialogs, driven without
// a window and without a user. The loading sequence runs tick by tick on
// the clock; every printer that the selection page offers is selected and
// Uninstall is pressed; the removal runs until it reports its end; every
// message box gets its fixed answer. Nothing of the steps is done here:
// this only plays the user.
#pragma once

#include "platform/system.h"
#include "shell/run_options.h"
#include "unattended/run_report.h"

// Exit codes of an unattended run, as deployment tools read them.
namespace quiet_exit {
inline constexpr int kRemoved = 0;
inline constexpr int kNotRun = 1;
inline constexpr int kBadCommandLine = 2;
inline constexpr int kRestartNeeded = 3010;  // ERROR_SUCCESS_REBOOT_REQUIRED
}  // namespace quiet_exit

// Runs the program quietly and writes the report when one was asked for;
// the exit code. `module` is where the dialogs' strings come from.
// `commandLine` is the full process command line.
int RunQuiet(platform::System& system, platform::ModuleHandle module, const char* commandLine);

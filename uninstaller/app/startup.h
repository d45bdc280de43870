// The first steps of a start: the spooler-restart mode and the refusal of
// a second interactive instance.
#pragma once

#include "platform/system.h"

// The class of the main dialog's window, by which a second start finds the first.
inline constexpr const char* kMainWindowClass = "RvtUninstallWindowClass__";

// True when the command line (without the program name) is exactly the
// mode word "RestartSpooler", in any letter case.
bool IsSpoolerRestartMode(const char* commandLine);

// The spooler-restart mode: on Windows 2000 and later stops the spooler and,
// when the stop was accepted, starts it again at once (telling the user
// only when that start fails); on every Windows deletes the package's
// RunOnce value. The exit code is always 0.
int RunSpoolerRestart(platform::System& system);

// When the main window of a running instance exists, brings it to the front
// and returns true: this start then ends with exit code 0.
bool ActivateRunningInstance(platform::Desktop& desktop);

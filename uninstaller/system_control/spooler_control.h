// Stopping and starting the print spooler, and restarting Windows.
#pragma once

#include "platform/system.h"

// Sends the stop control to the "Spooler" service; true when it was
// accepted. Does not wait for the service to stop.
bool StopSpooler(platform::System& system);
// Starts the "Spooler" service; true when it starts or already runs.
bool StartSpooler(platform::System& system);
// Windows 95's spooler runs as a process with a window of class
// "SpoolProcessClass": asks it to close and gives it a second to do so.
// False at once when there is no such window.
bool CloseSpoolProcessWindow(platform::System& system);
// Enables the shutdown privilege and restarts Windows; false when the
// privilege cannot be enabled (the restart is then not attempted) or the
// restart is refused.
bool RestartWindows(platform::System& system);

// Asking the package's companion programs to close, so that they let go of
// the files the uninstaller will remove.
#pragma once

#include "platform/desktop.h"

// Sends WM_CLOSE to the first top-level window of each companion class, in
// a fixed order, waiting for each answer; then posts the registered message
// "RvUninstClose0H" to every top-level window. Always true.
bool CloseCompanions(platform::Desktop& desktop);

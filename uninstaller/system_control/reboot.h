// The reboot offer that ends a removal when deletions wait for the next
// start of Windows: the question, and the restart each Windows takes.
#pragma once

#include <cstdint>

#include "platform/system.h"
#include "shell/string_res.h"

// Asks "Printer Uninstall is almost complete ... Do you want to reboot
// now?" (Yes and No, a question icon, brought to the foreground); true
// for Yes.
bool AskToReboot(platform::System& system, platform::WindowHandle owner, CStringRes& strings);

// Restarts Windows as the running version allows: ExitWindowsEx(EWX_REBOOT)
// on Windows 95, 98 and Me (version codes 2, 3 and 7), the privileged
// restart (RestartWindows) on every other version. Win32s restarts through
// the package's own helper program instead, which the removal runs itself.
// False when the restart was refused.
bool RestartForVersion(platform::System& system, std::int32_t versionCode);

#include "system_control/reboot.h"

#include "shell/message.h"
#include "shell/os_info.h"
#include "string_ids.h"
#include "system_control/spooler_control.h"

bool AskToReboot(platform::System& system, platform::WindowHandle owner, CStringRes& strings) {
  namespace mb = platform::mb;
  const char* question = strings.text(IDS_REBOOT_QUESTION);
  const char* caption = strings.text(IDS_CAPTION);
  return Message(system.desktop, owner, question, caption,
                 mb::kYesNo | mb::kIconQuestion | mb::kSetForeground) == mb::kIdYes;
}

bool RestartForVersion(platform::System& system, std::int32_t versionCode) {
  switch (versionCode) {
    case COSInfo::kWindows95:
    case COSInfo::kWindows98:
    case COSInfo::kWindowsMe:
      return system.host.exitWindows(platform::exit_windows::kReboot) == platform::error::kSuccess;
    default:
      return RestartWindows(system);
  }
}

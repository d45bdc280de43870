#include "discovery/companions.h"

namespace {

struct Companion {
  const char* windowClass;
  platform::LParam closeParam;
};

// The order matters: status and installer windows first, the print
// services' windows last.
constexpr Companion kCompanions[] = {
    {"QvStatusWindowClass_", 0}, {"RVTStatusClass_0H", 0}, {"RVTInstallClass__", 0},
    {"QvBridgeWClass0H", 0},     {"VSpoolAgentClass", 0},  {"QvMsgPopClass0H", 0},
    {"PAVANEDLGCLASS0H", 0},     {"QvPSD0H", 1},           {"RVTPSMCClass0H", 0},
};

}  // namespace

bool CloseCompanions(platform::Desktop& desktop) {
  for (const Companion& companion : kCompanions) {
    const platform::WindowHandle window = desktop.findWindow(companion.windowClass, nullptr);
    // Sent, not posted: a companion that hangs here holds up the caller.
    if (window) desktop.sendMessage(window, platform::wm::kClose, 0, companion.closeParam);
  }
  const std::uint32_t closeAll = desktop.registerWindowMessage("RvUninstClose0H");
  if (closeAll != 0) desktop.postMessage(platform::kBroadcast, closeAll, 0, 0);
  return true;
}

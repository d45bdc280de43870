#include "app/startup.h"

#include "platform/crt.h"
#include "shell/message.h"

namespace {

using platform::System;
namespace scm = platform::scm;
namespace error = platform::error;

constexpr const char* kRunOnceKey = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr const char* kRunOnceValue = "Corvan TR820";

void RestartSpoolerService(System& system) {
  platform::ScHandle manager(system.services);
  if (system.services.openManager(scm::kManagerAllAccess, manager.out()) != error::kSuccess) return;
  platform::ScHandle service(system.services);
  if (system.services.openService(manager.get(), "Spooler", scm::kServiceStart | scm::kServiceStop,
                                  service.out()) != error::kSuccess) {
    return;
  }
  platform::ServiceStatus status{};
  if (system.services.control(service.get(), scm::kControlStop, status) != error::kSuccess) return;
  // No wait between the stop and the start: a spooler that has not finished
  // stopping makes the start fail, and the user is told.
  if (system.services.start(service.get()) != error::kSuccess) {
    Message(system.desktop, {}, "Error starting Spooler Service.", "Fatal Error",
            platform::mb::kIconError);
  }
}

}  // namespace

bool IsSpoolerRestartMode(const char* commandLine) {
  return commandLine != nullptr && crt::StrCmpI(commandLine, "RestartSpooler") == 0;
}

int RunSpoolerRestart(System& system) {
  platform::OsVersionInfo version;
  if (system.host.getVersion(version) && version.majorVersion > 4) RestartSpoolerService(system);

  platform::RegKey runOnce(system.registry);
  if (system.registry.openKey(platform::hkey::kLocalMachine, kRunOnceKey,
                              platform::regsam::kAllAccess, runOnce.out()) == error::kSuccess) {
    system.registry.deleteValue(runOnce.get(), kRunOnceValue);
  }
  return 0;
}

bool ActivateRunningInstance(platform::Desktop& desktop) {
  const platform::WindowHandle window = desktop.findWindow(kMainWindowClass, nullptr);
  if (!window) return false;
  desktop.showWindow(window, platform::show::kShowDefault);
  desktop.bringWindowToTop(window);
  desktop.setForegroundWindow(window);
  return true;
}

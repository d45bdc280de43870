#include "system_control/spooler_control.h"

namespace {

using platform::ScHandle;
using platform::System;
namespace scm = platform::scm;
namespace error = platform::error;

constexpr const char* kSpoolerService = "Spooler";

// Opens the manager and the spooler with all access; false when either fails.
bool OpenSpooler(platform::ServiceControl& services, ScHandle& manager, ScHandle& service) {
  return services.openManager(scm::kManagerAllAccess, manager.out()) == error::kSuccess &&
         services.openService(manager.get(), kSpoolerService, scm::kServiceAllAccess,
                              service.out()) == error::kSuccess;
}

}  // namespace

bool StopSpooler(System& system) {
  ScHandle manager(system.services);
  ScHandle service(system.services);
  if (!OpenSpooler(system.services, manager, service)) return false;
  platform::ServiceStatus status{};
  return system.services.control(service.get(), scm::kControlStop, status) == error::kSuccess;
}

bool StartSpooler(System& system) {
  ScHandle manager(system.services);
  ScHandle service(system.services);
  if (!OpenSpooler(system.services, manager, service)) return false;
  const platform::Win32Error result = system.services.start(service.get());
  return result == error::kSuccess || result == error::kServiceAlreadyRunning;
}

bool CloseSpoolProcessWindow(System& system) {
  const platform::WindowHandle window = system.desktop.findWindow("SpoolProcessClass", nullptr);
  if (!window) return false;
  system.desktop.sendMessage(window, platform::wm::kClose, 0, 0);
  system.clock.sleep(1000);
  return true;
}

bool RestartWindows(System& system) {
  if (system.host.enablePrivilege("SeShutdownPrivilege") != error::kSuccess) return false;
  return system.host.exitWindows(platform::exit_windows::kReboot) == error::kSuccess;
}

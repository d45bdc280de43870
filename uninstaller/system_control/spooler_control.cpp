#include "system_control/spooler_control.h"

namespace {

using platform::ScHandle;
using platform::System;
namespace scm = platform::scm;
namespace error = platform::error;

constexpr const char* kSpoolerService = "Spooler";

// Opens the manager and the spooler with all access; false when either fails.
bool OpenSpooler(ScHandle& manager, ScHandle& service) {
  return manager.openManager(scm::kManagerAllAccess) == error::kSuccess &&
         service.openService(manager, kSpoolerService, scm::kServiceAllAccess) == error::kSuccess;
}

}  // namespace

bool StopSpooler(System& system) {
  ScHandle manager(system.services);
  ScHandle service(system.services);
  if (!OpenSpooler(manager, service)) return false;
  platform::ServiceStatus status{};
  return system.services.control(service.get(), scm::kControlStop, status) == error::kSuccess;
}

bool StartSpooler(System& system) {
  ScHandle manager(system.services);
  ScHandle service(system.services);
  if (!OpenSpooler(manager, service)) return false;
  const platform::Win32Error result = system.services.start(service.get());
  return result == error::kSuccess || result == error::kServiceAlreadyRunning;
}

bool CloseSpoolProcessWindow(System& system) {
  const platform::WindowHandle window = system.desktop.findWindow("SpoolProcessClass", nullptr);
  if (window == 0) return false;
  system.desktop.sendMessage(window, platform::wm::kClose, 0, 0);
  system.clock.sleep(1000);
  return true;
}

bool RestartWindows(System& system) {
  if (system.host.enablePrivilege("SeShutdownPrivilege") != error::kSuccess) return false;
  return system.host.exitWindows(platform::exit_windows::kReboot) == error::kSuccess;
}

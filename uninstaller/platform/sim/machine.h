// One simulated Windows machine: the second implementation of the platform
// layer, in portable C++. A Machine holds a registry, a file system, the
// profile functions, the well-known folders, the host (version, token,
// computer name, program path), the service control manager, a clock and a
// desktop, all set up as the chosen Windows version has them. Tests build
// one, seed it through the parts' helpers, hand system() to the code under
// test and inspect the parts afterwards.
//
//   sim::Machine machine("xp");
//   machine.files().writeFile("C:\\WINDOWS\\system32\\x.dll", "MZ");
//   machine.files().setLoadedModule("C:\\WINDOWS\\system32\\x.dll", true);
//   RunCodeUnderTest(machine.system());
//   EXPECT_EQ(machine.files().pendingDeletions().size(), 1u);
//   EXPECT_EQ(machine.openHandleCount(), 0u);
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "faults.h"
#include "os_profiles.h"
#include "platform/system.h"
#include "sim_clock.h"
#include "sim_desktop.h"
#include "sim_devices.h"
#include "sim_files.h"
#include "sim_folders.h"
#include "sim_host.h"
#include "sim_ini.h"
#include "sim_libraries.h"
#include "sim_processes.h"
#include "sim_registry.h"
#include "sim_services.h"
#include "sim_spooler.h"

namespace sim {

class Machine {
 public:
  // A machine of a named profile: "win32s", "95", "98", "me", "nt351",
  // "nt4", "2000", "xp", "2003", "7", "10" (the default) or "11", in any
  // case. An unknown name throws std::invalid_argument.
  explicit Machine(std::string_view profileName = "10");
  // A machine of a profile the test has adjusted (another Windows
  // directory, no colour directory, more special folders...).
  explicit Machine(OsProfile profile);
  Machine(const Machine&) = delete;
  Machine& operator=(const Machine&) = delete;

  // The platform layer over this machine, for the code under test.
  platform::System system();

  const OsProfile& profile() const { return profile_; }
  SimRegistry& registry() { return registry_; }
  SimFileSystem& files() { return files_; }
  SimIniFiles& ini() { return ini_; }
  SimFolders& folders() { return folders_; }
  SimHost& host() { return host_; }
  SimServices& services() { return services_; }
  SimClock& clock() { return clock_; }
  SimDesktop& desktop() { return desktop_; }
  SimSpooler& spooler() { return spooler_; }
  SimProcesses& processes() { return processes_; }
  SimDevices& devices() { return devices_; }
  SimLibraries& libraries() { return libraries_; }
  // The calls the simulated parts were asked to make, and the ones to fail.
  Faults& faults() { return faults_; }

  // Moves the program: GetModuleFileNameA answers this path, the file
  // exists, and SearchPathA looks in its directory first.
  void setModuleFileName(std::string_view path);

  // Registry, file, service, printer, process, device-list and library
  // handles the program has not closed.
  std::size_t openHandleCount() const;

  // A restart of Windows as far as the machine models one: other programs
  // end (held files and loaded modules are let go), the files scheduled
  // with MoveFileExA (NT) or WININIT.INI (9x) are deleted or renamed, and
  // the RunOnce values are removed once read.
  void restartWindows();

 private:
  void wire();
  void seedFiles();
  void seedRegistry();
  void seedServices();
  void updateSearchDirectories();
  void runWininit();

  OsProfile profile_;
  Faults faults_;
  SimClock clock_;
  SimRegistry registry_;
  SimFileSystem files_;
  SimHost host_;
  SimFolders folders_;
  SimIniFiles ini_;
  SimServices services_;
  SimDesktop desktop_;
  SimSpooler spooler_;
  SimProcesses processes_;
  SimDevices devices_;
  SimLibraries libraries_;
};

}  // namespace sim

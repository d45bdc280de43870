// The simulated host: the version GetVersionExA reports, the process token
// (its groups and privileges), the computer name, the program's own path,
// the version resources of files, the memory figures, and a log of the
// restarts the program asked for (none is carried out).
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "faults.h"
#include "os_profiles.h"
#include "platform/host.h"
#include "sim_text.h"

namespace sim {

// How the token holds the built-in Administrators group.
enum class AdminMembership {
  kNone,      // a standard user
  kEnabled,   // an elevated administrator
  kDenyOnly,  // an administrator's filtered token (UAC): SE_GROUP_USE_FOR_DENY_ONLY
};

class SimHost final : public platform::Host {
 public:
  SimHost(const OsProfile& profile, Faults& faults);

  // GetVersionExA fails (false) from now on.
  void setVersionFails(bool fails) { versionFails_ = fails; }
  // Whether the program's manifest declares Windows 8.1/10 support. Without
  // it (the default, as Stripwell's manifest has none) Windows 8.1 and later
  // report themselves to GetVersionExA as 6.2 build 9200.
  void setDeclaresWindows10Support(bool declares) { declaresWindows10_ = declares; }
  void setAdministrators(AdminMembership membership) { admin_ = membership; }
  void setShutdownPrivilege(bool held) { shutdownHeld_ = held; }
  // Adds this many more groups to the token (28-byte domain SIDs).
  void addGroups(std::size_t count) { extraGroups_ += count; }
  void setComputerName(std::string name) { computerName_ = std::move(name); }
  void setModuleFileName(std::string path) { moduleFileName_ = std::move(path); }
  // The fixed file version of the file at `path` (any case). A file that
  // has none set here has no version resource.
  void setFileVersion(std::string path, platform::FileVersion version) {
    fileVersions_[std::move(path)] = version;
  }
  // What GlobalMemoryStatus reports from now on (the length is its own).
  void setMemoryStatus(const platform::MemoryStatus& status) { memory_ = status; }

  const std::string& moduleFileName() const { return moduleFileName_; }
  // Whether the process may act as an administrator: always off the NT
  // family, on NT only with the Administrators group enabled.
  bool isElevated() const;
  // The token's groups in the order GetTokenInformation lists them.
  std::vector<platform::TokenGroup> groups() const;
  // The privileges enabled through enablePrivilege.
  const std::set<std::string, LessNoCase>& enabledPrivileges() const { return enabled_; }
  // Every ExitWindowsEx that succeeded, with its flags.
  const std::vector<std::uint32_t>& exitRequests() const { return exitRequests_; }

  // The bytes a TOKEN_GROUPS with these groups takes on x64: the count
  // padded to 8, one 16-byte SID_AND_ATTRIBUTES per group, then the SIDs.
  static std::uint32_t TokenGroupsSize(const std::vector<platform::TokenGroup>& groups);
  // "S-1-5-32-544" in its binary form.
  static std::vector<std::uint8_t> SidFromString(std::string_view text);

  // platform::Host
  bool getVersion(platform::OsVersionInfo& info) override;
  platform::Win32Error tokenGroups(std::uint32_t bufferBytes,
                                   std::vector<platform::TokenGroup>& groups) override;
  platform::Win32Error enablePrivilege(const char* name) override;
  platform::Win32Error exitWindows(std::uint32_t flags) override;
  platform::Win32Error computerName(char* buffer, std::uint32_t* size) override;
  std::uint32_t moduleFileName(char* buffer, std::uint32_t size) override;
  platform::Win32Error fileVersion(const char* path, platform::FileVersion& version) override;
  void globalMemoryStatus(platform::MemoryStatus& status) override;
  platform::Win32Error createMutex(const char* name, platform::MutexHandle& mutex) override;
  platform::Win32Error closeMutex(platform::MutexHandle mutex) override;
  // Another process holds a mutex of this name (names are case-sensitive,
  // as Windows' object names are).
  void holdMutex(const std::string& name) { ++mutexes_[name]; }

 private:
  bool holdsPrivilege(std::string_view name) const;

  const OsProfile& profile_;
  Faults& faults_;
  bool versionFails_ = false;
  bool declaresWindows10_ = false;
  AdminMembership admin_ = AdminMembership::kEnabled;
  bool shutdownHeld_ = true;
  std::size_t extraGroups_ = 0;
  std::string computerName_ = "SIMPC";
  std::string moduleFileName_ = "C:\\Stripwell\\Stripwell.exe";
  std::set<std::string, LessNoCase> enabled_;
  std::vector<std::uint32_t> exitRequests_;
  std::map<std::string, platform::FileVersion, LessNoCase> fileVersions_;
  // 8 GB of memory, half of it free, and a 2 GB page file.
  platform::MemoryStatus memory_{56,          50,         8ull << 30,   4ull << 30,
                                 10ull << 30, 6ull << 30, 128ull << 40, 127ull << 40};
  std::map<std::string, int> mutexes_;  // name -> open handles, any process
  std::map<platform::MutexHandle, std::string> mutexHandles_;
  std::uintptr_t nextMutex_ = 0x3000;
};

}  // namespace sim

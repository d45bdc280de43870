#include "sim_host.h"

#include <cstdlib>
#include <cstring>

#include "sim_errors.h"

namespace sim {
namespace {

namespace err = platform::error;
using platform::TokenGroup;
using platform::Win32Error;

constexpr std::uint32_t kMandatoryEnabled = platform::group_attr::kMandatory |
                                            platform::group_attr::kEnabledByDefault |
                                            platform::group_attr::kEnabled;
constexpr std::uint32_t kOwner = 0x8;                      // SE_GROUP_OWNER
constexpr std::uint32_t kLogonId = 0xC0000000u;            // SE_GROUP_LOGON_ID
constexpr std::uint32_t kIntegrity = 0x60;                 // SE_GROUP_INTEGRITY(_ENABLED)
constexpr std::uint32_t kShutdownFlags = 0x1 | 0x2 | 0x8;  // EWX_SHUTDOWN, EWX_REBOOT, EWX_POWEROFF
constexpr std::uint32_t kOsVersionInfoSize = 148;
constexpr std::uint32_t kOsVersionInfoExSize = 156;
constexpr const char* kDomainPrefix = "S-1-5-21-1004336348-1177238915-682003330-";

// Privileges LookupPrivilegeValueA knows (a selection), and those every
// user holds; administrators hold the rest as well.
constexpr const char* kKnownPrivileges[] = {
    "SeShutdownPrivilege",
    "SeChangeNotifyPrivilege",
    "SeUndockPrivilege",
    "SeIncreaseWorkingSetPrivilege",
    "SeTimeZonePrivilege",
    "SeDebugPrivilege",
    "SeBackupPrivilege",
    "SeRestorePrivilege",
    "SeTakeOwnershipPrivilege",
    "SeLoadDriverPrivilege",
    "SeSecurityPrivilege",
    "SeSystemtimePrivilege",
    "SeRemoteShutdownPrivilege",
    "SeIncreaseQuotaPrivilege",
    "SeSystemEnvironmentPrivilege",
    "SeCreatePagefilePrivilege",
    "SeManageVolumePrivilege",
    "SeImpersonatePrivilege",
    "SeCreateGlobalPrivilege",
    "SeTcbPrivilege",
    "SeAssignPrimaryTokenPrivilege",
};
constexpr const char* kUserPrivileges[] = {"SeChangeNotifyPrivilege", "SeUndockPrivilege",
                                           "SeIncreaseWorkingSetPrivilege", "SeTimeZonePrivilege"};
constexpr const char* kAdminOnlyOutside[] = {"SeTcbPrivilege", "SeAssignPrimaryTokenPrivilege"};

bool Contains(const auto& list, std::string_view name) {
  for (const char* entry : list) {
    if (EqualNoCase(entry, name)) return true;
  }
  return false;
}

TokenGroup Group(std::string_view sid, std::uint32_t attributes) {
  return TokenGroup{SimHost::SidFromString(sid), attributes};
}

}  // namespace

SimHost::SimHost(const OsProfile& profile, Faults& faults) : profile_(profile), faults_(faults) {}

std::vector<std::uint8_t> SimHost::SidFromString(std::string_view text) {
  // S-<revision>-<authority>-<sub-authority>...
  std::vector<std::string> parts = SplitNonEmpty(text, '-');
  if (parts.size() < 3 || !EqualNoCase(parts[0], "S")) return {};
  std::vector<std::uint8_t> sid;
  sid.push_back(static_cast<std::uint8_t>(std::strtoul(parts[1].c_str(), nullptr, 10)));
  sid.push_back(static_cast<std::uint8_t>(parts.size() - 3));
  const std::uint64_t authority = std::strtoull(parts[2].c_str(), nullptr, 10);
  for (int shift = 40; shift >= 0; shift -= 8) {
    sid.push_back(static_cast<std::uint8_t>(authority >> shift));  // big-endian
  }
  for (std::size_t i = 3; i < parts.size(); ++i) {
    const auto rid = static_cast<std::uint32_t>(std::strtoul(parts[i].c_str(), nullptr, 10));
    for (int shift = 0; shift < 32; shift += 8)
      sid.push_back(static_cast<std::uint8_t>(rid >> shift));
  }
  return sid;
}

std::uint32_t SimHost::TokenGroupsSize(const std::vector<TokenGroup>& groups) {
  std::size_t size = 8 + 16 * groups.size();
  for (const TokenGroup& g : groups) size += g.sid.size();
  return Count32(size);
}

bool SimHost::isElevated() const { return !profile_.isNt() || admin_ == AdminMembership::kEnabled; }

std::vector<TokenGroup> SimHost::groups() const {
  const bool vista = profile_.majorVersion >= 6;
  std::vector<TokenGroup> list;
  list.push_back(Group(std::string(kDomainPrefix) + "513", kMandatoryEnabled));
  list.push_back(Group("S-1-1-0", kMandatoryEnabled));
  if (vista && admin_ != AdminMembership::kNone) {
    // "Local account and member of Administrators group", filtered alike.
    list.push_back(Group("S-1-5-114", admin_ == AdminMembership::kEnabled
                                          ? kMandatoryEnabled
                                          : platform::group_attr::kUseForDenyOnly));
  }
  if (admin_ == AdminMembership::kEnabled) {
    list.push_back(Group("S-1-5-32-544", kMandatoryEnabled | kOwner));
  } else if (admin_ == AdminMembership::kDenyOnly) {
    list.push_back(Group("S-1-5-32-544", platform::group_attr::kUseForDenyOnly));
  }
  list.push_back(Group("S-1-5-32-545", kMandatoryEnabled));
  list.push_back(Group("S-1-5-4", kMandatoryEnabled));
  list.push_back(Group("S-1-2-1", kMandatoryEnabled));
  list.push_back(Group("S-1-5-11", kMandatoryEnabled));
  list.push_back(Group("S-1-5-15", kMandatoryEnabled));
  if (vista) list.push_back(Group("S-1-5-113", kMandatoryEnabled));
  list.push_back(Group("S-1-5-5-0-183722", kMandatoryEnabled | kLogonId));
  list.push_back(Group("S-1-2-0", kMandatoryEnabled));
  list.push_back(Group("S-1-5-64-10", kMandatoryEnabled));
  for (std::size_t i = 0; i < extraGroups_; ++i) {
    list.push_back(Group(kDomainPrefix + std::to_string(2000 + i), kMandatoryEnabled));
  }
  if (vista) {
    // The integrity label: high for an elevated token, medium otherwise.
    list.push_back(
        Group(admin_ == AdminMembership::kEnabled ? "S-1-16-12288" : "S-1-16-8192", kIntegrity));
  }
  return list;
}

bool SimHost::getVersion(platform::OsVersionInfo& info) {
  if (versionFails_) return false;
  if (info.size != kOsVersionInfoSize && info.size != kOsVersionInfoExSize) return false;
  info.majorVersion = profile_.majorVersion;
  info.minorVersion = profile_.minorVersion;
  info.buildNumber = profile_.buildNumber;
  info.platformId = profile_.platformId;
  std::string csd = profile_.csdVersion;
  const bool laterThan8 =
      profile_.majorVersion > 6 || (profile_.majorVersion == 6 && profile_.minorVersion >= 3);
  if (profile_.isNt() && laterThan8 && !declaresWindows10_) {
    // The compatibility shim for programs that do not declare Windows 8.1+.
    info.majorVersion = 6;
    info.minorVersion = 2;
    info.buildNumber = 9200;
    csd.clear();
  }
  if (profile_.platformId == platform::platform_id::kWindows) {
    // Windows 9x puts the version into the high word of the build number.
    info.buildNumber = (profile_.majorVersion << 24) | (profile_.minorVersion << 16) |
                       (profile_.buildNumber & 0xFFFFu);
  }
  std::memset(info.csdVersion, 0, sizeof info.csdVersion);
  CopyTruncated(csd, info.csdVersion, sizeof info.csdVersion);
  return true;
}

Win32Error SimHost::tokenGroups(std::uint32_t bufferBytes, std::vector<TokenGroup>& groupsOut) {
  groupsOut.clear();
  if (!profile_.isNt()) return error::kCallNotImplemented;
  std::vector<TokenGroup> list = groups();
  if (TokenGroupsSize(list) > bufferBytes) return err::kInsufficientBuffer;
  groupsOut = std::move(list);
  return err::kSuccess;
}

bool SimHost::holdsPrivilege(std::string_view name) const {
  if (EqualNoCase(name, "SeShutdownPrivilege")) return shutdownHeld_;
  if (Contains(kUserPrivileges, name)) return true;
  return admin_ == AdminMembership::kEnabled && !Contains(kAdminOnlyOutside, name);
}

Win32Error SimHost::enablePrivilege(const char* name) {
  if (!profile_.isNt()) return error::kCallNotImplemented;
  if (!Contains(kKnownPrivileges, View(name))) return err::kNoSuchPrivilege;
  // AdjustTokenPrivileges succeeds either way; the last error tells.
  if (!holdsPrivilege(View(name))) return err::kNotAllAssigned;
  enabled_.insert(std::string(View(name)));
  return err::kSuccess;
}

Win32Error SimHost::exitWindows(std::uint32_t flags) {
  if (profile_.isNt() && (flags & kShutdownFlags) != 0 &&
      enabled_.count("SeShutdownPrivilege") == 0) {
    return err::kPrivilegeNotHeld;
  }
  exitRequests_.push_back(flags);
  return err::kSuccess;
}

Win32Error SimHost::computerName(char* buffer, std::uint32_t* size) {
  if (profile_.platformId == platform::platform_id::kWin32s) return error::kCallNotImplemented;
  if (size == nullptr) return err::kInvalidParameter;
  if (buffer == nullptr || *size < computerName_.size() + 1) {
    *size = Count32(computerName_.size() + 1);
    return err::kBufferOverflow;
  }
  std::memcpy(buffer, computerName_.c_str(), computerName_.size() + 1);
  *size = Count32(computerName_.size());
  return err::kSuccess;
}

std::uint32_t SimHost::moduleFileName(char* buffer, std::uint32_t size) {
  if (buffer == nullptr || size == 0) return 0;
  const std::string& path = moduleFileName_;
  if (path.size() < size) {
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return Count32(path.size());
  }
  // Cut: Vista and later terminate within the buffer; earlier versions
  // fill it entirely and leave it unterminated. Both return the size.
  if (profile_.isNt() && profile_.majorVersion >= 6) {
    CopyTruncated(path, buffer, size);
  } else {
    std::memcpy(buffer, path.data(), size);
  }
  return size;
}

Win32Error SimHost::fileVersion(const char* path, platform::FileVersion& version) {
  if (auto fault = faults_.check("GetFileVersionInfoSizeA", View(path))) return *fault;
  const auto found = fileVersions_.find(std::string(View(path)));
  if (found == fileVersions_.end()) return err::kResourceTypeNotFound;
  version = found->second;
  return err::kSuccess;
}

void SimHost::globalMemoryStatus(platform::MemoryStatus& status) {
  faults_.check("GlobalMemoryStatus");
  // GlobalMemoryStatus cannot fail: it fills the record whatever its length.
  status = memory_;
}

platform::Win32Error SimHost::createMutex(const char* name, platform::MutexHandle& mutex) {
  mutex = platform::MutexHandle{nextMutex_};
  nextMutex_ += 4;
  const std::string key = name != nullptr ? name : "";
  mutexHandles_[mutex] = key;
  return ++mutexes_[key] > 1 && !key.empty() ? platform::error::kAlreadyExists
                                             : platform::error::kSuccess;
}

platform::Win32Error SimHost::closeMutex(platform::MutexHandle mutex) {
  const auto it = mutexHandles_.find(mutex);
  if (it == mutexHandles_.end()) return platform::error::kInvalidHandle;
  if (--mutexes_[it->second] == 0) mutexes_.erase(it->second);
  mutexHandles_.erase(it);
  return platform::error::kSuccess;
}

}  // namespace sim

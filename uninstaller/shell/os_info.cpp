#include "shell/os_info.h"

#include <vector>

namespace {

std::int32_t VersionCode9x(std::uint32_t minor) {
  switch (minor) {
    case 0:
      return COSInfo::kWindows95;
    case 10:
      return COSInfo::kWindows98;
    case 90:
      return COSInfo::kWindowsMe;
    default:
      return COSInfo::kOther;
  }
}

std::int32_t VersionCodeNt(std::uint32_t major, std::uint32_t minor) {
  switch (major) {
    case 3:
      return COSInfo::kNt3;
    case 4:
      return COSInfo::kNt4;
    case 5:
      return minor == 1 ? COSInfo::kWindowsXp : COSInfo::kWindows2000;
    case 6:
      return COSInfo::kWindowsXp;
    default:
      return COSInfo::kOther;
  }
}

// S-1-5-32-544 in its binary form: revision 1, two sub-authorities, the NT
// authority (5), then the RIDs 32 (built-in domain) and 544 (Administrators).
const std::vector<std::uint8_t>& AdministratorsSid() {
  static const std::vector<std::uint8_t> sid = {1,  2, 0, 0, 0,    0,    0, 5,
                                                32, 0, 0, 0, 0x20, 0x02, 0, 0};
  return sid;
}

// The size of a token's group list as GetTokenInformation lays it out.
constexpr std::uint32_t kTokenGroupsBuffer = 4096;

}  // namespace

COSInfo::COSInfo(platform::Host& host) : host_(&host) { refresh(); }

void COSInfo::refresh() {
  version_ = platform::OsVersionInfo{};
  version_.size = 148;
  versionCode_ = 0;
  platformCode_ = 0;
  if (!host_->getVersion(version_)) {
    version_ = platform::OsVersionInfo{};
    version_.size = 148;
    return;
  }
  switch (version_.platformId) {
    case platform::platform_id::kWin32s:
      platformCode_ = kPlatformWin32s;
      versionCode_ = kWin32s;
      break;
    case platform::platform_id::kWindows:
      platformCode_ = kPlatform9x;
      versionCode_ = VersionCode9x(version_.minorVersion);
      break;
    case platform::platform_id::kNt:
      platformCode_ = kPlatformNt;
      versionCode_ = VersionCodeNt(version_.majorVersion, version_.minorVersion);
      break;
    default:
      break;
  }
}

bool COSInfo::isAdministrator() const {
  if (!isNT()) return true;
  std::vector<platform::TokenGroup> groups;
  if (host_->tokenGroups(kTokenGroupsBuffer, groups) != platform::error::kSuccess) return false;
  for (const platform::TokenGroup& group : groups) {
    if (group.sid == AdministratorsSid()) return true;
  }
  return false;
}

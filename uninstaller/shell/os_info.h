// What Windows the program runs on, and whether its user may uninstall.
#pragma once

#include <cstdint>

#include "platform/host.h"

class COSInfo {
 public:
  // versionCode values.
  static constexpr std::int32_t kOther = 0;
  static constexpr std::int32_t kWin32s = 1;
  static constexpr std::int32_t kWindows95 = 2;
  static constexpr std::int32_t kWindows98 = 3;
  static constexpr std::int32_t kNt3 = 4;
  static constexpr std::int32_t kNt4 = 5;
  static constexpr std::int32_t kWindows2000 = 6;  // and every 5.x but 5.1
  static constexpr std::int32_t kWindowsMe = 7;
  static constexpr std::int32_t kWindowsXp = 8;  // 5.1 and every 6.x
  // platformCode values.
  static constexpr std::int32_t kPlatformWin32s = 1;
  static constexpr std::int32_t kPlatform9x = 2;
  static constexpr std::int32_t kPlatformNt = 3;

  // Reads the version at once.
  explicit COSInfo(platform::Host& host);

  // Clears the record and reads it again with GetVersionExA; when that fails
  // the record stays zeroed and both codes are 0.
  void refresh();

  std::int32_t versionCode() const { return versionCode_; }
  std::int32_t platformCode() const { return platformCode_; }
  bool isWin32s() const { return platformCode_ == kPlatformWin32s; }
  bool isWin9x() const { return platformCode_ == kPlatform9x; }
  bool isNT() const { return platformCode_ == kPlatformNt; }
  const platform::OsVersionInfo& version() const { return version_; }

  // Yes off the NT family. On NT, yes when the process token lists the
  // built-in Administrators group (S-1-5-32-544) among its groups, whatever
  // the group's attributes: a deny-only membership counts too.
  bool isAdministrator() const;

 private:
  platform::Host* host_;
  platform::OsVersionInfo version_{};
  std::int32_t versionCode_ = 0;
  std::int32_t platformCode_ = 0;
};

// The profile (INI) functions of KERNEL32.
//
// Windows reads INI files with its own rules: section and key names compare
// without regard to case, the first match wins, values are trimmed of
// blanks and one pair of surrounding quotes is removed. On the NT family the
// [windows] section of win.ini ("the profile") lives in the registry.
#pragma once

#include <cstdint>

#include "win32_types.h"

namespace platform {

// Each operation mirrors the Win32 function named beside it; the counts are
// those the functions return (characters copied, without the NUL).
class IniFiles {
 public:
  virtual ~IniFiles() = default;

  // GetPrivateProfileStringA. A null section or key lists the section or key
  // names as a multi-string, as Windows does.
  virtual std::uint32_t getPrivateString(const char* section, const char* key,
                                         const char* defaultValue, char* buffer, std::uint32_t size,
                                         const char* file) = 0;
  // WritePrivateProfileStringA. A null value deletes the key, a null key the
  // whole section.
  virtual bool writePrivateString(const char* section, const char* key, const char* value,
                                  const char* file) = 0;
  // GetProfileStringA: win.ini.
  virtual std::uint32_t getProfileString(const char* section, const char* key,
                                         const char* defaultValue, char* buffer,
                                         std::uint32_t size) = 0;
  // WriteProfileStringA: win.ini.
  virtual bool writeProfileString(const char* section, const char* key, const char* value) = 0;
};

}  // namespace platform

// The profile (INI) functions of KERNEL32.
#pragma once

#include "platform/ini_files.h"

namespace win32 {

class Win32Ini final : public platform::IniFiles {
 public:
  std::uint32_t getPrivateString(const char* section, const char* key, const char* defaultValue,
                                 char* buffer, std::uint32_t size, const char* file) override;
  bool writePrivateString(const char* section, const char* key, const char* value,
                          const char* file) override;
  std::uint32_t getProfileString(const char* section, const char* key, const char* defaultValue,
                                 char* buffer, std::uint32_t size) override;
  bool writeProfileString(const char* section, const char* key, const char* value) override;
};

}  // namespace win32

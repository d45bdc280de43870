// The profile (INI) functions over the simulated files, with the rules of
// the Windows profile code:
// - a file name without a path is in the Windows directory;
// - lines are trimmed of blanks; "[name]" (up to the last ']') starts a
//   section whose name is trimmed too; any other line is a key, split at its
//   first '=' with the blanks around the '=' dropped;
// - section and key names compare without regard to case, and the first
//   match wins; lines beginning with ';' are comments;
// - a value read back loses one pair of surrounding double or single
//   quotes; a default loses its trailing blanks;
// - results are cut to the buffer: size - 1 characters for a value, size - 2
//   for the multi-string lists of section or key names.
// Writing rewrites only the lines concerned, so comments and layout stay.
// On the NT family, sections listed under HKLM\SOFTWARE\Microsoft\Windows
// NT\CurrentVersion\IniFileMapping\<file> (value = section, data "USR:" or
// "SYS:" and a key path) live in the registry for files in the Windows
// directory: win.ini's [windows], [devices] and [PrinterPorts] are the
// user's keys below Software\Microsoft\Windows NT\CurrentVersion. Values
// read from there are not trimmed or unquoted. Simplified: the per-key
// mapping subkeys of IniFileMapping and the "!", "#" and "@" modifiers are
// not modelled, and the section-name list shows only the file's sections.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "os_profiles.h"
#include "platform/ini_files.h"

namespace sim {

class SimFileSystem;
class SimRegistry;

class SimIniFiles final : public platform::IniFiles {
 public:
  SimIniFiles(const OsProfile& profile, SimFileSystem& files, SimRegistry& registry);

  std::uint32_t getPrivateString(const char* section, const char* key, const char* defaultValue,
                                 char* buffer, std::uint32_t size, const char* file) override;
  bool writePrivateString(const char* section, const char* key, const char* value,
                          const char* file) override;
  std::uint32_t getProfileString(const char* section, const char* key, const char* defaultValue,
                                 char* buffer, std::uint32_t size) override;
  bool writeProfileString(const char* section, const char* key, const char* value) override;

 private:
  // The full path the profile functions use for a file name.
  std::string resolve(std::string_view file) const;
  // The registry key ("HKCU\\...") that holds a mapped section, if any.
  std::optional<std::string> mappedKey(const std::string& path, std::string_view section) const;
  // The file's text, or nothing when it is missing or cannot be read.
  std::optional<std::string> readText(const std::string& path);
  bool writeText(const std::string& path, const std::string& text);

  const OsProfile& profile_;
  SimFileSystem& files_;
  SimRegistry& registry_;
};

}  // namespace sim

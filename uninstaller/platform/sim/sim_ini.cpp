#include "sim_ini.h"

#include <cstring>
#include <vector>

#include "ini_text.h"
#include "sim_files.h"
#include "sim_path.h"
#include "sim_registry.h"
#include "sim_text.h"

namespace sim {
namespace {

namespace err = platform::error;

constexpr const char* kMappingKey =
    "HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\IniFileMapping\\";
constexpr std::uint32_t kTruncateExisting = 5;  // TRUNCATE_EXISTING

// A value as GetPrivateProfileStringA returns it: one pair of surrounding
// quotes goes, and the closing quote is dropped by cutting the last
// character when the buffer was large enough to reach it.
std::uint32_t CopyEntry(std::string_view value, char* buffer, std::uint32_t size) {
  const bool quoted = value.size() > 1 && (value.front() == '"' || value.front() == '\'') &&
                      value.back() == value.front();
  if (!quoted) return Count32(CopyTruncated(value, buffer, size));
  const std::string_view rest = value.substr(1);
  std::size_t n = CopyTruncated(rest, buffer, size);
  if (size >= rest.size() && n > 0) buffer[--n] = '\0';
  return Count32(n);
}

// A list of names as a multi-string. When it does not fit (with room to
// spare for the final NUL), the list is cut to size - 2 characters and
// ended by two NULs, and the result is size - 2.
std::uint32_t CopyList(const std::vector<std::string>& names, char* buffer, std::uint32_t size) {
  std::string packed;
  for (const std::string& name : names) packed += name + '\0';
  if (size == 1) {
    buffer[0] = '\0';
    return 0;
  }
  if (packed.size() + 2 <= size) {
    std::memcpy(buffer, packed.data(), packed.size());
    buffer[packed.size()] = '\0';
    return Count32(packed.size());
  }
  std::memcpy(buffer, packed.data(), size - 2);
  buffer[size - 2] = '\0';
  buffer[size - 1] = '\0';
  return size - 2;
}

std::string TrimTrailingSpaces(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return std::string(text);
}

}  // namespace

SimIniFiles::SimIniFiles(const OsProfile& profile, SimFileSystem& files, SimRegistry& registry)
    : profile_(profile), files_(files), registry_(registry) {}

std::string SimIniFiles::resolve(std::string_view file) const {
  const bool bare =
      file.find_first_of("\\/") == std::string_view::npos && !(file.size() >= 2 && file[1] == ':');
  if (bare) return profile_.windowsDirectory + "\\" + std::string(file);
  char current[platform::kMaxPath];
  files_.currentDirectory(current, sizeof current);
  DosPath cwd;
  DosPath full;
  if (MakeFullPath(current, DosPath{}, cwd) != err::kSuccess ||
      MakeFullPath(file, cwd, full) != err::kSuccess) {
    return std::string(file);
  }
  return full.text();
}

std::optional<std::string> SimIniFiles::mappedKey(const std::string& path,
                                                  std::string_view section) const {
  if (!profile_.isNt() || section.empty()) return std::nullopt;
  const std::size_t cut = path.rfind('\\');
  if (cut == std::string::npos || !EqualNoCase(path.substr(0, cut), profile_.windowsDirectory)) {
    return std::nullopt;
  }
  std::optional<std::string> target =
      registry_.getString(kMappingKey + path.substr(cut + 1), TrimProfileBlanks(section));
  if (!target) return std::nullopt;
  std::string_view rest = *target;
  while (!rest.empty() && (rest.front() == '!' || rest.front() == '#' || rest.front() == '@')) {
    rest.remove_prefix(1);
  }
  if (StartsWithNoCase(rest, "USR:")) return "HKCU\\" + std::string(rest.substr(4));
  if (StartsWithNoCase(rest, "SYS:")) return "HKLM\\SOFTWARE\\" + std::string(rest.substr(4));
  return std::nullopt;
}

std::optional<std::string> SimIniFiles::readText(const std::string& path) {
  platform::File file(files_);
  constexpr std::uint32_t kShareAll =
      platform::file_share::kRead | platform::file_share::kWrite | platform::file_share::kDelete;
  if (files_.createFile(path.c_str(), platform::file_access::kGenericRead, kShareAll,
                        platform::file_disposition::kOpenExisting, 0,
                        file.out()) != err::kSuccess) {
    return std::nullopt;
  }
  std::uint64_t size = 0;
  if (files_.fileSize(file.get(), size) != err::kSuccess) return std::nullopt;
  std::string text(static_cast<std::size_t>(size), '\0');
  std::uint32_t read = 0;
  if (files_.readFile(file.get(), text.data(), Count32(text.size()), read) != err::kSuccess) {
    return std::nullopt;
  }
  text.resize(read);
  return text.substr(0, text.find('\0'));
}

bool SimIniFiles::writeText(const std::string& path, const std::string& text) {
  platform::File file(files_);
  const std::uint32_t disposition =
      files_.exists(path) ? kTruncateExisting : platform::file_disposition::kCreateNew;
  if (files_.createFile(path.c_str(), platform::file_access::kGenericWrite,
                        platform::file_share::kRead | platform::file_share::kWrite, disposition, 0,
                        file.out()) != err::kSuccess) {
    return false;
  }
  std::uint32_t written = 0;
  return files_.writeFile(file.get(), text.data(), Count32(text.size()), written) == err::kSuccess;
}

std::uint32_t SimIniFiles::getPrivateString(const char* section, const char* key,
                                            const char* defaultValue, char* buffer,
                                            std::uint32_t size, const char* file) {
  if (buffer == nullptr || size == 0) return 0;
  const std::string path = resolve(file != nullptr ? file : "win.ini");
  const std::optional<std::string> text = readText(path);
  const IniDocument document(text.value_or(""));

  if (section == nullptr) return CopyList(document.sectionNames(), buffer, size);

  const std::optional<std::string> mapped = mappedKey(path, section);
  if (key == nullptr) {
    std::vector<std::string> names;
    if (mapped) {
      names = registry_.valueNames(*mapped);
    } else if (const IniSection* s = document.findSection(section)) {
      names = IniDocument::keyNames(*s);
    }
    if (names.empty()) return CopyEntry(View(defaultValue), buffer, size);
    return CopyList(names, buffer, size);
  }

  const std::string fallback = TrimTrailingSpaces(View(defaultValue));
  if (mapped) {
    const std::optional<std::string> value = registry_.getString(*mapped, key);
    return Count32(CopyTruncated(value.value_or(fallback), buffer, size));
  }
  if (!text) return Count32(CopyTruncated(fallback, buffer, size));
  const IniSection* s = document.findSection(section);
  const IniKey* k = s != nullptr ? IniDocument::findKey(*s, key) : nullptr;
  return CopyEntry(k != nullptr && k->value ? std::string_view(*k->value) : fallback, buffer, size);
}

bool SimIniFiles::writePrivateString(const char* section, const char* key, const char* value,
                                     const char* file) {
  // All three null flushes the profile cache, and reports false.
  if (section == nullptr) return false;
  const std::string path = resolve(file != nullptr ? file : "win.ini");

  if (const std::optional<std::string> mapped = mappedKey(path, section)) {
    if (StartsWithNoCase(*mapped, "HKLM") && !registry_.mayWriteMachine()) return false;
    if (key == nullptr) {
      for (const std::string& name : registry_.valueNames(*mapped))
        registry_.removeValue(*mapped, name);
      return true;
    }
    if (value == nullptr) return registry_.removeValue(*mapped, key);
    registry_.setString(*mapped, key, value);
    return true;
  }

  std::optional<std::string> text = readText(path);
  if (!text && files_.exists(path)) return false;  // there but unreadable
  IniDocument document(text.value_or(""));
  if (key == nullptr) {
    if (!document.deleteSection(section)) return true;
  } else if (value == nullptr) {
    if (!document.deleteKey(section, key)) return true;
  } else {
    std::string_view v = value;
    while (!v.empty() && (v.front() == ' ' || v.front() == '\t')) v.remove_prefix(1);
    document.setValue(section, key, v);
  }
  return writeText(path, document.text());
}

std::uint32_t SimIniFiles::getProfileString(const char* section, const char* key,
                                            const char* defaultValue, char* buffer,
                                            std::uint32_t size) {
  return getPrivateString(section, key, defaultValue, buffer, size, "win.ini");
}

bool SimIniFiles::writeProfileString(const char* section, const char* key, const char* value) {
  return writePrivateString(section, key, value, "win.ini");
}

}  // namespace sim

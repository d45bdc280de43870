// The programs that start at log-on: values of the Run key, or, on Win32s,
// the words of win.ini's [windows] "load" line.
#include <cstring>
#include <string>

#include "platform/crt.h"
#include "profile/text_utils.h"
#include "removal/ini_removal.h"

namespace {

namespace error = platform::error;

constexpr char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr std::uint32_t kRunKeyString = 51;
constexpr std::uint32_t kLoadLineSize = 256;

// The whole "load" line; false when it may not have fit the buffer, for a
// line written back from a cut copy would lose its tail.
bool ReadLoadLine(platform::IniFiles& ini, std::string& line) {
  char buffer[kLoadLineSize] = {};
  const std::uint32_t n = ini.getProfileString("windows", "load", "", buffer, kLoadLineSize);
  line.assign(buffer, n);
  return n < kLoadLineSize - 1;
}

// Where the program stands in the line as a whole word (after the start or
// a space, before a space or the end), ignoring case; npos when nowhere.
std::size_t FindWord(const std::string& line, const char* program) {
  const std::size_t length = std::strlen(program);
  if (length == 0) return std::string::npos;
  for (std::size_t at = 0; at + length <= line.size(); ++at) {
    if ((at == 0 || line[at - 1] == ' ') &&
        (at + length == line.size() || line[at + length] == ' ') &&
        crt::StrNCmpI(line.c_str() + at, program, length) == 0) {
      return at;
    }
  }
  return std::string::npos;
}

int RemoveLoadWord(RemovalContext& context, const char* program) {
  platform::IniFiles& ini = context.system.ini;
  ini.writeProfileString(nullptr, nullptr, nullptr);  // flushes the cache
  std::string line;
  if (!ReadLoadLine(ini, line)) {
    context.journal.kept(ActionKind::kRunEntry, program, KeptReason::kTooLong);
    return 0;
  }
  const std::size_t at = FindWord(line, program);
  if (at == std::string::npos) {
    context.journal.notPresent(ActionKind::kRunEntry, program);
    return 0;
  }
  std::size_t length = std::strlen(program);
  if (at + length < line.size()) ++length;  // the space after it
  line.erase(at, length);
  const bool written = ini.writeProfileString("windows", "load", line.c_str());
  ini.writeProfileString(nullptr, nullptr, nullptr);
  if (written) {
    context.journal.removed(ActionKind::kRunEntry, program);
  } else {
    context.journal.failed(ActionKind::kRunEntry, program, error::kWriteFault);
  }
  return written ? 1 : 0;
}

int DeleteRunValue(RemovalContext& context, const char* value) {
  platform::Registry& registry = context.system.registry;
  const char* runKey = context.strings.text(kRunKeyString);
  if (runKey == nullptr || runKey[0] == '\0') runKey = kRunKey;
  platform::RegKey key(registry);
  platform::Win32Error e = registry.openKey(platform::hkey::kLocalMachine, runKey,
                                            platform::regsam::kAllAccess, key.out());
  if (e == error::kSuccess) e = registry.deleteValue(key.get(), value);
  const std::string item = std::string("HKLM\\") + runKey + "\\" + value;
  if (e == error::kSuccess) {
    context.journal.removed(ActionKind::kRunEntry, item);
  } else if (e == error::kFileNotFound) {
    context.journal.notPresent(ActionKind::kRunEntry, item);
  } else {
    context.journal.failed(ActionKind::kRunEntry, item, e);
  }
  return e == error::kSuccess ? 1 : 0;
}

}  // namespace

void RemoveLoadRunEntries(RemovalContext& context) {
  for (const PathString& entry : context.profile.removeSet.slot(ItemCategory::DeleteLoadRun)) {
    PathString value(entry);
    char* program = SplitAt(value.data(), ',');
    if (program == nullptr) continue;
    TrimChar(value.data(), '"');
    TrimChar(program, '"');
    if (value.isEmpty() || program[0] == '\0') continue;
    RemoveLoadRunEntry(context, value.c_str(), program);
  }
}

int RemoveLoadRunEntry(RemovalContext& context, const char* value, const char* program) {
  if (context.os.isWin32s()) return RemoveLoadWord(context, program);
  return DeleteRunValue(context, value);
}

int AddLoadRunEntry(RemovalContext& context, const char* value, const char* program) {
  if (context.os.isWin32s()) {
    platform::IniFiles& ini = context.system.ini;
    std::string line;
    if (!ReadLoadLine(ini, line)) return 0;
    if (line.find(program) != std::string::npos) return 1;
    if (!line.empty()) line += ' ';
    line += program;
    if (line.size() >= kLoadLineSize) return 0;
    return ini.writeProfileString("windows", "load", line.c_str()) ? 1 : 0;
  }
  platform::Registry& registry = context.system.registry;
  platform::RegKey key(registry);
  if (registry.openKey(platform::hkey::kLocalMachine, kRunKey, platform::regsam::kAllAccess,
                       key.out()) != error::kSuccess) {
    return 0;
  }
  const auto size = static_cast<std::uint32_t>(std::strlen(program) + 1);
  return registry.setValue(key.get(), value, platform::regtype::kSz, program, size) ==
                 error::kSuccess
             ? 1
             : 0;
}

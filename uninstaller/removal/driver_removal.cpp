// Printer drivers that no kept printer needs, their registry keys, and the
// OEM copies of the package's INF files.
#include "removal/driver_removal.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/crt.h"
#include "shell/model_variant.h"

namespace {

namespace error = platform::error;
using platform::Win32Error;

constexpr char k9xDriversKey[] =
    "System\\CurrentControlSet\\control\\Print\\Environments\\Windows 4.0\\Drivers\\";
constexpr char kNtEnvironmentsKey[] = "SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\";
// The OEM INF name is given back in a buffer of 20 bytes.
constexpr std::size_t kMaxOemInfName = 19;
// Wine's size query answers 0 needed: the list is then read into this much.
constexpr std::uint32_t kInfListFallback = 64 * 1024;
constexpr std::uint32_t kPrinterNameChars = 1024;

bool IsEnvironmentNamed(const char* environment) {
  return environment != nullptr && environment[0] != '\0';
}

// The drivers of the package's printers: those a kept printer uses, and
// those of the printers that go, each sorted.
struct PrinterDrivers {
  std::vector<PathString> kept;
  std::vector<PathString> going;
};

PrinterDrivers DriversOfPrinters(const UninstallProfile& profile) {
  PrinterDrivers drivers;
  for (const PrinterEntry& entry : profile.printers) {
    if (entry.keep != 0) {
      drivers.kept.push_back(entry.driver);
    } else if (entry.foreign == 0) {
      drivers.going.push_back(entry.driver);
    }
  }
  std::sort(drivers.kept.begin(), drivers.kept.end());
  std::sort(drivers.going.begin(), drivers.going.end());
  return drivers;
}

bool Holds(const std::vector<PathString>& sorted, const PathString& name) {
  return std::binary_search(sorted.begin(), sorted.end(), name);
}

// The remove set's drivers and those of the printers that go, less the ones
// a kept printer uses too: sorted, without duplicates.
std::vector<PathString> CandidateDrivers(const UninstallProfile& profile,
                                         const PrinterDrivers& printers) {
  const StringList& listed = profile.removeSet.slot(ItemCategory::Drivers);
  std::vector<PathString> candidates(listed.begin(), listed.end());
  for (const PathString& driver : printers.going) {
    if (!Holds(printers.kept, driver)) candidates.push_back(driver);
  }
  std::stable_sort(candidates.begin(), candidates.end());
  candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
  return candidates;
}

// A "(PSCRIPT)" driver goes with the masking tool unless a printer of its
// very name exists.
bool IsOrphanedPscriptDriver(RemovalContext& context, const char* driver) {
  if (context.profile.pavaneToolRetained || std::strstr(driver, "(PSCRIPT)") == nullptr)
    return false;
  platform::Printer printer(context.system.spooler);
  return context.system.spooler.openPrinter(driver, platform::printer_access::kUse,
                                            printer.out()) != error::kSuccess;
}

// Queues the driver's registry keys for the registry step.
void QueueDriverKeys(RemovalContext& context, const char* environment, const char* driver) {
  ItemSet& removeSet = context.profile.removeSet;
  auto queue = [&](const PathString& key) {
    if (!removeSet.AddRegistryKey(platform::hkey::kLocalMachine, key.c_str(), "", false))
      context.journal.kept(ActionKind::kRegistryKey, key.c_str(), KeptReason::kTooLong);
  };
  if (context.os.isWin9x()) {
    PathString key(k9xDriversKey);
    if (key.append(driver)) {
      queue(key);
    } else {
      context.journal.kept(ActionKind::kRegistryKey, driver, KeptReason::kTooLong);
    }
  } else if (context.os.isNT()) {
    PathString base(kNtEnvironmentsKey);
    base.append(IsEnvironmentNamed(environment) ? environment : "Windows NT x86");
    base.append("\\Drivers\\");
    for (const char* version : {"Version-0\\", "Version-1\\", "Version-2\\", "Version-3\\"}) {
      PathString key(base);
      if (key.append(version) && key.append(driver)) {
        queue(key);
      } else {
        context.journal.kept(ActionKind::kRegistryKey, driver, KeptReason::kTooLong);
      }
    }
  }
}

void UninstallOemInfOf(RemovalContext& context, const char* driver) {
  const PathString infName = FindOemInf(context, driver);
  if (infName.isEmpty()) return;
  char full[platform::kMaxPath] = {};
  char* filePart = nullptr;
  const std::uint32_t length =
      context.system.files.fullPathName(infName.c_str(), full, sizeof full, &filePart);
  if (length == 0 || length >= sizeof full || filePart == nullptr) return;
  const Win32Error result =
      context.system.devices.uninstallOemInf(filePart, platform::kSuoiForceDelete);
  if (result == error::kSuccess) {
    context.journal.removed(ActionKind::kOemInf, infName.c_str());
  } else {
    context.journal.failed(ActionKind::kOemInf, infName.c_str(), result);
  }
}

void RemoveDriver(RemovalContext& context, const char* environment, const char* driver) {
  const Win32Error deleted = context.system.spooler.deletePrinterDriver(environment, driver);
  const std::string item = std::string(driver) + " (" +
                           (IsEnvironmentNamed(environment) ? environment : "default") + ")";
  if (deleted == error::kSuccess) {
    context.journal.removed(ActionKind::kDriver, item);
  } else {
    // A driver still in use stays installed (3001).
    context.journal.failed(ActionKind::kDriver, item, deleted);
  }
  QueueDriverKeys(context, environment, driver);
  UninstallOemInfOf(context, driver);
}

}  // namespace

void RemoveDrivers(RemovalContext& context, const char* environment) {
  platform::Spooler& spooler = context.system.spooler;
  std::vector<platform::DriverInfo2> installed;
  std::uint32_t needed = 0;
  spooler.enumPrinterDrivers(environment, 0, installed, needed);
  if (needed == 0 ||
      spooler.enumPrinterDrivers(environment, needed, installed, needed) != error::kSuccess) {
    return;
  }
  const PrinterDrivers printers = DriversOfPrinters(context.profile);
  const std::vector<PathString> candidates = CandidateDrivers(context.profile, printers);
  for (const platform::DriverInfo2& driver : installed) {
    PathString name(driver.name.c_str());
    if (driver.name.size() > PathString::kMaxLength) {
      context.journal.kept(ActionKind::kDriver, driver.name, KeptReason::kTooLong);
      continue;
    }
    if (Holds(candidates, name) || IsOrphanedPscriptDriver(context, name.c_str())) {
      RemoveDriver(context, environment, name.c_str());
    } else if (Holds(printers.going, name) && Holds(printers.kept, name)) {
      context.journal.kept(ActionKind::kDriver, name.c_str(), KeptReason::kNeededByKeptPrinter);
    } else if (std::strstr(name.c_str(), "(PSCRIPT)") != nullptr &&
               !context.profile.pavaneToolRetained) {
      context.journal.kept(ActionKind::kDriver, name.c_str(), KeptReason::kInUse);
    }
  }
}

PathString FindOemInf(RemovalContext& context, const char* driverName) {
  platform::System& system = context.system;
  PathString found;
  platform::Library setupapi(system.libraries);
  if (system.libraries.loadLibrary("setupapi.dll", setupapi.out()) != error::kSuccess) return found;
  char windows[platform::kMaxPath] = {};
  const std::uint32_t length = system.folders.windowsDirectory(windows, sizeof windows);
  if (length == 0 || length >= sizeof windows) return found;
  PathString infDirectory(windows);
  if (!infDirectory.append("\\INF")) return found;

  // Wine lists nothing for the default directory, so it is named; its size
  // query answers 0, so a large list is asked for then.
  std::uint32_t required = 0;
  system.devices.getInfFileList(infDirectory.c_str(), platform::kInfStyleWin4, nullptr, 0,
                                &required);
  std::vector<char> names(std::max(required, kInfListFallback) + 1, '\0');
  if (system.devices.getInfFileList(infDirectory.c_str(), platform::kInfStyleWin4, names.data(),
                                    static_cast<std::uint32_t>(names.size() - 1),
                                    &required) != error::kSuccess) {
    return found;
  }
  const char* key = ModelVariant == kModelVariantA4 ? "PrinterName3" : "PrinterName2";
  for (const char* name = names.data(); *name != '\0'; name += std::strlen(name) + 1) {
    if (crt::StrNCmpI(name, "OEM", 3) != 0) continue;
    // A name cut to fit would name another file.
    if (std::strlen(name) > kMaxOemInfName) continue;
    PathString path(infDirectory);
    if (!path.append("\\") || !path.append(name)) continue;
    std::vector<char> printerName(kPrinterNameChars, '\0');
    system.ini.getPrivateString("Strings", key, "", printerName.data(), kPrinterNameChars,
                                path.c_str());
    if (printerName[0] != '\0' && std::strstr(printerName.data(), driverName) != nullptr) {
      found.assign(name);
      break;
    }
  }
  return found;
}

void SweepOemInfFiles(RemovalContext& context) {
  char windows[platform::kMaxPath] = {};
  const std::uint32_t length = context.system.folders.windowsDirectory(windows, sizeof windows);
  if (length == 0 || length >= sizeof windows) return;
  PathString directory(windows);
  if (!directory.append("\\inf\\")) return;
  PathString pattern(directory);
  if (!pattern.append("oem*.inf")) return;
  std::vector<platform::FindData> found;
  if (context.system.files.findFiles(pattern.c_str(), found) != error::kSuccess) return;
  for (const platform::FindData& file : found) {
    if (file.attributes & platform::file_attr::kDirectory) continue;
    DeleteMatchingOemInf(context, file, directory.c_str());
  }
}

namespace {

// The file's text as the C runtime reads it in text mode: CR LF becomes LF.
bool ReadText(platform::FileSystem& files, const char* path, std::string& text) {
  platform::File file(files);
  if (files.createFile(path, platform::file_access::kGenericRead, platform::file_share::kRead,
                       platform::file_disposition::kOpenExisting, 0, file.out()) != error::kSuccess)
    return false;
  std::string raw;
  char chunk[4096];
  for (;;) {
    std::uint32_t read = 0;
    if (files.readFile(file.get(), chunk, sizeof chunk, read) != error::kSuccess || read == 0)
      break;
    raw.append(chunk, read);
  }
  text.clear();
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
    text += raw[i];
  }
  return true;
}

// Whether line `lineNumber` (from 1), read as fgets reads lines into a
// buffer of 260 characters, begins with `match`.
bool LineBeginsWith(const std::string& text, std::int32_t lineNumber, const char* match) {
  constexpr std::size_t kLineChars = platform::kMaxPath - 1;
  std::size_t position = 0;
  for (std::int32_t number = 1; position < text.size(); ++number) {
    std::size_t end = text.find('\n', position);
    end = end == std::string::npos ? text.size() : end + 1;
    // fgets stops at a full buffer too: the rest is the next "line".
    end = std::min(end, position + kLineChars);
    if (number == lineNumber) {
      const std::size_t length = std::strlen(match);
      return end - position >= length && text.compare(position, length, match) == 0;
    }
    position = end;
  }
  return false;
}

void DeleteWithoutAttributes(RemovalContext& context, const char* path, std::uint32_t attributes) {
  platform::FileSystem& files = context.system.files;
  files.setAttributes(path,
                      attributes & ~(platform::file_attr::kReadOnly | platform::file_attr::kHidden |
                                     platform::file_attr::kSystem));
  const Win32Error deleted = files.deleteFile(path);
  if (deleted == error::kSuccess) {
    context.journal.removed(ActionKind::kOemInf, path);
  } else {
    context.journal.failed(ActionKind::kOemInf, path, deleted);
  }
}

}  // namespace

void DeleteMatchingOemInf(RemovalContext& context, const platform::FindData& found,
                          const char* directory) {
  const UninstallProfile& profile = context.profile;
  PathString path(directory);
  if (!path.append(found.name.c_str())) {
    context.journal.kept(ActionKind::kOemInf, found.name, KeptReason::kTooLong);
    return;
  }
  // An empty match text would match every OEM INF file of every vendor.
  if (profile.oemInfLine <= 0 || profile.oemInfString.isEmpty()) return;
  std::string text;
  if (!ReadText(context.system.files, path.c_str(), text)) return;
  if (!LineBeginsWith(text, profile.oemInfLine, profile.oemInfString.c_str())) return;

  DeleteWithoutAttributes(context, path.c_str(), found.attributes);
  if (path.length() < 3) return;
  PathString companion(path);
  std::memcpy(companion.data() + companion.length() - 3, "PNF", 3);
  std::uint32_t attributes = 0;
  if (context.system.files.getAttributes(companion.c_str(), attributes) == error::kSuccess &&
      attributes != platform::file_attr::kInvalid) {
    DeleteWithoutAttributes(context, companion.c_str(), attributes);
  }
}

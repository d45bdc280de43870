// The meaning of an uninstall script: its starter sections become profile
// entries, each filled from the category sections its line names, and its
// setting sections set the profile's settings.
#include <cstring>

#include "platform/file_system.h"
#include "platform/ini_files.h"
#include "profile/script_file.h"
#include "profile/text_utils.h"
#include "profile/uninstall_profile.h"
#include "shell/model_variant.h"

namespace {

// A starter section is fetched into a buffer of this size: the lines that
// do not fit are left out.
constexpr std::uint32_t kStarterBuffer = 260;
// The same for a category section.
constexpr std::uint32_t kCategoryBuffer = 4096;

constexpr const char kManufacturers[] = "UnPrinterMfgs";
constexpr const char kCatchAll[] = "Unz_CatchAll";
constexpr const char kIgnore[] = "Unx_Ignore";
constexpr const char kCommandLine[] = "CommandlineParam";
constexpr const char kScanner[] = "UnScannerDriver";
constexpr const char kFax[] = "UnFaxDriver";

// The categories that script sections fill, in the order they are read.
constexpr ItemCategory kScriptCategories[] = {
    ItemCategory::DeleteIni,       ItemCategory::DeleteLoadRun, ItemCategory::UnSelfRegister,
    ItemCategory::PrintProcessors, ItemCategory::Monitors,      ItemCategory::Services,
    ItemCategory::Hooks,           ItemCategory::Files,         ItemCategory::Shortcuts,
    ItemCategory::RegistryKeys};

const char* DriverStarterSection() {
  switch (ModelVariant) {
    case kModelVariantA3:
      return "UNTR820-SDriver";
    case kModelVariantA4:
      return "UNTR820Driver";
    default:
      return "UnPrinterDrivers";
  }
}

enum class EntryKind { Manufacturer, Driver, CatchAll, Ignore };

// Calls `visit` for each string of a multi-string. The next string is
// found before the visit, which may cut the current one in place.
template <typename Visit>
void ForEachString(char* multiString, Visit visit) {
  char* s = multiString;
  while (s != nullptr && *s != '\0') {
    char* next = SplitAt(s, '\0');
    visit(s);
    s = next;
  }
}

class Interpreter {
 public:
  Interpreter(const ScriptFile& script, platform::IniFiles& ini, std::uint32_t majorVersion)
      : script_(script), ini_(ini), majorVersion_(majorVersion) {}

  // Appends an entry for each line of a starter section.
  void readStarter(const char* section, EntryKind kind, std::vector<ItemSet>& entries) const {
    if (script_.EntryCount(section) == 0) return;
    char buffer[kStarterBuffer] = {};
    if (kind == EntryKind::Manufacturer) {
      script_.GetLines(section, buffer, sizeof buffer);
    } else {
      script_.GetKeys(section, buffer, sizeof buffer);
    }
    ForEachString(buffer, [&](char* line) { entries.push_back(buildEntry(line, kind)); });
  }

  // Reads a text value with the Windows profile-file rules.
  void readText(const char* section, const char* key, PathString& out) const {
    char text[PathString::kCapacity] = {};
    ini_.getPrivateString(section, key, "", text, sizeof text, script_.path().c_str());
    out.assign(text);
  }

  // The scanner or fax settings: the flag is set by a positive number and
  // holds only while the script names the product GUID for this Windows.
  void readProduct(const char* section, const char* flagKey, bool& flag, PathString& guid) const {
    if (script_.EntryCount(section) == 0) return;
    if (script_.GetInt(section, flagKey, 0) > 0) flag = true;
    if (!flag) return;
    readText(section, majorVersion_ > 5 ? "ProductGUID_VISTA" : "ProductGUID_XP", guid);
    if (guid.isEmpty()) flag = false;
  }

 private:
  // An entry from one starter line: name,base,number.
  ItemSet buildEntry(char* line, EntryKind kind) const {
    ItemSet entry;
    entry.scriptPath = script_.path();
    entry.isManufacturer = kind == EntryKind::Manufacturer;
    entry.isCatchAll = kind == EntryKind::CatchAll;
    entry.isIgnore = kind == EntryKind::Ignore;

    // A line with fewer than two commas has an empty section base; the
    // third field is not used.
    char* base = SplitAt(line, ',');
    SplitAt(base, ',');
    TrimChar(line, '"');
    entry.name.assign(line);
    entry.sectionBase.assign(base);

    for (ItemCategory category : kScriptCategories) readCategory(entry, category);
    if (kind != EntryKind::Manufacturer) entry.slot(ItemCategory::Drivers).append(entry.name);
    return entry;
  }

  // Fills one slot from the section "<base>.<suffix>".
  void readCategory(ItemSet& entry, ItemCategory category) const {
    PathString section = entry.sectionBase;
    section.append(".");
    section.append(CategorySectionSuffix(category));
    char buffer[kCategoryBuffer] = {};
    if (script_.GetLines(section.c_str(), buffer, sizeof buffer) == 0) return;
    StringList& slot = entry.slot(category);
    ForEachString(buffer, [&slot](char* line) { slot.append(line); });
    slot.Normalize();
  }

  const ScriptFile& script_;
  platform::IniFiles& ini_;
  std::uint32_t majorVersion_;
};

}  // namespace

int UninstallProfile::LoadScript(const char* path, const char** failureReason) {
  const char* ignored = nullptr;
  const char*& reason = failureReason ? *failureReason : ignored;
  reason = nullptr;

  platform::OsVersionInfo version;
  if (!host_->getVersion(version)) version = platform::OsVersionInfo{};

  ScriptFile script;
  if (!script.Load(*files_, path)) {
    reason = "failed to open file";
    return 0;
  }

  const char* driverSection = DriverStarterSection();
  if (script.EntryCount(kManufacturers) == 0 && script.EntryCount(driverSection) == 0 &&
      script.EntryCount(kCatchAll) == 0 && script.EntryCount(kIgnore) == 0) {
    reason = "no starter sections";
    return 0;
  }

  const Interpreter interpreter(script, *ini_, version.majorVersion);
  interpreter.readStarter(kManufacturers, EntryKind::Manufacturer, entries);
  interpreter.readStarter(driverSection, EntryKind::Driver, entries);

  if (script.EntryCount(kCommandLine) > 0) {
    if (script.GetInt(kCommandLine, "NOPICK", 0) > 0) allowPrinterChoice = false;
    if (script.GetInt(kCommandLine, "RemoveOEMInf", 0) > 0) {
      removeOemInf = true;
      oemInfLine = script.GetInt(kCommandLine, "OEMInfMatchLineNumber", 0);
      interpreter.readText(kCommandLine, "OEMInfMatchLineString", oemInfString);
    }
  }
  interpreter.readProduct(kFax, "UninstallFax", uninstallFax, faxProductGuid);
  interpreter.readProduct(kScanner, "UninstallScanner", uninstallScanner, scannerProductGuid);

  interpreter.readStarter(kCatchAll, EntryKind::CatchAll, entries);
  interpreter.readStarter(kIgnore, EntryKind::Ignore, entries);

  sortAndDedupEntries();
  return 1;
}

#include "script_input.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "profile/script_file.h"
#include "profile/uninstall_profile.h"
#include "shell/model_variant.h"
#include "test_machine.h"

namespace {

constexpr const char kPath[] = "C:\\Windows\\System32\\spool\\drivers\\x64\\3\\Mainscr0.unm";

void Check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "check failed: %s\n", what);
  std::abort();
}

// The bytes GetKeys or GetLines must report: each string with its NUL.
long long Needed(const ScriptSection& section, bool lines) {
  long long total = 0;
  for (const ScriptEntry& e : section.entries) {
    total += static_cast<long long>(e.key.length()) + 1;
    if (lines && !e.value.isEmpty()) total += static_cast<long long>(e.value.length()) + 1;
  }
  return total;
}

// The string GetKeys or GetLines makes of an entry.
std::string Rendered(const ScriptEntry& e, bool lines) {
  std::string s = e.key.c_str();
  if (lines && !e.value.isEmpty()) s += std::string("=") + e.value.c_str();
  return s;
}

bool IsFirstOfItsName(const ScriptFile& script, std::size_t index) {
  for (std::size_t i = 0; i < index; ++i) {
    if (script.sections()[i].name == script.sections()[index].name) return false;
  }
  return true;
}

void CheckQueries(const ScriptFile& script, std::uint32_t size) {
  const std::size_t checked = std::min<std::size_t>(script.sections().size(), 64);
  for (std::size_t k = 0; k < checked; ++k) {
    const ScriptSection& section = script.sections()[k];
    const char* name = section.name.c_str();
    if (section.name.isEmpty() || !IsFirstOfItsName(script, k)) continue;
    Check(script.EntryCount(name) == static_cast<int>(section.entries.size()),
          "EntryCount counts the first section of the name");
    for (const bool lines : {false, true}) {
      // A heap buffer of exactly `size` bytes, so that AddressSanitizer sees
      // any write past it.
      std::vector<char> buffer(size, '#');
      const int result = lines ? script.GetLines(name, buffer.data(), size)
                               : script.GetKeys(name, buffer.data(), size);
      if (section.entries.empty()) {
        Check(result == 0, "a section without entries gives 0");
        continue;
      }
      const long long needed = Needed(section, lines);
      Check(result == (needed < size ? needed : -needed), "the total and its sign");
      // The strings copied are the leading entries, in order.
      std::size_t offset = 0;
      for (const ScriptEntry& e : section.entries) {
        const std::string s = Rendered(e, lines);
        if (offset + s.size() + 1 >= size) break;
        Check(std::string(buffer.data() + offset) == s, "the strings are packed in order");
        offset += s.size() + 1;
      }
      if (offset > 0) Check(buffer[offset] == '\0', "the list ends in an extra NUL");
    }
    Check(script.GetInt(name, "", 7) == 7, "an empty key gives the default");
  }
}

void CheckPlan(const UninstallProfile& profile) {
  for (std::size_t i = 0; i < kItemCategoryCount; ++i) {
    Check(profile.removeSet.items[i].isNormalized(), "the remove set is normalised");
    Check(profile.keepSet.items[i].isNormalized(), "the keep set is normalised");
    for (const PathString& item : profile.removeSet.items[i]) {
      for (const ItemSet& e : profile.entries) {
        if (e.isCatchAll || e.isIgnore) {
          Check(!e.items[i].contains(item.c_str()), "no catch-all or ignore item is removed");
        }
      }
    }
  }
}

}  // namespace

void RunScriptInput(test::TestMachine& machine, const std::uint8_t* data, std::size_t size) {
  if (size == 0) return;
  const std::uint8_t control = data[0];
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

  ScriptFile memory;
  Check(memory.LoadText(kPath, text) == !text.empty(), "text loads unless empty");
  CheckQueries(memory, (control >> 3) * 9u);

  machine.writeFile(kPath, std::string(text));
  ModelVariant = (control & 3) == 1 ? kModelVariantA3 : (control & 3) == 2 ? kModelVariantA4 : 0;
  UninstallProfile profile(machine.system());
  const int loaded = profile.LoadScript(kPath);
  Check(loaded == 1 || profile.entries.empty(), "a failed load adds nothing");
  Check(loaded == 1 || profile.allowPrinterChoice, "a failed load sets nothing");

  // Every entry's name as a printer driver, alternately kept and removed.
  SettleMaskingTool(profile, (control & 4) != 0);
  for (std::size_t i = 0; i < profile.entries.size() && i < 16; ++i) {
    PrinterEntry printer;
    char name[16];
    std::snprintf(name, sizeof name, "P%zu", i);
    printer.name.assign(name);
    printer.driver = profile.entries[i].name;
    printer.keep = static_cast<std::int32_t>(i % 2);
    profile.printers.push_back(printer);
  }
  profile.BuildRemovalPlan();
  CheckPlan(profile);
  ModelVariant = 0;
}

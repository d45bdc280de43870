// The split of the all set into what stays and what goes, for the printers
// as the user selected them.
#include <map>
#include <optional>
#include <vector>

#include "platform/crt.h"
#include "platform/registry.h"
#include "profile/entry_index.h"
#include "profile/uninstall_profile.h"

namespace {

struct CaseInsensitiveLess {
  bool operator()(const PathString& a, const PathString& b) const { return a < b; }
};

// A printer made by the masking tool follows the printer it masks: every
// printer whose pavaneName names a printer being removed is marked for
// removal too, and so, in turn, are the printers that mask it, wherever they
// stand in the list. (Marking in one pass in list order would miss a masker
// listed before the printer it masks, and the next plan would then remove
// more than this one showed.)
void FollowMaskedPrinters(PrinterList& printers) {
  std::map<PathString, std::vector<std::size_t>, CaseInsensitiveLess> maskers;
  for (std::size_t i = 0; i < printers.size(); ++i) {
    if (!printers[i].pavaneName.isEmpty()) maskers[printers[i].pavaneName].push_back(i);
  }
  if (maskers.empty()) return;
  std::vector<std::size_t> pending;
  for (std::size_t i = 0; i < printers.size(); ++i) {
    if (printers[i].isToBeRemoved()) pending.push_back(i);
  }
  while (!pending.empty()) {
    const std::size_t removed = pending.back();
    pending.pop_back();
    const auto found = maskers.find(printers[removed].name);
    if (found == maskers.end()) continue;
    for (std::size_t i : found->second) {
      const bool wasKept = printers[i].keep != 0;
      printers[i].keep = 0;
      if (wasKept && printers[i].isToBeRemoved()) pending.push_back(i);
    }
    // The maskers of this name are marked; another printer of the same
    // name would mark them again to no effect.
    maskers.erase(found);
  }
}

// The masking tool's program: the 16-bit one on Win32s.
const char* PavaneProgram(const COSInfo& os) {
  return os.platformCode() == COSInfo::kPlatformWin32s ? "PAVANE.EXE" : "PAVANE32.EXE";
}

// The file name and extension of a path whose extension is ".unm" (any
// case); false for any other path.
bool ScriptFileName(const PathString& path, char* name /* kCapacity */) {
  char fname[PathString::kCapacity];
  char ext[PathString::kCapacity];
  crt::SplitPath(path.c_str(), nullptr, nullptr, fname, ext, PathString::kCapacity);
  if (crt::StrCmpI(ext, ".unm") != 0) return false;
  crt::MakePath(name, PathString::kCapacity, nullptr, nullptr, fname, ext);
  return true;
}

}  // namespace

int UninstallProfile::BuildRemovalPlan() {
  keepSet.clear();
  removeSet.clear();
  keptPrinterCount = 0;
  removedPrinterCount = 0;

  FollowMaskedPrinters(printers);

  // What the kept printers need, each entry once, in the order first needed.
  const EntryIndex index(entries);
  std::vector<bool> needed(entries.size(), false);
  std::vector<const ItemSet*> keep;
  const auto need = [&](std::size_t entry) {
    if (needed[entry]) return;
    needed[entry] = true;
    keep.push_back(&entries[entry]);
  };
  for (const PrinterEntry& printer : printers) {
    if (printer.foreign != 0 || printer.removed != 0) continue;
    std::optional<std::size_t> entry = index.find(printer.driver.c_str());
    if (!entry) entry = index.findManufacturer(printer.driver.c_str());
    if (printer.keep != 0) {
      ++keptPrinterCount;
      if (entry) need(*entry);
    } else {
      ++removedPrinterCount;
    }
  }

  // The package-wide items go into a copy of the all set: written into the
  // all set itself they would stay there, and a later plan in which a
  // printer stays would still remove them.
  ItemSet candidates = allSet;
  AddCommonItems(candidates);

  // Catch-all and ignore entries are never removed, whatever the selection.
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].isCatchAll || entries[i].isIgnore) need(i);
  }
  keepSet.UniteAll(keep);

  removeSet = std::move(candidates);
  removeSet.Subtract(keepSet);

  pavaneToolRetained = !removeSet.slot(ItemCategory::Files).contains(PavaneProgram(osInfo));

  SortEntries();
  return 1;
}

void UninstallProfile::AddCommonItems(ItemSet& target) const {
  if (keptPrinterCount != 0) return;

  ItemSet pavane;
  if (FindEntry(pavane, kPavaneEntryName)) target.Unite(pavane);

  StringList& files = target.slot(ItemCategory::Files);
  for (const ItemSet& entry : entries) {
    char name[PathString::kCapacity];
    if (ScriptFileName(entry.scriptPath, name)) files.append(name);
  }

  const auto local = platform::hkey::kLocalMachine;
  target.AddRegistryKey(local, "SOFTWARE\\VARDEL\\OEM0H", "", true);
  target.AddRegistryKey(local, "SOFTWARE\\VARDEL\\Lumaport", "", true);
  target.AddRegistryKey(local, "SOFTWARE\\VARDEL\\Filters", "", true);
  target.AddRegistryKey(local, "SOFTWARE\\VARDEL", "", false);
}

// The uninstaller's database of what the package installed and of what is
// to be removed: the entries read from the scripts, the settings they make,
// the installed printers with their keep marks, and the all, keep and
// remove sets.
//
// Its life in a run: LoadScript for each script found; the loading sequence
// then settles the all set (SettleMaskingTool) and discovers the printers
// into `printers`; the selection sets their `keep` marks; BuildRemovalPlan
// splits the all set into keep and remove sets (any number of times); the
// removal works from `removeSet`, appends registry items to it and sets
// `rebootNeeded`.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/system.h"
#include "profile/item_set.h"
#include "profile/path_string.h"
#include "profile/printer_entry.h"
#include "shell/os_info.h"

// The name of the entry that describes the printer-masking tool.
inline constexpr const char kPavaneEntryName[] = "Pavane";

class UninstallProfile {
 public:
  // Reads the Windows version at once; the files and profile functions are
  // used by LoadScript.
  explicit UninstallProfile(const platform::System& system);

  bool is9xPlatform = false;       // platform code 2 (Windows 9x)
  bool rebootNeeded = false;       // a file is left for deletion at the next start
  bool uninstallScanner = false;   // the scripts ask for it and name the product GUID
  bool uninstallFax = false;       // the same for the fax driver
  bool allowPrinterChoice = true;  // cleared by a script's "NOPICK"
  bool removeOemInf = false;       // matching OEM INF files are to be deleted
  std::int32_t removedPrinterCount = 0;
  std::int32_t keptPrinterCount = 0;
  ItemSet allSet;     // everything the scripts name, less ignore entries (and the masking tool's)
  ItemSet keepSet;    // what BuildRemovalPlan keeps
  ItemSet removeSet;  // what BuildRemovalPlan leaves for removal
  PrinterList printers;
  bool pavaneToolRetained = true;  // the remove set does not name the masking tool's program
  PathString scannerProductGuid;
  PathString faxProductGuid;
  std::int32_t oemInfLine = 0;
  PathString oemInfString;
  std::vector<ItemSet> entries;  // every entry of every script
  COSInfo osInfo;

  void appendEntry(const ItemSet& entry) { entries.push_back(entry); }

  // Interprets one script into entries and settings: 1 on success, 0 when it
  // cannot be loaded ("failed to open file") or has no starter section ("no
  // starter sections"), in which case nothing has changed. `failureReason`,
  // when given, receives that text on failure and null on success.
  int LoadScript(const char* path, const char** failureReason = nullptr);

  // Sorts the entries and makes `target` the union of every entry but the
  // ignore entries; false when there was none to unite.
  bool BuildAllSet(ItemSet& target);
  // Copies the first entry of that name into `work`; false, with `work`
  // cleared, when there is none.
  bool FindEntry(ItemSet& work, const char* name) const;
  // Copies into `work` the last manufacturer entry whose name's first word
  // (up to the first space) equals the driver name's first word; false,
  // with `work` cleared, when none does.
  bool FindManufacturerEntry(ItemSet& work, const char* driverName) const;
  // Marks the printers that mask a printer being removed for removal too,
  // counts kept and removed printers, and splits the all set into keepSet
  // and removeSet. Always 1.
  int BuildRemovalPlan();
  // When no printer is kept: adds to `target` the masking tool's entry, the
  // file names of the scripts, and the maker's registry keys.
  void AddCommonItems(ItemSet& target) const;
  // Sorts the entries by name and keeps the first of each name (the one
  // read first), and normalises keepSet and removeSet.
  void SortEntries();

 private:
  // Sorts the entries by name and keeps the first of each name.
  void sortAndDedupEntries();

  platform::FileSystem* files_;
  platform::IniFiles* ini_;
  platform::Host* host_;
};

// The loading sequence's settlement of the masking tool's share: builds the
// all set; then, when a "Pavane" entry exists, the all set becomes that
// entry alone with the UNPAVANE option (`unpavane`), and loses that entry's
// items without it.
void SettleMaskingTool(UninstallProfile& profile, bool unpavane);

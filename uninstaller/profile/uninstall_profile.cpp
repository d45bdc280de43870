#include "profile/uninstall_profile.h"

#include <algorithm>

#include "profile/entry_index.h"

UninstallProfile::UninstallProfile(const platform::System& system)
    : osInfo(system.host), files_(&system.files), ini_(&system.ini), host_(&system.host) {
  is9xPlatform = osInfo.platformCode() == COSInfo::kPlatform9x;
}

void UninstallProfile::sortAndDedupEntries() {
  std::stable_sort(entries.begin(), entries.end(),
                   [](const ItemSet& a, const ItemSet& b) { return a.name < b.name; });
  entries.erase(std::unique(entries.begin(), entries.end(),
                            [](const ItemSet& a, const ItemSet& b) { return a.name == b.name; }),
                entries.end());
}

void UninstallProfile::SortEntries() {
  sortAndDedupEntries();
  keepSet.Normalize();
  removeSet.Normalize();
}

bool UninstallProfile::BuildAllSet(ItemSet& target) {
  SortEntries();
  target.clear();
  std::vector<const ItemSet*> united;
  for (const ItemSet& entry : entries) {
    if (!entry.isIgnore) united.push_back(&entry);
  }
  target.UniteAll(united);
  return !united.empty();
}

bool UninstallProfile::FindEntry(ItemSet& work, const char* name) const {
  work.clear();
  const PathString key(name);
  for (const ItemSet& entry : entries) {
    if (entry.name == key) {
      work = entry;
      return true;
    }
  }
  return false;
}

bool UninstallProfile::FindManufacturerEntry(ItemSet& work, const char* driverName) const {
  work.clear();
  const PathString word = FirstWord(driverName);
  const ItemSet* match = nullptr;
  for (const ItemSet& entry : entries) {
    if (entry.isManufacturer && FirstWord(entry.name.c_str()) == word) match = &entry;
  }
  if (match == nullptr) return false;
  work = *match;
  return true;
}

void SettleMaskingTool(UninstallProfile& profile, bool unpavane) {
  profile.BuildAllSet(profile.allSet);
  ItemSet pavane;
  if (!profile.FindEntry(pavane, kPavaneEntryName)) return;
  if (unpavane) {
    profile.allSet = pavane;
  } else {
    profile.allSet.Subtract(pavane);
  }
}

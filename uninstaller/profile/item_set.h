// One named set of removable items: a script entry (manufacturer, driver,
// catch-all or ignore) or an aggregate set of the profile (all, keep,
// remove) and work sets, which use only the items.
#pragma once

#include <array>
#include <vector>

#include "platform/win32_types.h"
#include "profile/item_category.h"
#include "profile/path_string.h"
#include "profile/string_list.h"

class ItemSet {
 public:
  PathString name;              // first field of the starter line, quotes stripped
  bool isManufacturer = false;  // from "UnPrinterMfgs"
  bool isCatchAll = false;      // from "Unz_CatchAll"
  bool isIgnore = false;        // from "Unx_Ignore"
  PathString sectionBase;       // base name of the entry's category sections
  PathString scriptPath;        // the script that defined the entry
  std::array<StringList, kItemCategoryCount> items;

  // A driver entry is one with none of the three kind flags.
  bool isDriver() const { return !isManufacturer && !isCatchAll && !isIgnore; }

  StringList& slot(ItemCategory c) { return items[SlotOf(c)]; }
  const StringList& slot(ItemCategory c) const { return items[SlotOf(c)]; }

  // Every field empty or 0.
  void clear() { *this = ItemSet{}; }

  // Each slot becomes the sorted union of its items and those of `other`,
  // without duplicates: `other`'s list is merged in (see StringList::merge),
  // the result sorted and duplicates dropped. When this set's slot was
  // already normalised, its spelling of an item wins over `other`'s. Name,
  // flags, base and path do not change.
  void Unite(const ItemSet& other);
  // The same as calling Unite with each set in turn, in one sort per slot.
  void UniteAll(const std::vector<const ItemSet*>& others);
  // Drops from each slot every item equal to an item of the same slot of
  // `other`; a slot is left alone when either side is empty.
  void Subtract(const ItemSet& other);
  // Normalises every slot.
  void Normalize();

  // Appends root,"subKey","valueName",flag to RegistryKeys without looking
  // for duplicates. The root is one of the four predefined keys named
  // HKLM, HKCR, HKCU and HKU; any other root or an empty subkey appends
  // nothing and gives 0, else 1. So does an item too long for a PathString.
  int AddRegistryKey(platform::RegKeyHandle root, const char* subKey, const char* valueName,
                     bool tree);

  // True when no slot holds an item.
  bool hasNoItems() const;
};

// The twelve kinds of removable item, in the slot order of an ItemSet.
#pragma once

#include <array>
#include <cstddef>

enum class ItemCategory {
  DeleteIni = 0,        // file,section,entry
  DeleteLoadRun = 1,    // display,file name
  UnSelfRegister = 2,   // file name,export
  PrintProcessors = 3,  // print processor name
  Monitors = 4,         // monitor name
  Services = 5,         // service name
  Hooks = 6,            // file,export
  Files = 7,            // file name ("=" and what follows is not part of it)
  Drivers = 8,          // printer driver name
  Shortcuts = 9,        // program group,shortcut description,special location
  OemPaths = 10,        // a directory the package placed files in
  RegistryKeys = 11,    // root,"subkey","value name",tree flag
};

inline constexpr std::size_t kItemCategoryCount = 12;

inline constexpr std::size_t SlotOf(ItemCategory c) { return static_cast<std::size_t>(c); }
inline constexpr ItemCategory CategoryAt(std::size_t slot) {
  return static_cast<ItemCategory>(slot);
}

// The enumerator's own name ("DeleteIni" ... "RegistryKeys").
const char* CategoryName(ItemCategory c);
// The suffix of the script sections that fill the slot ("DeleteIni" for
// "<base>.DeleteIni"); null for Drivers and OemPaths, which no script
// section fills.
const char* CategorySectionSuffix(ItemCategory c);

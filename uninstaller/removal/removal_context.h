// What every removal operation works with: the machine, the profile with
// its remove set, the running Windows, the program's texts, the journal,
// and the page that runs the sequence.
#pragma once

#include "platform/system.h"
#include "profile/string_list.h"
#include "profile/uninstall_profile.h"
#include "removal/journal.h"
#include "shell/os_info.h"
#include "shell/string_res.h"

// The directories in which the package's files are looked for: `flat` ones
// (system, Windows, colour directory) only in themselves, `tree` ones
// (driver, print processor and INF directories) two levels deep. Filled
// when the removal starts; each list sorted without duplicates.
struct SearchDirectories {
  StringList flat;
  StringList tree;
};

struct RemovalContext {
  platform::System& system;
  UninstallProfile& profile;
  const COSInfo& os;
  CStringRes& strings;
  Journal& journal;
  SearchDirectories& directories;
  platform::WindowHandle page;      // owner of the steps' message boxes; the hooks' window
  platform::ModuleHandle instance;  // the program's module; the hooks' instance
};

// Gives a simulated desktop the program's own string table, so that tests
// see the texts the real program shows.
#pragma once

#include "sim_desktop.h"
#include "string_table.h"

inline void InstallProgramStrings(sim::SimDesktop& desktop) {
  for (const StringResource& entry : kStringTable) desktop.setString(entry.id, entry.text);
}

// One printer that the local spooler knows, as printer discovery records it
// and as the selection, the removal plan and the printer removal mark it.
#pragma once

#include <cstdint>
#include <vector>

#include "profile/path_string.h"

struct PrinterEntry {
  PathString name;               // as the spooler reports it (connections with the server)
  PathString driver;             // driver name
  PathString pavaneName;         // the printer this one masks ("PavanePrinter"); empty if none
  PathString server;             // server of a connection; empty for local printers
  std::int32_t makerDriver = 0;  // carries the package's "VardelDriver0H" value
  std::int32_t isDefault = 0;
  std::int32_t keep = 0;     // 1: not to be removed
  std::int32_t foreign = 0;  // not the package's: never offered, never removed
  std::int32_t removed = 0;  // deleted by the printer removal
  std::int32_t listed = 0;   // passes the command-line filters

  // The printer removal takes exactly the printers for which this holds.
  bool isToBeRemoved() const { return keep == 0 && foreign == 0 && removed == 0; }
  // Offered on the selection page.
  bool isOfferable() const { return foreign == 0 && removed == 0 && listed != 0; }
};

using PrinterList = std::vector<PrinterEntry>;

// The number of offerable printers; 0 for an empty list.
int OfferableCount(const PrinterList& printers);

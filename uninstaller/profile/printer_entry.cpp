#include "profile/printer_entry.h"

#include <algorithm>

int OfferableCount(const PrinterList& printers) {
  return static_cast<int>(std::count_if(printers.begin(), printers.end(),
                                        [](const PrinterEntry& p) { return p.isOfferable(); }));
}

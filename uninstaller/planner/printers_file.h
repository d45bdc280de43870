// The installed printers for a plan, read from a JSON array of objects with
// the PrinterEntry fields.
#pragma once

#include <string>

#include "profile/printer_entry.h"

struct PrintersResult {
  bool ok = false;
  PrinterList printers;
  std::string error;
};

// Each object may have the texts "name", "driver", "pavaneName" and
// "server" and the flags "keep", "foreign", "removed", "makerDriver",
// "isDefault" and "listed" (a number, where anything but 0 sets the flag, or
// true/false). A missing member is empty or 0; other members are ignored.
// Texts are turned from UTF-8 into code page 1252. Malformed JSON gives the
// error "malformed JSON: line L, column C: ..." with the parser's reason.
PrintersResult ParsePrinters(const std::string& jsonText);

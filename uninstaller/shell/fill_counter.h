// The selection page's fill counter: one process-wide number, 0 at start and
// never reset. Every fill of the printer list adds one for each printer it
// lists; every commit with printers selected replaces it by its quotient by
// their number. The main dialog reads it to decide whether Uninstall starts
// enabled, and the removal sequence to decide whether shortcuts go.
#pragma once

#include <cstdint>

std::int32_t& SelectionFillCounter();

// What the Win32 spooler adds to the shared spooler behaviour (see the
// contract suite for printers seen through the spooler).
#include <gtest/gtest.h>

#include "platform/win32/win32_spooler.h"

namespace {

using namespace platform;

constexpr Win32Error kInvalidLevel = 124;  // ERROR_INVALID_LEVEL

TEST(Win32SpoolerTest, LevelsWhoseRecordsCannotBeReadAreRefused) {
  win32::Win32Spooler spooler;
  std::vector<EnumeratedPrinter> printers;
  std::uint32_t needed = 7;
  EXPECT_EQ(spooler.enumPrinters(printer_enum::kLocal, 3, 0, printers, needed), kInvalidLevel);
  // Level 1 is read like the others: size query, then the records.
  const Win32Error sizeQuery = spooler.enumPrinters(printer_enum::kLocal, 1, 0, printers, needed);
  if (needed == 0) {
    EXPECT_EQ(sizeQuery, error::kSuccess);  // no printers at all
  } else {
    EXPECT_EQ(sizeQuery, error::kInsufficientBuffer);
    EXPECT_EQ(spooler.enumPrinters(printer_enum::kLocal, 1, needed, printers, needed),
              error::kSuccess);
    EXPECT_FALSE(printers.empty());
  }
}

}  // namespace

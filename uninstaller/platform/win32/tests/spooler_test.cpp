// The spooler functions on a printer the test seeds into the spooler's
// registry keys (no driver files needed) and removes again.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_spooler.h"
#include "scratch.h"

namespace {

using namespace platform;

constexpr char kPrinters[] = "System\\CurrentControlSet\\Control\\Print\\Printers";
constexpr char kName[] = "Stripwell Test Printer";
constexpr Win32Error kInvalidLevel = 124;  // ERROR_INVALID_LEVEL

class Win32SpoolerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string path = std::string(kPrinters) + "\\" + kName;
    contract::DeleteKeyTree(registry_, hkey::kLocalMachine, path);
    RegKey key(registry_);
    ASSERT_EQ(key.create(hkey::kLocalMachine, path.c_str(), regsam::kAllAccess), error::kSuccess);
    SetText(key, "Name", kName);
    SetText(key, "Port", "FILE:");
    SetText(key, "Printer Driver", "Stripwell Test Driver");
    SetText(key, "Print Processor", "winprint");
    SetText(key, "Datatype", "RAW");
    SetText(key, "Description", "seeded by the tests");
    const std::uint32_t attributes = printer_attr::kLocal;
    registry_.setValue(key.get(), "Attributes", regtype::kDword, &attributes, 4);
    RegKey data(registry_);
    ASSERT_EQ(data.create(key.get(), "PrinterDriverData", regsam::kAllAccess), error::kSuccess);
    const std::uint32_t marker = 0x0203;
    registry_.setValue(data.get(), "VardelDriver0H", regtype::kDword, &marker, 4);
    registry_.setValue(data.get(), "PavanePrinter", regtype::kSz, "Masked One", 11);
  }
  void TearDown() override {
    EXPECT_EQ(contract::DeleteKeyTree(registry_, hkey::kLocalMachine,
                                      std::string(kPrinters) + "\\" + kName),
              error::kSuccess);
  }
  void SetText(RegKey& key, const char* name, const char* text) {
    registry_.setValue(key.get(), name, regtype::kSz, text,
                       static_cast<std::uint32_t>(std::string(text).size() + 1));
  }

  win32::Win32Registry registry_;
  win32::Win32Spooler spooler_;
};

TEST_F(Win32SpoolerTest, EnumerationAsksForTheSizeThenLists) {
  for (std::uint32_t level : {2u, 4u, 5u}) {
    SCOPED_TRACE(level);
    std::vector<EnumeratedPrinter> printers;
    std::uint32_t needed = 0;
    ASSERT_EQ(spooler_.enumPrinters(printer_enum::kLocal | printer_enum::kConnections, level, 0,
                                    printers, needed),
              error::kInsufficientBuffer);
    EXPECT_GT(needed, 0u);
    EXPECT_TRUE(printers.empty());
    ASSERT_EQ(spooler_.enumPrinters(printer_enum::kLocal | printer_enum::kConnections, level,
                                    needed, printers, needed),
              error::kSuccess);
    const auto found = std::find_if(printers.begin(), printers.end(), [](const auto& printer) {
      return printer.name == kName;
    });
    ASSERT_NE(found, printers.end());
    EXPECT_NE(found->attributes & printer_attr::kLocal, 0u);
    // Local printers have no server name.
    EXPECT_FALSE(found->serverName.has_value());
  }
  std::vector<EnumeratedPrinter> printers;
  std::uint32_t needed = 0;
  EXPECT_EQ(spooler_.enumPrinters(printer_enum::kLocal, 3, 0, printers, needed),
            kInvalidLevel);
}

TEST_F(Win32SpoolerTest, PrinterDataBySizeAndType) {
  Printer printer(spooler_);
  ASSERT_EQ(printer.open(kName, printer_access::kUse), error::kSuccess);
  std::uint32_t type = 0;
  std::uint32_t value = 0;
  std::uint32_t needed = 0;
  ASSERT_EQ(spooler_.getPrinterData(printer.get(), "VardelDriver0H", &type, &value, sizeof value,
                                    needed),
            error::kSuccess);
  EXPECT_EQ(type, regtype::kDword);
  EXPECT_EQ(value, 0x0203u);
  EXPECT_EQ(needed, 4u);

  char small[4];
  EXPECT_EQ(spooler_.getPrinterData(printer.get(), "PavanePrinter", nullptr, small, sizeof small,
                                    needed),
            error::kMoreData);
  EXPECT_EQ(needed, 11u);
  char masked[32] = {};
  ASSERT_EQ(spooler_.getPrinterData(printer.get(), "PavanePrinter", nullptr, masked,
                                    sizeof masked, needed),
            error::kSuccess);
  EXPECT_STREQ(masked, "Masked One");
  EXPECT_EQ(spooler_.getPrinterData(printer.get(), "NoSuchValue", nullptr, masked, sizeof masked,
                                    needed),
            error::kFileNotFound);
}

TEST_F(Win32SpoolerTest, PrinterLevel2AsksForTheSizeThenFills) {
  Printer printer(spooler_);
  ASSERT_EQ(printer.open(kName, printer_access::kUse), error::kSuccess);
  PrinterInfo2 info;
  std::uint32_t needed = 0;
  ASSERT_EQ(spooler_.getPrinter2(printer.get(), 0, info, needed), error::kInsufficientBuffer);
  ASSERT_GT(needed, 0u);
  ASSERT_EQ(spooler_.getPrinter2(printer.get(), needed, info, needed), error::kSuccess);
  EXPECT_EQ(info.printerName, kName);
  EXPECT_EQ(info.portName, "FILE:");
  EXPECT_EQ(info.driverName, "Stripwell Test Driver");
  EXPECT_EQ(info.printProcessor, "winprint");
  EXPECT_FALSE(info.serverName.has_value());
}

TEST_F(Win32SpoolerTest, UnknownPrinterCannotBeOpened) {
  Printer printer(spooler_);
  EXPECT_EQ(printer.open("Stripwell No Such Printer", printer_access::kUse),
            error::kInvalidPrinterName);
  EXPECT_EQ(printer.get(), 0u);
}

}  // namespace

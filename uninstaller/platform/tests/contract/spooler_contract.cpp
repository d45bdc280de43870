// The spooler's view of a printer that the test seeds where the NT family
// keeps printers, in the registry (no driver files needed), shared by
// Windows and the simulated machine. Record sizes are not compared: the
// simulated level-2 records carry no device mode.
#include <algorithm>
#include <string>

#include "contract.h"
#include "scratch.h"

namespace contract {

using namespace platform;

namespace {

constexpr char kPrinters[] = "System\\CurrentControlSet\\Control\\Print\\Printers";
constexpr char kName[] = "Stripwell Contract Printer";

std::string PrinterKey() { return std::string(kPrinters) + "\\" + kName; }

void SetText(Registry& registry, RegKeyHandle key, const char* name, const char* text) {
  registry.setValue(key, name, regtype::kSz, text,
                    static_cast<std::uint32_t>(std::string(text).size() + 1));
}

}  // namespace

void SpoolerContract::SetUp() {
  ContractTest::SetUp();
  ASSERT_EQ(EnsureSpoolerRunning(sys()), scm::kRunning);
  Registry& registry = sys().registry;
  DeleteKeyTree(registry, hkey::kLocalMachine, PrinterKey());
  RegKey key(registry);
  ASSERT_EQ(registry.createKey(hkey::kLocalMachine, PrinterKey().c_str(), regsam::kAllAccess,
                               key.out(), nullptr),
            error::kSuccess);
  SetText(registry, key.get(), "Name", kName);
  SetText(registry, key.get(), "Port", "FILE:");
  SetText(registry, key.get(), "Printer Driver", "Stripwell Contract Driver");
  SetText(registry, key.get(), "Print Processor", "winprint");
  SetText(registry, key.get(), "Datatype", "RAW");
  const std::uint32_t attributes = printer_attr::kLocal;
  registry.setValue(key.get(), "Attributes", regtype::kDword, &attributes, 4);
  RegKey data(registry);
  ASSERT_EQ(
      registry.createKey(key.get(), "PrinterDriverData", regsam::kAllAccess, data.out(), nullptr),
      error::kSuccess);
  const std::uint32_t marker = 0x0203;
  registry.setValue(data.get(), "VardelDriver0H", regtype::kDword, &marker, 4);
  SetText(registry, data.get(), "PavanePrinter", "Masked One");
}

void SpoolerContract::TearDown() {
  EXPECT_EQ(DeleteKeyTree(sys().registry, hkey::kLocalMachine, PrinterKey()), error::kSuccess);
}

namespace {

TEST_P(SpoolerContract, EnumerationAsksForTheSizeThenLists) {
  for (std::uint32_t level : {2u, 4u, 5u}) {
    SCOPED_TRACE(level);
    std::vector<EnumeratedPrinter> printers;
    std::uint32_t needed = 0;
    ASSERT_EQ(spooler().enumPrinters(printer_enum::kLocal | printer_enum::kConnections, level, 0,
                                     printers, needed),
              error::kInsufficientBuffer);
    EXPECT_GT(needed, 0u);
    EXPECT_TRUE(printers.empty());
    // One byte short is still too small.
    ASSERT_EQ(spooler().enumPrinters(printer_enum::kLocal | printer_enum::kConnections, level,
                                     needed - 1, printers, needed),
              error::kInsufficientBuffer);
    ASSERT_EQ(spooler().enumPrinters(printer_enum::kLocal | printer_enum::kConnections, level,
                                     needed, printers, needed),
              error::kSuccess);
    const auto found = std::find_if(printers.begin(), printers.end(),
                                    [](const auto& printer) { return printer.name == kName; });
    ASSERT_NE(found, printers.end());
    EXPECT_NE(found->attributes & printer_attr::kLocal, 0u);
    // Local printers have no server name.
    EXPECT_FALSE(found->serverName.has_value());
  }
}

TEST_P(SpoolerContract, PrinterDataBySizeAndType) {
  Printer printer(spooler());
  ASSERT_EQ(spooler().openPrinter(kName, printer_access::kUse, printer.out()), error::kSuccess);
  std::uint32_t type = 0;
  std::uint32_t value = 0;
  std::uint32_t needed = 0;
  ASSERT_EQ(spooler().getPrinterData(printer.get(), "VardelDriver0H", &type, &value, sizeof value,
                                     needed),
            error::kSuccess);
  EXPECT_EQ(type, regtype::kDword);
  EXPECT_EQ(value, 0x0203u);
  EXPECT_EQ(needed, 4u);

  char small[4];
  EXPECT_EQ(spooler().getPrinterData(printer.get(), "PavanePrinter", nullptr, small, sizeof small,
                                     needed),
            error::kMoreData);
  EXPECT_EQ(needed, 11u);
  char masked[32] = {};
  ASSERT_EQ(spooler().getPrinterData(printer.get(), "pavaneprinter", nullptr, masked, sizeof masked,
                                     needed),
            error::kSuccess);
  EXPECT_STREQ(masked, "Masked One");
  EXPECT_EQ(spooler().getPrinterData(printer.get(), "NoSuchValue", nullptr, masked, sizeof masked,
                                     needed),
            error::kFileNotFound);
}

TEST_P(SpoolerContract, PrinterLevel2AsksForTheSizeThenFills) {
  Printer printer(spooler());
  ASSERT_EQ(
      spooler().openPrinter("STRIPWELL CONTRACT PRINTER", printer_access::kUse, printer.out()),
      error::kSuccess);
  PrinterInfo2 info;
  std::uint32_t needed = 0;
  ASSERT_EQ(spooler().getPrinter2(printer.get(), 0, info, needed), error::kInsufficientBuffer);
  ASSERT_GT(needed, 0u);
  ASSERT_EQ(spooler().getPrinter2(printer.get(), needed, info, needed), error::kSuccess);
  EXPECT_EQ(info.printerName, kName);
  EXPECT_EQ(info.portName, "FILE:");
  EXPECT_EQ(info.driverName, "Stripwell Contract Driver");
  EXPECT_EQ(info.printProcessor, "winprint");
  EXPECT_EQ(info.datatype, "RAW");
  EXPECT_FALSE(info.serverName.has_value());
}

TEST_P(SpoolerContract, UnknownPrinterCannotBeOpened) {
  Printer printer(spooler());
  EXPECT_EQ(spooler().openPrinter("Stripwell No Such Printer", printer_access::kUse, printer.out()),
            error::kInvalidPrinterName);
  EXPECT_FALSE(printer.get());
}

}  // namespace
}  // namespace contract

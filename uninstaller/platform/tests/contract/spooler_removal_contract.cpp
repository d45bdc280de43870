// What the removal asks of the spooler, on a printer, drivers and a monitor
// that the test seeds in the registry where the NT family keeps them.
// Wine's EnumJobsA always fails and its DeletePrintProcessorA removes
// nothing, so jobs and processor deletion are covered by the simulated
// machine's own tests only.
#include <algorithm>
#include <string>
#include <vector>

#include "contract.h"
#include "platform/crt.h"
#include "scratch.h"

namespace contract {
namespace {

using namespace platform;

constexpr char kPrinter[] = "Stripwell Contract Printer";
constexpr char kPrint[] = "System\\CurrentControlSet\\Control\\Print\\";

void SetText(Registry& registry, const std::string& key, const char* name, const char* text) {
  RegKey opened(registry);
  registry.createKey(hkey::kLocalMachine, key.c_str(), regsam::kAllAccess, opened.out(), nullptr);
  registry.setValue(opened.get(), name, regtype::kSz, text,
                    static_cast<std::uint32_t>(std::string(text).size() + 1));
}

// A driver of an environment, as the spooler registers one.
std::string SeedDriver(Registry& registry, const char* environment, int version,
                       const std::string& name) {
  const std::string key = std::string(kPrint) + "Environments\\" + environment +
                          "\\Drivers\\Version-" + std::to_string(version) + "\\" + name;
  SetText(registry, key, "Driver", "sw_driver.dll");
  SetText(registry, key, "Data File", "sw_data.ppd");
  SetText(registry, key, "Configuration File", "sw_ui.dll");
  RegKey opened(registry);
  registry.openKey(hkey::kLocalMachine, key.c_str(), regsam::kAllAccess, opened.out());
  const std::uint32_t value = static_cast<std::uint32_t>(version);
  registry.setValue(opened.get(), "Version", regtype::kDword, &value, 4);
  return key;
}

std::vector<std::string> DriverNames(Spooler& spooler, const char* environment) {
  std::vector<DriverInfo2> drivers;
  std::uint32_t needed = 0;
  spooler.enumPrinterDrivers(environment, 0, drivers, needed);
  std::vector<std::string> names;
  if (needed == 0 || spooler.enumPrinterDrivers(environment, needed, drivers, needed) != 0)
    return names;
  for (const DriverInfo2& driver : drivers) names.push_back(driver.name);
  return names;
}

bool Contains(const std::vector<std::string>& names, const std::string& name) {
  return std::any_of(names.begin(), names.end(), [&](const std::string& each) {
    return crt::StrCmpI(each.c_str(), name.c_str()) == 0;
  });
}

TEST_P(SpoolerContract, DeletedPrinterCanNoLongerBeOpened) {
  {
    Printer printer(spooler());
    ASSERT_EQ(spooler().openPrinter(kPrinter, printer_access::kAllAccess, printer.out()),
              error::kSuccess);
    EXPECT_EQ(spooler().deletePrinter(printer.get()), error::kSuccess);
  }
  Printer again(spooler());
  EXPECT_EQ(spooler().openPrinter(kPrinter, printer_access::kUse, again.out()),
            error::kInvalidPrinterName);
}

// Windows refuses an unregistered print processor (1798) where Wine 8 takes
// any name: the simulated machine follows Windows, and this is not compared.
TEST_P(SpoolerContract, Level2SetChangesTheDatatypeAndKeepsTheRest) {
  Printer printer(spooler());
  ASSERT_EQ(spooler().openPrinter(kPrinter, printer_access::kAllAccess, printer.out()),
            error::kSuccess);
  PrinterInfo2 info;
  std::uint32_t needed = 0;
  spooler().getPrinter2(printer.get(), 0, info, needed);
  ASSERT_EQ(spooler().getPrinter2(printer.get(), needed, info, needed), error::kSuccess);
  info.datatype = "NT EMF 1.008";
  EXPECT_EQ(spooler().setPrinter2(printer.get(), info), error::kSuccess);
  PrinterInfo2 changed;
  spooler().getPrinter2(printer.get(), 0, changed, needed);
  ASSERT_EQ(spooler().getPrinter2(printer.get(), needed, changed, needed), error::kSuccess);
  EXPECT_EQ(changed.datatype, "NT EMF 1.008");
  EXPECT_EQ(changed.portName, "FILE:");
}

TEST_P(SpoolerContract, DriversAreListedAndDeletedPerEnvironment) {
  Registry& registry = sys().registry;
  const std::string x86 = ScratchName() + " x86";
  const std::string win40 = ScratchName() + " 9x";
  const std::string x86Key = SeedDriver(registry, "Windows NT x86", 3, x86);
  const std::string win40Key = SeedDriver(registry, "Windows 4.0", 0, win40);

  const std::vector<std::string> ntDrivers = DriverNames(spooler(), "Windows NT x86");
  EXPECT_TRUE(Contains(ntDrivers, x86));
  EXPECT_FALSE(Contains(ntDrivers, win40));
  EXPECT_TRUE(Contains(DriverNames(spooler(), "Windows 4.0"), win40));

  EXPECT_EQ(spooler().deletePrinterDriver("Windows NT x86", x86.c_str()), error::kSuccess);
  EXPECT_EQ(spooler().deletePrinterDriver("Windows 4.0", win40.c_str()), error::kSuccess);
  EXPECT_FALSE(Contains(DriverNames(spooler(), "Windows NT x86"), x86));
  EXPECT_FALSE(Contains(DriverNames(spooler(), "Windows 4.0"), win40));
  EXPECT_NE(spooler().deletePrinterDriver("Windows NT x86", x86.c_str()), error::kSuccess);
  DeleteKeyTree(registry, hkey::kLocalMachine, x86Key);
  DeleteKeyTree(registry, hkey::kLocalMachine, win40Key);
}

TEST_P(SpoolerContract, DeletedMonitorLosesItsKey) {
  Registry& registry = sys().registry;
  const std::string key = std::string(kPrint) + "Monitors\\" + ScratchName();
  SetText(registry, key, "Driver", "localspl.dll");

  EXPECT_EQ(spooler().deleteMonitor(nullptr, ScratchName().c_str()), error::kSuccess);
  RegKey opened(registry);
  EXPECT_EQ(registry.openKey(hkey::kLocalMachine, key.c_str(), regsam::kRead, opened.out()),
            error::kFileNotFound);
  EXPECT_NE(spooler().deleteMonitor(nullptr, ScratchName().c_str()), error::kSuccess);
  DeleteKeyTree(registry, hkey::kLocalMachine, key);
}

TEST_P(SpoolerContract, RunningEnvironmentListsWinprint) {
  std::vector<std::string> names;
  std::uint32_t needed = 0;
  spooler().enumPrintProcessors(nullptr, 0, names, needed);
  ASSERT_GT(needed, 0u);
  ASSERT_EQ(spooler().enumPrintProcessors(nullptr, needed, names, needed), error::kSuccess);
  EXPECT_TRUE(Contains(names, "winprint"));
}

}  // namespace
}  // namespace contract

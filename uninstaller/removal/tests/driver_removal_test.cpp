// Printer drivers, their queued registry keys, and the OEM INF files.
#include "removal/driver_removal.h"

#include <gtest/gtest.h>

#include <string>

#include "shell/model_variant.h"
#include "spooler_fixture.h"

namespace {

constexpr char kInf[] = "C:\\Windows\\INF\\";

TEST(DriverRemoval, DriverSharedWithAKeptPrinterStaysUnlessTheScriptsListIt) {
  SpoolerRemoval t;
  for (const char* driver : {"Vardel Shared", "Vardel Own", "Vardel Listed", "Other Driver"})
    t.machine.spooler().addDriver(sim::DriverSetup(driver));
  t.addPrinter("One", "Vardel Shared");
  t.addPrinter("Two", "Vardel Shared");
  t.addPrinter("Kept", "Vardel Shared", true);
  t.addPrinter("Three", "Vardel Own");
  t.addPrinter("Kept Listed", "Vardel Listed", true);
  t.list(ItemCategory::Drivers, "Vardel Listed");
  // The removal of the printers ran before.
  for (const char* gone : {"One", "Two", "Three"}) {
    platform::Printer printer(t.system.spooler);
    t.system.spooler.openPrinter(gone, platform::printer_access::kAllAccess, printer.out());
    t.system.spooler.deletePrinter(printer.get());
  }

  RemoveDrivers(t.context, nullptr);

  sim::SimSpooler& spooler = t.machine.spooler();
  EXPECT_TRUE(spooler.driverExists("Vardel Shared"));
  EXPECT_TRUE(t.journalled(ActionKind::kDriver, "Vardel Shared", Outcome::kKept));
  EXPECT_FALSE(spooler.driverExists("Vardel Own"));
  EXPECT_TRUE(spooler.driverExists("Other Driver"));
  // Listed, so its deletion is tried; Windows refuses while a printer uses it.
  EXPECT_TRUE(spooler.driverExists("Vardel Listed"));
  ASSERT_FALSE(t.journal.entries.empty());
  bool refused = false;
  for (const JournalEntry& entry : t.journal.entries)
    refused = refused || (entry.item == "Vardel Listed (default)" &&
                          entry.error == platform::error::kPrinterDriverInUse);
  EXPECT_TRUE(refused);
}

TEST(DriverRemoval, DeletedDriversQueueTheirKeysPerEnvironment) {
  for (const char* environment : {static_cast<const char*>(nullptr), "Windows 4.0"}) {
    SCOPED_TRACE(environment != nullptr ? environment : "default");
    SpoolerRemoval t("xp");
    t.machine.spooler().addDriver(sim::DriverSetup("Vardel Own", environment ? environment : ""));
    t.list(ItemCategory::Drivers, "Vardel Own");

    RemoveDrivers(t.context, environment);

    EXPECT_FALSE(t.machine.spooler().driverExists("Vardel Own", environment ? environment : ""));
    const std::string base =
        std::string("HKLM,\"SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\") +
        (environment ? environment : "Windows NT x86") + "\\Drivers\\";
    const StringList& keys = t.profile.removeSet.slot(ItemCategory::RegistryKeys);
    ASSERT_EQ(keys.count(), 4u);
    for (int version = 0; version < 4; ++version) {
      EXPECT_STREQ(keys[version].c_str(),
                   (base + "Version-" + std::to_string(version) + "\\Vardel Own\",\"\",0").c_str());
    }
  }
}

TEST(DriverRemoval, Windows9xQueuesOneDriverKey) {
  SpoolerRemoval t("98");
  t.machine.spooler().addDriver(sim::DriverSetup("Vardel Own"));
  t.list(ItemCategory::Drivers, "Vardel Own");

  RemoveDrivers(t.context, nullptr);

  const StringList& keys = t.profile.removeSet.slot(ItemCategory::RegistryKeys);
  ASSERT_EQ(keys.count(), 1u);
  EXPECT_STREQ(keys[0].c_str(),
               "HKLM,\"System\\CurrentControlSet\\control\\Print\\Environments\\Windows "
               "4.0\\Drivers\\Vardel Own\",\"\",0");
}

TEST(DriverRemoval, PscriptDriverWithoutItsPrinterGoesOnlyWithTheMaskingTool) {
  for (bool toolRetained : {false, true}) {
    SCOPED_TRACE(toolRetained);
    SpoolerRemoval t;
    t.machine.spooler().addDriver(sim::DriverSetup("Vardel Mask (PSCRIPT)"));
    t.machine.spooler().addDriver(sim::DriverSetup("Vardel Used (PSCRIPT)"));
    t.machine.spooler().addDriver(sim::DriverSetup("Vardel Other"));
    // A printer named after the driver keeps it (its own driver is another).
    t.machine.spooler().addPrinter(sim::PrinterSetup("Vardel Used (PSCRIPT)", "Vardel Other"));
    t.profile.pavaneToolRetained = toolRetained;

    RemoveDrivers(t.context, nullptr);

    EXPECT_EQ(t.machine.spooler().driverExists("Vardel Mask (PSCRIPT)"), toolRetained);
    EXPECT_TRUE(t.machine.spooler().driverExists("Vardel Used (PSCRIPT)"));
  }
}

// ---- OEM INF files ------------------------------------------------------------

std::string Inf(const char* printerName2, const char* printerName3) {
  return std::string(
             "[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=Printer\r\n\r\n"
             "[Strings]\r\nPrinterName2=\"") +
         printerName2 + "\"\r\nPrinterName3=\"" + printerName3 + "\"\r\n";
}

TEST(DriverRemoval, OemInfNamingTheDriverIsUninstalledWithForce) {
  SpoolerRemoval t;
  sim::SimFileSystem& files = t.machine.files();
  files.writeFile(std::string(kInf) + "oem3.inf", Inf("Other Laser", "Other Laser"));
  files.writeFile(std::string(kInf) + "oem7.inf", Inf("Vardel Own A3, Vardel Own", "A4 model"));
  files.writeFile(std::string(kInf) + "oem7.PNF", "compiled");
  files.writeFile(std::string(kInf) + "vardel.inf", Inf("Vardel Own", "Vardel Own"));
  t.machine.spooler().addDriver(sim::DriverSetup("Vardel Own"));
  t.list(ItemCategory::Drivers, "Vardel Own");

  RemoveDrivers(t.context, nullptr);

  EXPECT_FALSE(files.exists(std::string(kInf) + "oem7.inf"));
  EXPECT_FALSE(files.exists(std::string(kInf) + "oem7.PNF"));
  EXPECT_TRUE(files.exists(std::string(kInf) + "oem3.inf"));
  EXPECT_TRUE(files.exists(std::string(kInf) + "vardel.inf"));
  EXPECT_TRUE(t.journalled(ActionKind::kOemInf, "oem7.inf", Outcome::kRemoved));
}

TEST(DriverRemoval, A4ModelMatchesTheThirdPrinterName) {
  SpoolerRemoval t;
  t.machine.files().writeFile(std::string(kInf) + "oem7.inf", Inf("Vardel Own", "Vardel A4"));
  const std::int32_t saved = ModelVariant;
  ModelVariant = kModelVariantA4;
  const PathString forA4 = FindOemInf(t.context, "Vardel A4");
  const PathString forOther = FindOemInf(t.context, "Vardel Own");
  ModelVariant = saved;
  EXPECT_STREQ(forA4.c_str(), "oem7.inf");
  EXPECT_TRUE(forOther.isEmpty());
}

TEST(DriverRemoval, SweepDeletesOemInfWhoseMatchLineBeginsWithTheText) {
  SpoolerRemoval t;
  sim::SimFileSystem& files = t.machine.files();
  const std::string head = "; Vardel printer setup\r\n[Version]\r\n";
  files.writeFile(std::string(kInf) + "oem12.inf", head + "Provider=Vardel Inc.\r\n",
                  platform::file_attr::kReadOnly);
  files.writeFile(std::string(kInf) + "oem12.PNF", "compiled", platform::file_attr::kHidden);
  // The text on another line, and a line that only contains it.
  files.writeFile(std::string(kInf) + "oem13.inf", "Provider=Vardel Inc.\r\n[Version]\r\nx\r\n");
  files.writeFile(std::string(kInf) + "oem14.inf", head + " Provider=Vardel Inc.\r\n");
  t.profile.oemInfLine = 3;
  t.profile.oemInfString.assign("Provider=Vardel");

  SweepOemInfFiles(t.context);

  EXPECT_FALSE(files.exists(std::string(kInf) + "oem12.inf"));
  EXPECT_FALSE(files.exists(std::string(kInf) + "oem12.PNF"));
  EXPECT_TRUE(files.exists(std::string(kInf) + "oem13.inf"));
  EXPECT_TRUE(files.exists(std::string(kInf) + "oem14.inf"));
  EXPECT_EQ(t.machine.openHandleCount(), 0u);
}

TEST(DriverRemoval, EmptyMatchTextOrLineZeroMatchesNoFile) {
  for (std::int32_t line : {0, 1}) {
    SpoolerRemoval t;
    t.machine.files().writeFile(std::string(kInf) + "oem1.inf", "[Version]\r\n");
    t.profile.oemInfLine = line;
    t.profile.oemInfString.assign(line == 0 ? "[Version]" : "");

    SweepOemInfFiles(t.context);

    EXPECT_TRUE(t.machine.files().exists(std::string(kInf) + "oem1.inf")) << line;
  }
}

}  // namespace

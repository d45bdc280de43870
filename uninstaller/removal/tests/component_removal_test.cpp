// Monitors, print processors, services and hooks.
#include "removal/component_removal.h"

#include <gtest/gtest.h>

#include <string>

#include "spooler_fixture.h"

namespace {

namespace err = platform::error;

constexpr char kMonitors[] = "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\";

TEST(ComponentRemoval, MonitorKeyGoesEvenWhenTheSpoolerKeepsTheMonitor) {
  SpoolerRemoval t;
  t.machine.spooler().addMonitor("Vardel Port");
  t.machine.spooler().addMonitor("Vardel Net");
  t.machine.spooler().addMonitor("Vardel Busy");
  t.machine.registry().createKeyPath(std::string(kMonitors) + "Vardel Busy\\Ports\\VN1");
  t.machine.faults().fail("DeleteMonitorA", 3008, "Vardel Net");
  t.machine.faults().fail("DeleteMonitorA", 3008, "Vardel Busy");
  for (const char* monitor : {"Vardel Port", "Vardel Net", "Vardel Busy"})
    t.list(ItemCategory::Monitors, monitor);

  RemoveMonitors(t.context, nullptr);

  EXPECT_FALSE(t.machine.spooler().monitorExists("Vardel Port"));
  EXPECT_FALSE(t.machine.spooler().monitorExists("Vardel Net"));
  // A key with subkeys stays on Windows NT.
  EXPECT_TRUE(t.machine.spooler().monitorExists("Vardel Busy"));
  EXPECT_TRUE(t.journalled(ActionKind::kMonitor, "Vardel Port", Outcome::kRemoved));
}

TEST(ComponentRemoval, ProcessorInUseIsDeletedAfterItsPrintersSwitchToWinPrint) {
  SpoolerRemoval t;
  sim::SimSpooler& spooler = t.machine.spooler();
  spooler.addPrintProcessor("VardelProc");
  sim::PrinterSetup setup("Office", "Vardel Laser");
  setup.printProcessor = "VardelProc";
  setup.datatype = "NT EMF 1.008";
  spooler.addPrinter(setup);
  t.list(ItemCategory::PrintProcessors, "vardelproc");

  RemovePrintProcessors(t.context, nullptr);

  EXPECT_FALSE(spooler.printProcessorExists("VardelProc"));
  const std::string key = spooler.printerKey("Office");
  EXPECT_EQ(t.machine.registry().getString(key, "Print Processor"), "WinPrint");
  EXPECT_EQ(t.machine.registry().getString(key, "Datatype"), "RAW");
  EXPECT_EQ(t.machine.openHandleCount(), 0u);
}

TEST(ComponentRemoval, ProcessorStaysWhenAPrinterCannotBeSwitched) {
  SpoolerRemoval t;
  sim::SimSpooler& spooler = t.machine.spooler();
  spooler.addPrintProcessor("VardelProc");
  sim::PrinterSetup setup("Office", "Vardel Laser");
  setup.printProcessor = "VardelProc";
  spooler.addPrinter(setup);
  t.machine.faults().fail("SetPrinterA", err::kAccessDenied, "Office");
  t.list(ItemCategory::PrintProcessors, "VardelProc");

  RemovePrintProcessors(t.context, nullptr);

  EXPECT_TRUE(spooler.printProcessorExists("VardelProc"));
  EXPECT_FALSE(t.machine.faults().wasCalled("DeletePrintProcessorA"));
  EXPECT_TRUE(t.journalled(ActionKind::kPrintProcessor, "VardelProc", Outcome::kKept));
}

TEST(ComponentRemoval, ServiceMarkedForDeletionStillAsksForAReboot) {
  SpoolerRemoval t;
  sim::SimServices& services = t.machine.services();
  services.addService("VardelMarked");
  // Something else holds the first service while it is deleted: it stays
  // marked for deletion, and the second DeleteService answers 1072.
  platform::ScHandle manager(services);
  services.openManager(platform::scm::kManagerAllAccess, manager.out());
  platform::ScHandle held(services);
  services.openService(manager.get(), "VardelMarked", platform::scm::kServiceAllAccess, held.out());
  ASSERT_EQ(services.deleteService(held.get()), err::kSuccess);
  t.list(ItemCategory::Services, "VardelMarked");

  RemoveServices(t.context);

  EXPECT_TRUE(t.profile.rebootNeeded);
  EXPECT_TRUE(t.journalled(ActionKind::kService, "VardelMarked", Outcome::kDeferred));

  SpoolerRemoval missing;
  missing.list(ItemCategory::Services, "NoSuchService");
  RemoveServices(missing.context);
  EXPECT_FALSE(missing.profile.rebootNeeded);

  SpoolerRemoval own;
  own.machine.services().addService("VardelOwn", sim::ServiceSetup{"", "", 1, 3, 0x10});
  own.list(ItemCategory::Services, "VardelOwn");
  RemoveServices(own.context);
  EXPECT_TRUE(own.profile.rebootNeeded);
  EXPECT_FALSE(own.machine.services().exists("VardelOwn"));
}

// ---- Hooks --------------------------------------------------------------------

constexpr char kProgramDir[] = "C:\\Stripwell\\";
constexpr char kDriverDir[] = "C:\\Windows\\system32\\spool\\drivers\\x64\\";

TEST(ComponentRemoval, HooksRunFromTheDriverDirectoryOrBesideTheProgram) {
  SpoolerRemoval t;
  sim::SimLibraries& libraries = t.machine.libraries();
  libraries.addLibrary(std::string(kDriverDir) + "vdhook.dll", {"Unhook"});
  libraries.addLibrary(std::string(kProgramDir) + "vdbeside.dll", {"Undo"});
  t.list(ItemCategory::Hooks, "vdhook.dll,Unhook");
  t.list(ItemCategory::Hooks, "C:\\Somewhere\\vdbeside.dll,Undo");
  t.list(ItemCategory::Hooks, "vdhook.dll");       // no entry point
  t.list(ItemCategory::Hooks, "vdhook.dll,");      // an empty one
  t.list(ItemCategory::Hooks, "vdhook.dll,Gone");  // not exported
  const std::uint64_t sleptBefore = t.machine.clock().totalSlept();

  RunHooks(t.context);

  const std::vector<sim::EntryCall>& calls = libraries.calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].library, std::string(kDriverDir) + "vdhook.dll");
  EXPECT_EQ(calls[0].entryPoint, "Unhook");
  EXPECT_EQ(calls[0].window, t.page);
  EXPECT_EQ(calls[0].instance, SpoolerRemoval::kInstance);
  EXPECT_EQ(calls[0].commandLine, kProgramDir);
  EXPECT_EQ(calls[0].show, 0);
  EXPECT_EQ(calls[0].currentDirectory + "\\", kDriverDir);
  EXPECT_EQ(calls[1].library, std::string(kProgramDir) + "vdbeside.dll");
  EXPECT_EQ(calls[1].currentDirectory + "\\", kProgramDir);
  // A second each for the three libraries that loaded, found or not.
  EXPECT_EQ(t.machine.clock().totalSlept() - sleptBefore, 3000u);
  char current[platform::kMaxPath] = {};
  t.system.files.currentDirectory(current, sizeof current);
  EXPECT_EQ(std::string(current) + "\\", kProgramDir);
  EXPECT_EQ(t.machine.openHandleCount(), 0u);
}

}  // namespace

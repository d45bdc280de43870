// The simulated spooler's refusals, devices and libraries as Windows has
// them, where Wine (the Win32 tests' system) differs or has nothing.
#include <gtest/gtest.h>

#include "machine.h"

namespace {

namespace err = platform::error;

TEST(SimSpoolerRemoval, PrintProcessorInUseOrUnknownIsRefused) {
  sim::Machine machine;
  sim::SimSpooler& spooler = machine.spooler();
  spooler.addPrintProcessor("VardelProc");
  sim::PrinterSetup setup("Office", "Vardel Laser");
  setup.printProcessor = "VardelProc";
  spooler.addPrinter(setup);

  EXPECT_EQ(spooler.deletePrintProcessor(nullptr, "VardelProc"), 1003u);  // ERROR_CAN_NOT_COMPLETE
  platform::Printer printer(spooler);
  ASSERT_EQ(spooler.openPrinter("Office", platform::printer_access::kAllAccess, printer.out()),
            err::kSuccess);
  platform::PrinterInfo2 info;
  std::uint32_t needed = 0;
  spooler.getPrinter2(printer.get(), 0, info, needed);
  ASSERT_EQ(spooler.getPrinter2(printer.get(), needed, info, needed), err::kSuccess);
  info.printProcessor = "NotRegistered";
  EXPECT_EQ(spooler.setPrinter2(printer.get(), info), err::kUnknownPrintProcessor);
  info.printProcessor = "WinPrint";
  EXPECT_EQ(spooler.setPrinter2(printer.get(), info), err::kSuccess);
  EXPECT_EQ(spooler.deletePrintProcessor(nullptr, "VardelProc"), err::kSuccess);
  // Windows NT x86 is served too, and has no such processor.
  EXPECT_EQ(spooler.deletePrintProcessor("Windows NT x86", "VardelProc"),
            err::kUnknownPrintProcessor);
}

TEST(SimSpoolerRemoval, PrinterWithQueuedJobsGoesWithItsLastJob) {
  sim::Machine machine;
  sim::SimSpooler& spooler = machine.spooler();
  spooler.addPrinter(sim::PrinterSetup("Office", "Vardel Laser"));
  const std::uint32_t job = spooler.addJob("Office", "report.doc");
  platform::Printer printer(spooler);
  ASSERT_EQ(spooler.openPrinter("Office", platform::printer_access::kAllAccess, printer.out()),
            err::kSuccess);

  EXPECT_EQ(spooler.deletePrinter(printer.get()), err::kSuccess);
  EXPECT_TRUE(spooler.printerExists("Office"));
  EXPECT_EQ(spooler.setJob(printer.get(), job, platform::job_control::kCancel), err::kSuccess);
  EXPECT_TRUE(spooler.printerExists("Office"));
  EXPECT_EQ(spooler.setJob(printer.get(), job, platform::job_control::kDelete), err::kSuccess);
  EXPECT_FALSE(spooler.printerExists("Office"));
}

TEST(SimDevices, ListIsASnapshotAndRemovalTakesTheNodesBelow) {
  sim::Machine machine;
  sim::SimDevices& devices = machine.devices();
  const std::uint32_t usb = devices.addDevice("USB\\VID_1&PID_2\\1", {"USB\\VID_1&PID_2"});
  const std::uint32_t print = devices.addDevice("USBPRINT\\X\\2", {"USBPRINT\\X"}, usb);
  platform::DeviceList list(devices);
  ASSERT_EQ(devices.getClassDevs(platform::kDigcfAllClasses, list.out()), err::kSuccess);
  platform::DeviceInfoData first;
  platform::DeviceInfoData second;
  ASSERT_EQ(devices.enumDeviceInfo(list.get(), 0, first), err::kSuccess);
  ASSERT_EQ(devices.enumDeviceInfo(list.get(), 1, second), err::kSuccess);
  EXPECT_EQ(devices.enumDeviceInfo(list.get(), 2, second), err::kNoMoreItems);
  EXPECT_EQ(first.devInst, usb);

  EXPECT_EQ(devices.removeDevice(list.get(), first), err::kSuccess);
  EXPECT_FALSE(devices.exists(print));
  char ids[64] = {};
  EXPECT_EQ(devices.getDeviceRegistryProperty(list.get(), second, platform::kSpdrpHardwareId,
                                              nullptr, ids, sizeof ids, nullptr),
            0xE000020Bu);  // ERROR_NO_SUCH_DEVINST
  std::uint32_t parent = 0;
  EXPECT_EQ(devices.getParent(print, parent), platform::cr::kNoSuchDevnode);
}

TEST(SimLibraries, LoadedLibraryHoldsItsFileUntilFreed) {
  sim::Machine machine;
  machine.libraries().addLibrary("C:\\Hooks\\hook.dll", {"Unhook"});
  platform::Libraries& libraries = machine.libraries();
  platform::Library library(libraries);
  ASSERT_EQ(libraries.loadLibrary("C:\\Hooks\\hook.dll", library.out()), err::kSuccess);
  EXPECT_EQ(machine.files().deleteFile("C:\\Hooks\\hook.dll"), err::kAccessDenied);
  EXPECT_EQ(libraries.callRundllEntry(library.get(), "unhook", {}, {}, "", 0), err::kProcNotFound);
  library.reset();
  EXPECT_EQ(machine.files().deleteFile("C:\\Hooks\\hook.dll"), err::kSuccess);
}

}  // namespace

// Printers, their jobs, settings, class keys and USB device nodes, and the
// new default printer.
#include "removal/printer_removal.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "spooler_fixture.h"

namespace {

using sim::JobControl;
namespace job = platform::job_control;

constexpr char kScript[] = "C:\\Stripwell\\Mainscr0.unm";
constexpr char kDevices[] = "HKCU\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Devices";

TEST(PrinterRemoval, ConnectionGoesWithDeletePrinterConnectionAlone) {
  SpoolerRemoval t;
  t.machine.spooler().addConnection("SERVER", "Laser", "Vardel Laser");
  PrinterEntry entry;
  entry.name.assign("\\\\SERVER\\Laser");
  entry.server.assign("\\\\SERVER");
  t.profile.printers.push_back(entry);

  RemovePrinters(t.context);

  EXPECT_EQ(t.profile.printers[0].removed, 1);
  EXPECT_FALSE(t.machine.spooler().printerExists("\\\\SERVER\\Laser"));
  EXPECT_FALSE(t.machine.faults().wasCalled("OpenPrinterA"));
  EXPECT_FALSE(t.machine.faults().wasCalled("SetupDiGetClassDevsA"));
  EXPECT_TRUE(t.journalled(ActionKind::kConnection, "\\\\SERVER\\Laser", Outcome::kRemoved));
}

TEST(PrinterRemoval, JobsAreCancelledThenDeletedBeforeThePrinter) {
  SpoolerRemoval t;
  t.addPrinter("Office", "Vardel Laser");
  const std::uint32_t first = t.machine.spooler().addJob("Office", "report.doc");
  const std::uint32_t second = t.machine.spooler().addJob("Office", "memo.txt");

  RemovePrinters(t.context);

  const std::vector<JobControl>& controls = t.machine.spooler().jobControls();
  ASSERT_EQ(controls.size(), 4u);
  EXPECT_EQ(controls[0].jobId, first);
  EXPECT_EQ(controls[0].command, job::kCancel);
  EXPECT_EQ(controls[1].jobId, first);
  EXPECT_EQ(controls[1].command, job::kDelete);
  EXPECT_EQ(controls[2].jobId, second);
  EXPECT_EQ(controls[3].command, job::kDelete);
  // A printer deleted with jobs left would only be pending deletion.
  EXPECT_FALSE(t.machine.spooler().printerExists("Office"));
  EXPECT_EQ(t.profile.printers[0].removed, 1);
  EXPECT_EQ(t.machine.openHandleCount(), 0u);
}

TEST(PrinterRemoval, UniqueIdNamesOneClassKeyOfItsOwn) {
  SpoolerRemoval t;
  sim::SimRegistry& registry = t.machine.registry();
  registry.setString("HKCR\\VardelOffice\\shell\\open", "", "x");
  registry.setString("HKCR\\VardelOffice\\CLSID", "", "{1}");
  registry.setString("HKCR\\CLSID\\{OTHER}", "", "another program's");
  registry.setString("HKCR\\.txt", "", "txtfile");
  t.addPrinter("Office", "Vardel Laser");
  t.machine.spooler().setPrinterString("Office", "UniqueID", "VardelOffice");
  t.addPrinter("Empty", "Vardel Laser");
  t.machine.spooler().setPrinterString("Empty", "UniqueID", "");
  t.addPrinter("Deep", "Vardel Laser");
  t.machine.spooler().setPrinterString("Deep", "UniqueID", "CLSID\\{OTHER}");

  RemovePrinters(t.context);

  // "shell" has a subkey of its own: the emptying stops there instead of
  // asking for index 0 for ever, and the key stays.
  EXPECT_TRUE(registry.keyExists("HKCR\\VardelOffice\\shell\\open"));
  EXPECT_FALSE(registry.keyExists("HKCR\\VardelOffice\\CLSID"));
  // An empty id would have emptied HKEY_CLASSES_ROOT; one with a backslash
  // names another program's key.
  EXPECT_TRUE(registry.keyExists("HKCR\\.txt"));
  EXPECT_TRUE(registry.keyExists("HKCR\\CLSID\\{OTHER}"));
  EXPECT_TRUE(t.journalled(ActionKind::kClassKey, "", Outcome::kKept));
  EXPECT_TRUE(t.journalled(ActionKind::kClassKey, "CLSID\\{OTHER}", Outcome::kKept));
  EXPECT_EQ(t.profile.printers[2].removed, 1);
}

TEST(PrinterRemoval, ClassKeyWithPlainSubkeysGoesWhole) {
  SpoolerRemoval t;
  t.machine.registry().setString("HKCR\\VardelOffice\\CLSID", "", "{1}");
  t.machine.registry().setString("HKCR\\VardelOffice\\DefaultIcon", "", "x.ico");
  t.addPrinter("Office", "Vardel Laser");
  t.machine.spooler().setPrinterString("Office", "UniqueID", "VardelOffice");

  RemovePrinters(t.context);

  EXPECT_FALSE(t.machine.registry().keyExists("HKCR\\VardelOffice"));
  EXPECT_TRUE(t.journalled(ActionKind::kClassKey, "VardelOffice", Outcome::kRemoved));
}

TEST(PrinterRemoval, UnopenablePrinterCountsAsRemovedAndItsSettingsGo) {
  SpoolerRemoval t;
  t.addPrinter("Gone", "Vardel Laser");
  t.machine.spooler().failOpen("Gone", platform::error::kInvalidPrinterName);
  t.machine.registry().setString(kDevices, "Gone", "winspool,LPT1:");
  t.machine.registry().setString("HKCU\\SOFTWARE\\VARDEL\\Gone", "Paper", "A4");

  RemovePrinters(t.context);

  EXPECT_EQ(t.profile.printers[0].removed, 1);
  EXPECT_FALSE(t.machine.registry().valueExists(kDevices, "Gone"));
  EXPECT_FALSE(t.machine.registry().keyExists("HKCU\\SOFTWARE\\VARDEL\\Gone"));
}

TEST(PrinterRemoval, Windows9xQueuesThePrinterKeysForTheRegistryStep) {
  SpoolerRemoval t("98");
  t.addPrinter("Office", "Vardel Laser");

  RemovePrinters(t.context);

  const StringList& keys = t.profile.removeSet.slot(ItemCategory::RegistryKeys);
  ASSERT_EQ(keys.count(), 2u);
  EXPECT_STREQ(keys[0].c_str(),
               "HKLM,\"System\\CurrentControlSet\\control\\Print\\Printers\\Office\\"
               "PrinterDriverData\",\"\"");
  EXPECT_STREQ(keys[1].c_str(),
               "HKLM,\"System\\CurrentControlSet\\control\\Print\\Printers\\Office\",\"\"");
}

TEST(PrinterRemoval, PerUserKeyTooLongForItsBufferIsLeftAlone) {
  SpoolerRemoval t;
  const std::string name(250, 'P');
  // "SOFTWARE\VARDEL\" and the name cut to 259 characters: another key.
  const std::string cut = std::string("SOFTWARE\\VARDEL\\") + name.substr(0, 259 - 16);
  t.machine.registry().createKeyPath("HKCU\\" + cut);
  t.addPrinter(name, "Vardel Laser");

  RemovePrinters(t.context);

  EXPECT_TRUE(t.machine.registry().keyExists("HKCU\\" + cut));
  EXPECT_TRUE(t.journalled(ActionKind::kUserSetting, name, Outcome::kKept));
}

// ---- The default printer ----------------------------------------------------

struct DefaultCase {
  const char* windows;
  const char* device;       // win.ini's new device entry; null: not written
  std::uint32_t timeoutMs;  // 0: sent with SendMessageA
  const char* section;      // the broadcast's lParam text; null: 0
};

class DefaultPrinterReplacement : public ::testing::TestWithParam<DefaultCase> {};

TEST_P(DefaultPrinterReplacement, LastPrinterLeftInListOrderBecomesTheDefault) {
  const DefaultCase& c = GetParam();
  SpoolerRemoval t(c.windows);
  t.machine.spooler().addDriver(sim::DriverSetup("Vardel Laser"));
  sim::DriverSetup win16("Other Laser");
  win16.driverPath = "C:\\WINDOWS\\SYSTEM\\PSCRIPT.DRV";
  t.machine.spooler().addDriver(win16);
  t.addPrinter("First Kept", "Other Laser", true);
  t.addPrinter("Old Default", "Vardel Laser").isDefault = 1;
  t.addPrinter("Last Kept", "Other Laser", true);

  RemovePrinters(t.context);

  ASSERT_EQ(t.machine.desktop().messageBoxes().size(), 1u);
  EXPECT_EQ(t.machine.desktop().messageBoxes()[0].text,
            "The default printer has been deleted.\nThe new default printer is 'Last Kept'");
  EXPECT_EQ(t.profile.printers[2].isDefault, 1);
  EXPECT_EQ(t.profile.printers[1].isDefault, 0);
  char device[256] = {};
  t.system.ini.getProfileString("windows", "device", "", device, sizeof device);
  EXPECT_STREQ(device, c.device != nullptr ? c.device : "");
  const std::vector<sim::MessageRecord>& broadcasts = t.machine.desktop().broadcasts();
  ASSERT_EQ(broadcasts.size(), 1u);
  EXPECT_EQ(broadcasts[0].message, 0x001Au);
  if (c.section != nullptr) {
    ASSERT_NE(broadcasts[0].lParam, 0);
    EXPECT_STREQ(reinterpret_cast<const char*>(broadcasts[0].lParam), c.section);
  } else {
    EXPECT_EQ(broadcasts[0].lParam, 0);
  }
  EXPECT_EQ(broadcasts[0].timeoutMs, c.timeoutMs);
}

INSTANTIATE_TEST_SUITE_P(
    ByPlatform, DefaultPrinterReplacement,
    ::testing::Values(DefaultCase{"10", "Last Kept,winspool,LPT1:", 1000, nullptr},
                      DefaultCase{"98", nullptr, 1000, "windows"},
                      DefaultCase{"win32s", "Last Kept,PSCRIPT,LPT1:", 0, nullptr}),
    [](const auto& param) { return std::string("Windows") + param.param.windows; });

TEST(PrinterRemoval, PrinterDeletedByAnEarlierPassIsNeverTheNewDefault) {
  SpoolerRemoval t;
  t.addPrinter("Kept", "Vardel Laser", true);
  t.addPrinter("Old Default", "Vardel Laser").isDefault = 1;
  PrinterEntry gone;  // deleted from the machine by an earlier pass
  gone.name.assign("Gone");
  gone.driver.assign("Vardel Laser");
  gone.listed = 1;
  gone.removed = 1;
  t.profile.printers.push_back(gone);

  RemovePrinters(t.context);

  ASSERT_EQ(t.machine.desktop().messageBoxes().size(), 1u);
  EXPECT_EQ(t.machine.desktop().messageBoxes()[0].text,
            "The default printer has been deleted.\nThe new default printer is 'Kept'");
  EXPECT_EQ(t.profile.printers[0].isDefault, 1);
}

TEST(PrinterRemoval, DefaultPrinterGoneWithNoneLeftWarnsAndSetsNone) {
  SpoolerRemoval t;
  t.addPrinter("Old Default", "Vardel Laser").isDefault = 1;

  RemovePrinters(t.context);

  ASSERT_EQ(t.machine.desktop().messageBoxes().size(), 1u);
  EXPECT_EQ(t.machine.desktop().messageBoxes()[0].text,
            "Warning: The default printer has been deleted.\nThere are no printers installed on "
            "your computer.");
  EXPECT_TRUE(t.machine.desktop().broadcasts().empty());
}

// ---- USB device nodes -------------------------------------------------------

struct UsbPrinter {
  explicit UsbPrinter(SpoolerRemoval& t) : devices(t.machine.devices()) {
    usb = devices.addDevice("USB\\VID_04B8&PID_0A1C\\5&1",
                            {"USB\\VID_04B8&PID_0A1C&REV_0100", "USB\\VID_04B8&PID_0A1C"});
    print = devices.addDevice("USBPRINT\\VARDELLASER\\6&2", {"USBPRINT\\VardelLaser5A1C"}, usb);
    other = devices.addDevice("USB\\VID_1111&PID_2222\\7&3", {"USB\\VID_1111&PID_2222"});
  }
  sim::SimDevices& devices;
  std::uint32_t usb = 0;
  std::uint32_t print = 0;
  std::uint32_t other = 0;
};

TEST(UsbDeviceRemoval, PrintingFunctionGoesAndThenItsUsbParent) {
  SpoolerRemoval t;
  UsbPrinter printer(t);

  RemoveUsbDevice(t.context, "USBPRINT\\VardelLaser", 0x04B8, 0x0A1C);

  EXPECT_EQ(printer.devices.removed(), (std::vector<std::string>{"USBPRINT\\VARDELLASER\\6&2",
                                                                 "USB\\VID_04B8&PID_0A1C\\5&1"}));
  EXPECT_TRUE(printer.devices.exists(printer.other));
  EXPECT_EQ(t.machine.openHandleCount(), 0u);
}

TEST(UsbDeviceRemoval, UsbIdentifierTakesItsUsbprintChildAndItself) {
  SpoolerRemoval t;
  UsbPrinter printer(t);

  RemoveUsbDevice(t.context, "USB\\VID_04B8&PID_0A1C", 0x04B8, 0x0A1C);

  EXPECT_EQ(printer.devices.removed(), (std::vector<std::string>{"USBPRINT\\VARDELLASER\\6&2",
                                                                 "USB\\VID_04B8&PID_0A1C\\5&1"}));
  EXPECT_TRUE(printer.devices.exists(printer.other));
}

TEST(UsbDeviceRemoval, UsbDeviceWithoutPrintingChildGoesInTheSecondPass) {
  SpoolerRemoval t;
  UsbPrinter printer(t);

  RemoveUsbDevice(t.context, "USB\\VID_1111&PID_2222", 0x1111, 0x2222);

  EXPECT_EQ(printer.devices.removed(), (std::vector<std::string>{"USB\\VID_1111&PID_2222\\7&3"}));
}

TEST(UsbDeviceRemoval, UnmatchedIdentifierIsRetriedInTheVidPidForm) {
  SpoolerRemoval t;
  UsbPrinter printer(t);

  // The script's numbers: 0x4B8 and 0xA1C, printed as four upper-case hex digits.
  RemoveUsbDevice(t.context, "USBPRINT\\NoSuchModel", 0x04B8, 0x0A1C);

  EXPECT_FALSE(printer.devices.exists(printer.usb));
  EXPECT_FALSE(printer.devices.exists(printer.print));
  EXPECT_TRUE(printer.devices.exists(printer.other));
}

TEST(UsbDeviceRemoval, PrinterRemovalTakesTheScriptsDeviceOnlyWithAllThreeSettings) {
  for (const char* strings :
       {"[Strings]\r\nHARDWARE_ID_1=USBPRINT\\VardelLaser\r\n"
        "USB_VID=1208\r\nUSB_PID=2588\r\n",
        "[Strings]\r\nHARDWARE_ID_1=USBPRINT\\VardelLaser\r\nUSB_VID=1208\r\n",
        "[Strings]\r\nUSB_VID=1208\r\nUSB_PID=2588\r\n"}) {
    SCOPED_TRACE(strings);
    SpoolerRemoval t;
    UsbPrinter printer(t);
    t.machine.files().writeFile(kScript, strings);
    t.addPrinter("Office", "Vardel Laser");

    RemovePrinters(t.context);

    const bool complete = std::strstr(strings, "USB_PID") != nullptr &&
                          std::strstr(strings, "HARDWARE_ID_1") != nullptr;
    EXPECT_EQ(printer.devices.exists(printer.print), !complete);
    EXPECT_EQ(printer.devices.exists(printer.usb), !complete);
  }
}

}  // namespace

// Printer discovery over mixes of the package's, the masking tool's,
// foreign and connected printers, under each filter and failure.
#include <gtest/gtest.h>

#include <string>

#include "loading_fixture.h"
#include "system_control/spooler_control.h"

namespace {

using platform::printer_attr::kDefault;
using platform::printer_attr::kLocal;

class Discovery : public ::testing::Test {
 protected:
  explicit Discovery(const char* profile = "10") : f(profile) {}

  void addPackagePrinter(const std::string& name, const std::string& driver,
                         std::uint32_t attributes = kLocal) {
    f.spooler.addPrinter(sim::PrinterSetup(name, driver, attributes));
    f.spooler.setPrinterDword(name, "VardelDriver0H", 1);
  }
  void addMaskingPrinter(const std::string& name, const std::string& driver,
                         const std::string& masks) {
    f.spooler.addPrinter(sim::PrinterSetup(name, driver));
    f.spooler.setPrinterString(name, "PavanePrinter", masks);
  }
  void addForeignPrinter(const std::string& name, const std::string& driver) {
    f.spooler.addPrinter(sim::PrinterSetup(name, driver));
  }

  int discover(const char* commandLine = "Stripwell.exe") {
    f.open(commandLine);
    return f.dialog->BuildListOfInstalledPrinters(f.profile.printers);
  }

  const PrinterEntry& entry(const std::string& name) {
    for (const PrinterEntry& e : f.profile.printers) {
      if (e.name.equals(name.c_str())) return e;
    }
    ADD_FAILURE() << "no entry " << name;
    static PrinterEntry none;
    return none;
  }

  LoadingFixture f;
};

TEST_F(Discovery, TellsThePackagesPrintersFromForeignOnes) {
  addPackagePrinter("Office", "Vardel LX-300");
  addMaskingPrinter("Office (masked)", "Pavane Mask", "Office");
  addForeignPrinter("Other", "Acme 9000");

  EXPECT_EQ(discover(), 3);
  ASSERT_EQ(f.profile.printers.size(), 3u);
  const PrinterEntry& office = entry("Office");
  EXPECT_EQ(office.makerDriver, 1);
  EXPECT_EQ(office.keep, 1);
  EXPECT_EQ(office.foreign, 0);
  EXPECT_STREQ(office.driver.c_str(), "Vardel LX-300");
  const PrinterEntry& masked = entry("Office (masked)");
  EXPECT_EQ(masked.makerDriver, 0);
  EXPECT_STREQ(masked.pavaneName.c_str(), "Office");
  EXPECT_EQ(masked.keep, 1);
  EXPECT_EQ(masked.foreign, 0);
  const PrinterEntry& other = entry("Other");
  EXPECT_EQ(other.foreign, 1);
  EXPECT_EQ(other.keep, 0);
  EXPECT_EQ(other.listed, 1);
  EXPECT_EQ(OfferableCount(f.profile.printers), 2);
  EXPECT_EQ(f.spooler.openHandleCount(), 0u);
}

TEST_F(Discovery, ConnectionsKeepTheirServerUnlessItIsThisComputer) {
  f.spooler.addConnection("PRINTHOST", "Hall", "Vardel LX-300");
  f.spooler.setPrinterDword("\\\\PRINTHOST\\Hall", "VardelDriver0H", 1);
  addPackagePrinter("Local", "Vardel LX-300");

  EXPECT_EQ(discover(), 2);
  EXPECT_STREQ(entry("\\\\PRINTHOST\\Hall").server.c_str(), "\\\\PRINTHOST");
  EXPECT_STREQ(entry("Local").server.c_str(), "");
}

TEST_F(Discovery, AServerSpelledExactlyLikeTheComputerNameIsDropped) {
  // The comparison keeps the leading backslashes, so only a computer name
  // written with them (in any case) can match.
  f.machine.host().setComputerName("\\\\printhost");
  f.spooler.addConnection("PRINTHOST", "Hall", "Vardel LX-300");
  discover();
  EXPECT_STREQ(entry("\\\\PRINTHOST\\Hall").server.c_str(), "");
}

TEST_F(Discovery, DefaultPrinterByAttributeOrByTheWindowsDeviceEntry) {
  addPackagePrinter("ByAttribute", "Vardel A", kLocal | kDefault);
  addPackagePrinter("ByDevice", "Vardel B");
  addPackagePrinter("bydevice2", "Vardel C");
  f.system.ini.writeProfileString("windows", "device", "ByDevice,winspool,Ne00:");
  discover();
  EXPECT_EQ(entry("ByAttribute").isDefault, 1);
  EXPECT_EQ(entry("ByDevice").isDefault, 1);
  EXPECT_EQ(entry("bydevice2").isDefault, 0);
}

TEST_F(Discovery, TheDeviceEntryIsComparedWithLetterCase) {
  addPackagePrinter("Office", "Vardel A");
  f.system.ini.writeProfileString("windows", "device", "OFFICE,winspool,Ne00:");
  discover();
  EXPECT_EQ(entry("Office").isDefault, 0);
}

TEST_F(Discovery, MfgValuesArePrefixesOfTheDriverNameInAnyCase) {
  addPackagePrinter("A", "Vardel LX-300");
  addPackagePrinter("B", "VARDEL Photo");
  addPackagePrinter("C", "Corvan TR820");
  discover("Stripwell.exe /MFG:\"vardel\"");
  EXPECT_EQ(entry("A").listed, 1);
  EXPECT_EQ(entry("B").listed, 1);
  EXPECT_EQ(entry("C").listed, 0);
  EXPECT_EQ(entry("C").keep, 1);
  EXPECT_EQ(OfferableCount(f.profile.printers), 2);
}

TEST_F(Discovery, PrnValuesAreWholeDriverNames) {
  addPackagePrinter("A", "Vardel LX-300");
  addPackagePrinter("B", "Vardel LX-3000");
  discover("Stripwell.exe -PRN:\"vardel lx-300\",Other");
  EXPECT_EQ(entry("A").listed, 1);
  EXPECT_EQ(entry("B").listed, 0);
}

TEST_F(Discovery, MfgAndPrnTogetherEitherLetsAPrinterPass) {
  addPackagePrinter("A", "Vardel LX-300");
  addPackagePrinter("B", "Corvan TR820");
  addPackagePrinter("C", "Acme");
  discover("Stripwell.exe /MFG:Corvan /PRN:\"Vardel LX-300\"");
  EXPECT_EQ(entry("A").listed, 1);
  EXPECT_EQ(entry("B").listed, 1);
  EXPECT_EQ(entry("C").listed, 0);
}

TEST_F(Discovery, AnEmptyMfgValueLetsEveryDriverPass) {
  addPackagePrinter("A", "Vardel LX-300");
  addPackagePrinter("B", "Corvan TR820");
  discover("Stripwell.exe /MFG:");
  EXPECT_EQ(entry("A").listed, 1);
  EXPECT_EQ(entry("B").listed, 1);
}

TEST_F(Discovery, AValueListTooLongForItsBufferIsNotReadAtAll) {
  addPackagePrinter("A", "Vardel LX-300");
  const std::string many = "Vardel," + std::string(200, 'x') + "," + std::string(100, 'y');
  discover(("Stripwell.exe /MFG:" + many).c_str());
  EXPECT_EQ(entry("A").listed, 0);
}

TEST_F(Discovery, UnpavaneListsOnlyMaskingPrintersWhateverTheOtherFilters) {
  addPackagePrinter("Office", "Vardel LX-300");
  addMaskingPrinter("Office (masked)", "Pavane Mask", "Office");
  discover("Stripwell.exe /UNPAVANE /MFG:Vardel");
  EXPECT_EQ(entry("Office").listed, 0);
  EXPECT_EQ(entry("Office").keep, 1);
  EXPECT_EQ(entry("Office (masked)").listed, 1);
}

TEST_F(Discovery, APrinterThatCannotBeOpenedIsSkippedAndNotCounted) {
  addPackagePrinter("A", "Vardel A");
  addPackagePrinter("B", "Vardel B");
  f.spooler.failOpen("A", platform::error::kAccessDenied);
  EXPECT_EQ(discover(), 1);
  ASSERT_EQ(f.profile.printers.size(), 1u);
  EXPECT_STREQ(f.profile.printers[0].name.c_str(), "B");
}

TEST_F(Discovery, NoPrintersAtAllEndsQuietly) {
  EXPECT_EQ(discover(), 0);
  EXPECT_TRUE(f.profile.printers.empty());
  EXPECT_TRUE(f.machine.desktop().messageBoxes().empty());
  EXPECT_FALSE(f.view.result);
}

TEST_F(Discovery, ASpoolerThatDoesNotRespondEndsTheLoadingDialog) {
  addPackagePrinter("A", "Vardel A");
  f.spooler.setNotResponding(true);
  EXPECT_EQ(discover(), 0);
  ASSERT_EQ(f.machine.desktop().messageBoxes().size(), 1u);
  const sim::MessageBoxRecord& box = f.machine.desktop().messageBoxes()[0];
  EXPECT_EQ(box.text.rfind("The print spooler sub-system is not responding.", 0), 0u);
  EXPECT_EQ(box.caption, "Printer Uninstall");
  EXPECT_EQ(box.flags, platform::mb::kIconError);
  EXPECT_EQ(box.owner, f.dialogWindow);
  EXPECT_EQ(f.view.result, 0);
}

TEST_F(Discovery, AStoppedSpoolerIsNotResponding) {
  addPackagePrinter("A", "Vardel A");
  f.open();
  ASSERT_TRUE(StopSpooler(f.system));
  EXPECT_EQ(f.dialog->BuildListOfInstalledPrinters(f.profile.printers), 0);
  EXPECT_EQ(f.view.result, 0);
  EXPECT_EQ(f.machine.desktop().messageBoxes().size(), 1u);
}

TEST_F(Discovery, AFailedEnumerationEndsDiscoverySilently) {
  addPackagePrinter("A", "Vardel A");
  f.spooler.failEnumeration(platform::error::kInvalidParameter);
  EXPECT_EQ(discover(), 0);
  EXPECT_TRUE(f.profile.printers.empty());
  EXPECT_TRUE(f.machine.desktop().messageBoxes().empty());
  EXPECT_FALSE(f.view.result);
}

TEST_F(Discovery, AFailedLevelTwoReadKeepsTheEntriesBeforeIt) {
  addPackagePrinter("A", "Vardel A");
  addPackagePrinter("B", "Vardel B");
  addPackagePrinter("C", "Vardel C");
  f.spooler.failLevel2("B", platform::error::kInvalidHandle);
  EXPECT_EQ(discover(), 0);
  ASSERT_EQ(f.profile.printers.size(), 1u);
  EXPECT_STREQ(f.profile.printers[0].name.c_str(), "A");
  EXPECT_TRUE(f.machine.desktop().messageBoxes().empty());
  EXPECT_EQ(f.spooler.openHandleCount(), 0u);
}

TEST_F(Discovery, ExistingEntriesAreLeftAlone) {
  PrinterEntry earlier;
  earlier.name.assign("Earlier");
  f.profile.printers.push_back(earlier);
  addPackagePrinter("A", "Vardel A");
  EXPECT_EQ(discover(), 1);
  ASSERT_EQ(f.profile.printers.size(), 2u);
  EXPECT_STREQ(f.profile.printers[0].name.c_str(), "Earlier");
}

class DiscoveryOnWin32s : public Discovery {
 protected:
  DiscoveryOnWin32s() : Discovery("win32s") {}
};

TEST_F(DiscoveryOnWin32s, EveryPrinterCarriesThePackageMarker) {
  addForeignPrinter("Plain", "Acme");
  EXPECT_EQ(discover(), 1);
  EXPECT_EQ(entry("Plain").makerDriver, 1);
  EXPECT_EQ(entry("Plain").foreign, 0);
}

class DiscoveryOn98 : public Discovery {
 protected:
  DiscoveryOn98() : Discovery("98") {}
};

TEST_F(DiscoveryOn98, FindsPrintersThroughLevelFive) {
  addPackagePrinter("A", "Vardel A");
  addForeignPrinter("B", "Acme");
  EXPECT_EQ(discover(), 2);
  EXPECT_EQ(entry("A").keep, 1);
  EXPECT_EQ(entry("B").foreign, 1);
}

}  // namespace

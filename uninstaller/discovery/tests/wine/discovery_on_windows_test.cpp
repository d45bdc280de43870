// Printer discovery against the real spooler (Wine's), with the demo
// package installed in the prefix by the demo_package fixture.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "discovery/loading_dlg.h"
#include "fake_loading_view.h"
#include "platform/win32/win32_system.h"

namespace {

std::map<std::string, PrinterEntry> Discover(const char* commandLine, int* count = nullptr) {
  win32::Win32System windows;
  platform::System system = windows.system();
  FakeLoadingView view;
  CLoadingDlg dialog(system, view, commandLine);
  PrinterList printers;
  const int found = dialog.BuildListOfInstalledPrinters(printers);
  if (count != nullptr) *count = found;
  EXPECT_FALSE(view.result) << "discovery must not end the dialog";
  std::map<std::string, PrinterEntry> byName;
  for (const PrinterEntry& entry : printers) byName[entry.name.c_str()] = entry;
  return byName;
}

TEST(DiscoveryOnWindows, FindsExactlyThePackagesPrinters) {
  int count = 0;
  const std::map<std::string, PrinterEntry> printers = Discover("Stripwell.exe", &count);
  EXPECT_EQ(count, static_cast<int>(printers.size()));

  std::set<std::string> offerable;
  for (const auto& [name, entry] : printers) {
    if (entry.isOfferable()) offerable.insert(name);
  }
  EXPECT_EQ(offerable, (std::set<std::string>{"Vardel LX-300", "Vardel Photo 10",
                                              "Vardel LX-300 (Pavane)", "Vardel LX-300 Office"}));

  ASSERT_TRUE(printers.count("Acme Office"));
  EXPECT_EQ(printers.at("Acme Office").foreign, 1);
  EXPECT_EQ(printers.at("Acme Office").keep, 0);

  const PrinterEntry& lx300 = printers.at("Vardel LX-300");
  EXPECT_EQ(lx300.makerDriver, 1);
  EXPECT_EQ(lx300.keep, 1);
  EXPECT_STREQ(lx300.driver.c_str(), "Vardel LX-300 Demo");
  EXPECT_STREQ(lx300.server.c_str(), "");

  const PrinterEntry& masked = printers.at("Vardel LX-300 (Pavane)");
  EXPECT_EQ(masked.makerDriver, 0);
  EXPECT_STREQ(masked.pavaneName.c_str(), "Vardel LX-300");

  // The default printer comes from the [windows] device entry.
  EXPECT_EQ(printers.at("Vardel Photo 10").isDefault, 1);
  EXPECT_EQ(lx300.isDefault, 0);
}

TEST(DiscoveryOnWindows, FiltersApplyToTheRealPrinters) {
  const auto byMaker = Discover("Stripwell.exe /MFG:vardel");
  EXPECT_EQ(byMaker.at("Vardel LX-300").listed, 1);
  EXPECT_EQ(byMaker.at("Vardel LX-300 (Pavane)").listed, 0) << "its driver is the masking tool's";

  const auto masking = Discover("Stripwell.exe /UNPAVANE");
  EXPECT_EQ(masking.at("Vardel LX-300").listed, 0);
  EXPECT_EQ(masking.at("Vardel LX-300 (Pavane)").listed, 1);
}

}  // namespace

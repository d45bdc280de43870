// The profile model: entry order, lookups, the all set and the removal plan,
// on profiles built by hand.
#include <gtest/gtest.h>

#include "profile/uninstall_profile.h"
#include "profile_builders.h"
#include "test_machine.h"

namespace {

using test::CatchAll;
using test::Driver;
using test::Entry;
using test::Ignore;
using test::Items;
using test::Maker;
using test::Printer;
using V = std::vector<std::string>;

class RemovalPlan : public ::testing::Test {
 protected:
  test::TestMachine machine_;
  UninstallProfile profile_{machine_.system()};

  V removed(ItemCategory c) const { return Items(profile_.removeSet.slot(c)); }
  V kept(ItemCategory c) const { return Items(profile_.keepSet.slot(c)); }
};

TEST_F(RemovalPlan, EntriesOfOneNameCountOnceAndTheFirstReadSurvives) {
  profile_.appendEntry(Driver("Vardel TR820", {"first.dll"}, "C:\\a\\Mainscr0.unm"));
  profile_.appendEntry(Driver("Alpha", {"alpha.dll"}));
  profile_.appendEntry(Driver("VARDEL tr820", {"second.dll"}, "C:\\b\\Mainscr0.unm"));
  profile_.BuildAllSet(profile_.allSet);

  ASSERT_EQ(profile_.entries.size(), 2u);
  EXPECT_STREQ(profile_.entries[0].name.c_str(), "Alpha");
  EXPECT_STREQ(profile_.entries[1].scriptPath.c_str(), "C:\\a\\Mainscr0.unm");
  EXPECT_EQ(Items(profile_.allSet.slot(ItemCategory::Files)), (V{"alpha.dll", "first.dll"}));
}

TEST_F(RemovalPlan, BuildAllSetLeavesOutIgnoreEntries) {
  ItemSet target;
  EXPECT_FALSE(profile_.BuildAllSet(target));
  profile_.appendEntry(Driver("D", {"d.dll"}));
  profile_.appendEntry(CatchAll("C", {"c.dll"}));
  profile_.appendEntry(Ignore("I", {"i.dll"}));
  target.slot(ItemCategory::Hooks).append("stale");
  EXPECT_TRUE(profile_.BuildAllSet(target));
  EXPECT_EQ(Items(target.slot(ItemCategory::Files)), (V{"c.dll", "d.dll"}));
  EXPECT_EQ(Items(target.slot(ItemCategory::Drivers)), (V{"C", "D"}));
  EXPECT_TRUE(target.slot(ItemCategory::Hooks).isEmpty());
}

TEST_F(RemovalPlan, FindEntryCopiesTheEntryOrClearsTheWorkSet) {
  profile_.appendEntry(Driver("Vardel TR820", {"x.dll"}));
  ItemSet work = Driver("stale", {"stale.dll"});
  EXPECT_TRUE(profile_.FindEntry(work, "vardel tr820"));
  EXPECT_EQ(Items(work.slot(ItemCategory::Files)), V{"x.dll"});
  EXPECT_FALSE(profile_.FindEntry(work, "Vardel"));
  EXPECT_TRUE(work.hasNoItems());
  EXPECT_TRUE(work.name.isEmpty());
}

TEST_F(RemovalPlan, ManufacturerLookupMatchesFirstWordsAndTheLastMatchWins) {
  profile_.appendEntry(Maker("Vardel Inc", {"inc.dll"}));
  profile_.appendEntry(Driver("Vardel", {"driver-entry.dll"}));
  profile_.appendEntry(Maker("VARDEL", {"last.dll"}));
  profile_.appendEntry(Maker("Vardelx", {"other.dll"}));
  ItemSet work;
  EXPECT_TRUE(profile_.FindManufacturerEntry(work, "vardel TR820 PS"));
  EXPECT_EQ(Items(work.slot(ItemCategory::Files)), V{"last.dll"});
  EXPECT_FALSE(profile_.FindManufacturerEntry(work, "Corvan TR820"));
  EXPECT_TRUE(work.hasNoItems());
}

TEST_F(RemovalPlan, AKeptPrinterKeepsItsEntryOrItsMakersEntry) {
  profile_.appendEntry(Driver("Vardel TR820", {"tr820.dll", "shared.dll"}));
  profile_.appendEntry(Driver("Vardel TR900", {"tr900.dll", "SHARED.DLL"}));
  profile_.appendEntry(Maker("Vardel", {"maker.dll"}));
  profile_.BuildAllSet(profile_.allSet);
  profile_.printers = {Printer("P1", "Vardel TR820", 0), Printer("P2", "Vardel TR900", 1),
                       Printer("P3", "Vardel Unknown", 1)};

  EXPECT_EQ(profile_.BuildRemovalPlan(), 1);
  EXPECT_EQ(profile_.keptPrinterCount, 2);
  EXPECT_EQ(profile_.removedPrinterCount, 1);
  EXPECT_EQ(kept(ItemCategory::Files), (V{"maker.dll", "SHARED.DLL", "tr900.dll"}));
  // Case variants count once: shared.dll stays because SHARED.DLL is kept.
  EXPECT_EQ(removed(ItemCategory::Files), V{"tr820.dll"});
  EXPECT_EQ(removed(ItemCategory::Drivers), V{"Vardel TR820"});
}

TEST_F(RemovalPlan, CatchAllAndIgnoreItemsAreNeverRemoved) {
  profile_.appendEntry(Driver("D", {"d.dll", "common.dll", "ignored.dll"}));
  profile_.appendEntry(CatchAll("C", {"COMMON.DLL"}));
  profile_.appendEntry(Ignore("I", {"ignored.dll"}));
  profile_.BuildAllSet(profile_.allSet);
  profile_.printers = {Printer("P", "D", 0)};

  profile_.BuildRemovalPlan();
  // The last printer goes: the script's name goes too.
  EXPECT_EQ(removed(ItemCategory::Files), (V{"d.dll", "Mainscr0.unm"}));
  EXPECT_EQ(removed(ItemCategory::Drivers), V{"D"});
  EXPECT_EQ(kept(ItemCategory::Drivers), (V{"C", "I"}));
}

TEST_F(RemovalPlan, TheLastPrinterTakesThePackageWideItemsWithIt) {
  profile_.appendEntry(Driver("D", {"d.dll"}, "C:\\spool\\3\\MAINSCR0.UNM"));
  profile_.appendEntry(Driver("E", {"e.dll"}, "C:\\x\\setup.inf"));
  profile_.appendEntry(Entry(kPavaneEntryName, {"PAVANE32.EXE", "pavane.dll"}));
  SettleMaskingTool(profile_, false);
  profile_.printers = {Printer("P", "D", 0)};

  profile_.BuildRemovalPlan();
  EXPECT_EQ(profile_.keptPrinterCount, 0);
  EXPECT_EQ(removed(ItemCategory::Files),
            (V{"d.dll", "e.dll", "MAINSCR0.UNM", "pavane.dll", "PAVANE32.EXE"}));
  EXPECT_EQ(
      removed(ItemCategory::RegistryKeys),
      (V{"HKLM,\"SOFTWARE\\VARDEL\",\"\",0", "HKLM,\"SOFTWARE\\VARDEL\\Filters\",\"\",1",
         "HKLM,\"SOFTWARE\\VARDEL\\Lumaport\",\"\",1", "HKLM,\"SOFTWARE\\VARDEL\\OEM0H\",\"\",1"}));
  EXPECT_FALSE(profile_.pavaneToolRetained);
}

TEST_F(RemovalPlan, OnePrinterStayingKeepsThePackageWideItems) {
  profile_.appendEntry(Driver("D", {"d.dll"}));
  profile_.appendEntry(Driver("E", {"e.dll"}));
  profile_.appendEntry(Entry(kPavaneEntryName, {"PAVANE32.EXE"}));
  SettleMaskingTool(profile_, false);
  profile_.printers = {Printer("P", "D", 0), Printer("Q", "E", 1)};

  profile_.BuildRemovalPlan();
  EXPECT_EQ(removed(ItemCategory::Files), V{"d.dll"});
  EXPECT_TRUE(removed(ItemCategory::RegistryKeys).empty());
  EXPECT_TRUE(profile_.pavaneToolRetained);
}

TEST_F(RemovalPlan, WithoutAnyPrinterThePackageWideItemsGo) {
  profile_.appendEntry(Driver("D", {"d.dll"}));
  SettleMaskingTool(profile_, false);
  profile_.BuildRemovalPlan();
  EXPECT_EQ(profile_.keptPrinterCount, 0);
  EXPECT_EQ(profile_.removedPrinterCount, 0);
  EXPECT_EQ(removed(ItemCategory::Files), (V{"d.dll", "Mainscr0.unm"}));
  EXPECT_EQ(removed(ItemCategory::RegistryKeys).size(), 4u);
}

// A plan for "remove everything" followed by one in which a printer stays
// (the Extra Info dialog, then the user's changed selection) must not
// carry the package-wide items over.
TEST_F(RemovalPlan, APlanLeavesTheAllSetAsItWas) {
  profile_.appendEntry(Driver("D", {"d.dll"}));
  profile_.appendEntry(Driver("E", {"e.dll"}));
  SettleMaskingTool(profile_, false);
  const V allFiles = Items(profile_.allSet.slot(ItemCategory::Files));
  profile_.printers = {Printer("P", "D", 0), Printer("Q", "E", 0)};
  profile_.BuildRemovalPlan();
  EXPECT_EQ(removed(ItemCategory::RegistryKeys).size(), 4u);

  profile_.printers[1].keep = 1;
  profile_.BuildRemovalPlan();
  EXPECT_EQ(removed(ItemCategory::Files), V{"d.dll"});
  EXPECT_TRUE(removed(ItemCategory::RegistryKeys).empty());
  EXPECT_EQ(Items(profile_.allSet.slot(ItemCategory::Files)), allFiles);
  EXPECT_TRUE(profile_.allSet.slot(ItemCategory::RegistryKeys).isEmpty());
}

TEST_F(RemovalPlan, AMaskingPrinterFollowsThePrinterItMasks) {
  profile_.appendEntry(Driver("D", {"d.dll"}));
  profile_.appendEntry(Driver("Pavane Driver", {"pv.dll"}));
  SettleMaskingTool(profile_, false);
  profile_.printers = {Printer("Office", "D", 0),
                       Printer("Masked Office", "Pavane Driver", 1, "OFFICE"),
                       Printer("Lab", "D", 1), Printer("Masked Lab", "Pavane Driver", 1, "Lab")};

  profile_.BuildRemovalPlan();
  EXPECT_EQ(profile_.printers[1].keep, 0);
  EXPECT_EQ(profile_.printers[3].keep, 1);
  EXPECT_EQ(profile_.removedPrinterCount, 2);
  EXPECT_EQ(profile_.keptPrinterCount, 2);
}

TEST_F(RemovalPlan, MaskersOfMaskersFollowWhereverTheyAreListed) {
  profile_.appendEntry(Driver("D"));
  // C masks B, which masks A; A goes, so do B and C, in either order.
  profile_.printers = {Printer("A", "D", 0), Printer("B", "D", 1, "A"), Printer("C", "D", 1, "B")};
  profile_.BuildRemovalPlan();
  EXPECT_EQ(profile_.printers[1].keep, 0);
  EXPECT_EQ(profile_.printers[2].keep, 0);

  profile_.printers = {Printer("C", "D", 1, "B"), Printer("B", "D", 1, "A"), Printer("A", "D", 0)};
  profile_.BuildRemovalPlan();
  EXPECT_EQ(profile_.printers[0].keep, 0);
  EXPECT_EQ(profile_.printers[1].keep, 0);
  EXPECT_EQ(profile_.removedPrinterCount, 3);

  // A foreign masker is marked but passes nothing on; a deleted printer
  // takes nothing with it.
  PrinterEntry foreign = Printer("F", "D", 1, "A");
  foreign.foreign = 1;
  PrinterEntry gone = Printer("G", "D", 0);
  gone.removed = 1;
  profile_.printers = {Printer("A", "D", 0), foreign, Printer("H", "D", 1, "F"), gone,
                       Printer("I", "D", 1, "G")};
  profile_.BuildRemovalPlan();
  EXPECT_EQ(profile_.printers[1].keep, 0);
  EXPECT_EQ(profile_.printers[2].keep, 1);
  EXPECT_EQ(profile_.printers[4].keep, 1);
}

TEST_F(RemovalPlan, ForeignAndRemovedPrintersAreNotCounted) {
  profile_.appendEntry(Driver("D", {"d.dll"}));
  profile_.appendEntry(Driver("F", {"f.dll"}));
  SettleMaskingTool(profile_, false);
  PrinterEntry foreign = Printer("Other", "F", 1);
  foreign.foreign = 1;
  PrinterEntry gone = Printer("Gone", "F", 1);
  gone.removed = 1;
  profile_.printers = {foreign, gone, Printer("P", "D", 1)};
  profile_.BuildRemovalPlan();
  EXPECT_EQ(profile_.keptPrinterCount, 1);
  EXPECT_EQ(profile_.removedPrinterCount, 0);
  // Nothing keeps f.dll: the foreign and the deleted printer do not count.
  EXPECT_EQ(removed(ItemCategory::Files), V{"f.dll"});
}

TEST_F(RemovalPlan, RunningItTwiceGivesTheSameSets) {
  profile_.appendEntry(Driver("D", {"d.dll", "X.dll"}));
  profile_.appendEntry(Driver("E", {"x.DLL"}));
  profile_.appendEntry(Entry(kPavaneEntryName, {"PAVANE32.EXE"}));
  SettleMaskingTool(profile_, false);
  profile_.printers = {Printer("P", "D", 0)};
  profile_.BuildRemovalPlan();
  const ItemSet first = profile_.removeSet;
  profile_.BuildRemovalPlan();
  for (std::size_t i = 0; i < kItemCategoryCount; ++i) {
    EXPECT_EQ(Items(profile_.removeSet.items[i]), Items(first.items[i]));
  }
}

TEST_F(RemovalPlan, SettlementKeepsOrIsolatesTheMaskingTool) {
  profile_.appendEntry(Driver("D", {"d.dll", "shared.dll"}));
  profile_.appendEntry(Entry("pavane", {"PAVANE32.EXE", "Shared.dll"}));
  SettleMaskingTool(profile_, false);
  EXPECT_EQ(Items(profile_.allSet.slot(ItemCategory::Files)), V{"d.dll"});

  SettleMaskingTool(profile_, true);
  EXPECT_EQ(Items(profile_.allSet.slot(ItemCategory::Files)), (V{"PAVANE32.EXE", "Shared.dll"}));
  EXPECT_TRUE(profile_.allSet.slot(ItemCategory::Drivers).isEmpty());
}

TEST_F(RemovalPlan, SettlementWithoutAMaskingToolEntryIsTheAllSet) {
  profile_.appendEntry(Driver("D", {"d.dll"}));
  SettleMaskingTool(profile_, true);
  EXPECT_EQ(Items(profile_.allSet.slot(ItemCategory::Files)), V{"d.dll"});
}

class RemovalPlanOnWin32s : public ::testing::Test {
 protected:
  test::TestMachine machine_{"win32s"};
  UninstallProfile profile_{machine_.system()};
};

TEST_F(RemovalPlanOnWin32s, TheMaskingToolIsThe16BitProgram) {
  EXPECT_FALSE(profile_.is9xPlatform);
  profile_.appendEntry(Driver("D", {"PAVANE32.EXE"}));
  SettleMaskingTool(profile_, false);
  profile_.BuildRemovalPlan();
  EXPECT_TRUE(profile_.pavaneToolRetained);
  profile_.appendEntry(Driver("E", {"pavane.exe"}));
  SettleMaskingTool(profile_, false);
  profile_.BuildRemovalPlan();
  EXPECT_FALSE(profile_.pavaneToolRetained);
}

TEST(UninstallProfile, StartsEmptyWithItsPlatformFlag) {
  test::TestMachine win98("98");
  const UninstallProfile profile(win98.system());
  EXPECT_TRUE(profile.is9xPlatform);
  EXPECT_TRUE(profile.allowPrinterChoice);
  EXPECT_FALSE(profile.removeOemInf || profile.uninstallFax || profile.uninstallScanner);
  EXPECT_TRUE(profile.entries.empty());
  test::TestMachine win10;
  EXPECT_FALSE(UninstallProfile(win10.system()).is9xPlatform);
}

}  // namespace

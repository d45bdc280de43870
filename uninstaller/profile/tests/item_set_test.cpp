// ItemSet: union, difference and registry items.
#include "profile/item_set.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace {

using V = std::vector<std::string>;

V Items(const StringList& list) {
  V out;
  for (const PathString& s : list) out.emplace_back(s.c_str());
  return out;
}

ItemSet WithFiles(const V& files) {
  ItemSet set;
  for (const std::string& f : files) set.slot(ItemCategory::Files).append(f.c_str());
  return set;
}

TEST(ItemSet, UniteSortsMergesAndKeepsTheFirstSpelling) {
  ItemSet set = WithFiles({"A.DLL", "b.dll"});
  set.name.assign("Vardel TR820");
  set.isManufacturer = true;
  ItemSet other = WithFiles({"a.dll", "c.dll", "C.DLL"});
  other.name.assign("other");
  other.slot(ItemCategory::Monitors).append("Vardel Port");

  set.Unite(other);
  EXPECT_EQ(Items(set.slot(ItemCategory::Files)), (V{"A.DLL", "b.dll", "c.dll"}));
  EXPECT_EQ(Items(set.slot(ItemCategory::Monitors)), (V{"Vardel Port"}));
  EXPECT_STREQ(set.name.c_str(), "Vardel TR820");
  EXPECT_TRUE(set.isManufacturer);

  set.Unite(set);
  EXPECT_EQ(Items(set.slot(ItemCategory::Files)), (V{"A.DLL", "b.dll", "c.dll"}));
}

// UniteAll must give what a chain of Unite calls gives, spelling included,
// also when the target starts unsorted.
TEST(ItemSet, UniteAllEqualsAChainOfUnites) {
  std::mt19937 random(1234);
  const V pool = {"a", "A", "b", "B", "c", "_", "ab", "AB", "a b"};
  const auto randomList = [&](StringList& list) {
    const int n = static_cast<int>(random() % 6);
    for (int i = 0; i < n; ++i) list.append(pool[random() % pool.size()].c_str());
  };
  for (int round = 0; round < 2000; ++round) {
    ItemSet start;
    randomList(start.slot(ItemCategory::Files));
    randomList(start.slot(ItemCategory::Hooks));
    std::vector<ItemSet> others(random() % 5);
    for (ItemSet& o : others) {
      randomList(o.slot(ItemCategory::Files));
      randomList(o.slot(ItemCategory::Hooks));
    }
    std::vector<const ItemSet*> pointers;
    for (const ItemSet& o : others) pointers.push_back(&o);

    ItemSet chained = start;
    for (const ItemSet& o : others) chained.Unite(o);
    ItemSet batched = start;
    batched.UniteAll(pointers);
    for (std::size_t slot = 0; slot < kItemCategoryCount; ++slot) {
      ASSERT_EQ(Items(batched.items[slot]), Items(chained.items[slot])) << "round " << round;
    }
  }
}

TEST(ItemSet, SubtractWorksSlotBySlotIgnoringCase) {
  ItemSet set = WithFiles({"a.dll", "b.dll", "b.dll"});
  set.slot(ItemCategory::Services).append("svc");
  set.slot(ItemCategory::Services).append("svc");
  ItemSet other = WithFiles({"A.DLL"});
  other.slot(ItemCategory::Monitors).append("svc");

  set.Subtract(other);
  EXPECT_EQ(Items(set.slot(ItemCategory::Files)), (V{"b.dll", "b.dll"}));
  // Nothing to take away in Services: the slot keeps its duplicates.
  EXPECT_EQ(Items(set.slot(ItemCategory::Services)), (V{"svc", "svc"}));
  set.Normalize();
  EXPECT_EQ(Items(set.slot(ItemCategory::Services)), (V{"svc"}));
}

TEST(ItemSet, AddRegistryKeyWritesTheItemFormat) {
  ItemSet set;
  EXPECT_EQ(set.AddRegistryKey(platform::hkey::kLocalMachine, "SOFTWARE\\VARDEL", "", false), 1);
  EXPECT_EQ(set.AddRegistryKey(platform::hkey::kCurrentUser, "Software\\X", "Val", true), 1);
  EXPECT_EQ(set.AddRegistryKey(platform::hkey::kClassesRoot, "CLSID\\{1}", nullptr, true), 1);
  EXPECT_EQ(set.AddRegistryKey(platform::hkey::kUsers, ".DEFAULT\\X", "", false), 1);
  EXPECT_EQ(set.AddRegistryKey(platform::hkey::kLocalMachine, "SOFTWARE\\VARDEL", "", false), 1);
  EXPECT_EQ(Items(set.slot(ItemCategory::RegistryKeys)),
            (V{"HKLM,\"SOFTWARE\\VARDEL\",\"\",0", "HKCU,\"Software\\X\",\"Val\",1",
               "HKCR,\"CLSID\\{1}\",\"\",1", "HKU,\".DEFAULT\\X\",\"\",0",
               "HKLM,\"SOFTWARE\\VARDEL\",\"\",0"}));
}

TEST(ItemSet, AddRegistryKeyRefusesWhatItCannotWriteWhole) {
  ItemSet set;
  EXPECT_EQ(set.AddRegistryKey(platform::RegKeyHandle{0x80000005u} /* HKEY_CURRENT_CONFIG */,
                               "System", "", false),
            0);
  EXPECT_EQ(set.AddRegistryKey(platform::hkey::kLocalMachine, "", "", false), 0);
  EXPECT_EQ(set.AddRegistryKey(platform::hkey::kLocalMachine, nullptr, "", false), 0);
  // HKLM,"<key>","",1 takes 12 characters besides the key.
  const std::string longKey(248, 'k');
  EXPECT_EQ(set.AddRegistryKey(platform::hkey::kLocalMachine, longKey.c_str(), "", true), 0);
  EXPECT_TRUE(set.hasNoItems());
  const std::string fits(247, 'k');
  EXPECT_EQ(set.AddRegistryKey(platform::hkey::kLocalMachine, fits.c_str(), "", true), 1);
}

}  // namespace

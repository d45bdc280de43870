// Properties of the removal plan over thousands of seeded random profiles
// and printer selections, and a comparison with a plain step-by-step
// rendering of the plan (linear lookups, one Unite at a time).
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "profile/uninstall_profile.h"
#include "profile_builders.h"
#include "test_machine.h"

namespace {

using test::Items;

// Names and items drawn from small pools, in several spellings, so that
// equal names, shared items and case variants are common.
const std::vector<std::string> kNames = {"Vardel TR820", "vardel tr820", "Vardel TR900", "Vardel",
                                         "VARDEL Lab",   "Corvan",       "Corvan X1",    "Pavane",
                                         "PAVANE",       "Other"};
const std::vector<std::string> kItems = {"a.dll",        "A.DLL",        "b.dll", "c.dll",
                                         "PAVANE32.EXE", "pavane32.exe", "x",     "X",
                                         "common.hlp",   "Mainscr0.unm"};
const std::vector<std::string> kScripts = {"C:\\a\\Mainscr0.unm", "C:\\b\\MAINSCR0.UNM",
                                           "C:\\c\\setup.inf"};

class RandomProfile {
 public:
  explicit RandomProfile(unsigned seed) : random_(seed) {}

  void fill(UninstallProfile& profile) {
    const int entryCount = pick(12);
    for (int i = 0; i < entryCount; ++i) profile.appendEntry(entry());
    SettleMaskingTool(profile, pick(4) == 0);
    const int printerCount = pick(8);
    for (int i = 0; i < printerCount; ++i) profile.printers.push_back(printer(profile.printers));
  }

 private:
  int pick(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }
  const std::string& from(const std::vector<std::string>& pool) {
    return pool[static_cast<std::size_t>(pick(static_cast<int>(pool.size())))];
  }

  ItemSet entry() {
    ItemSet e;
    e.name.assign(from(kNames).c_str());
    e.scriptPath.assign(from(kScripts).c_str());
    switch (pick(6)) {
      case 0:
        e.isManufacturer = true;
        break;
      case 1:
        e.isCatchAll = true;
        break;
      case 2:
        e.isIgnore = true;
        break;
      default:
        break;
    }
    for (std::size_t slot = 0; slot < kItemCategoryCount; ++slot) {
      if (pick(3) != 0) continue;
      const int n = pick(4);
      for (int i = 0; i < n; ++i) e.items[slot].append(from(kItems).c_str());
      e.items[slot].Normalize();
    }
    if (!e.isManufacturer) e.slot(ItemCategory::Drivers).append(e.name);
    return e;
  }

  PrinterEntry printer(const PrinterList& existing) {
    PrinterEntry p;
    char name[16];
    std::snprintf(name, sizeof name, "P%d", pick(6));
    p.name.assign(name);
    p.driver.assign((from(kNames) + (pick(2) ? "" : " Model")).c_str());
    if (!existing.empty() && pick(3) == 0)
      p.pavaneName = existing[pick(static_cast<int>(existing.size()))].name;
    p.keep = pick(2);
    p.foreign = pick(8) == 0;
    p.removed = pick(8) == 0;
    return p;
  }

  std::mt19937 random_;
};

// The plan as a plain sequence of the documented steps.
struct ReferencePlan {
  ItemSet keep;
  ItemSet remove;
  int kept = 0;
  int removed = 0;
};

ReferencePlan Reference(const UninstallProfile& original) {
  // Maskers follow the printers they mask, repeated until nothing changes.
  PrinterList printers = original.printers;
  for (bool changed = true; changed;) {
    changed = false;
    for (const PrinterEntry& p : printers) {
      if (!p.isToBeRemoved()) continue;
      for (PrinterEntry& other : printers) {
        if (!other.pavaneName.isEmpty() && other.pavaneName == p.name && other.keep != 0) {
          other.keep = 0;
          changed = true;
        }
      }
    }
  }
  ReferencePlan plan;
  for (const PrinterEntry& p : printers) {
    if (p.foreign || p.removed) continue;
    ItemSet found;
    const bool has = original.FindEntry(found, p.driver.c_str()) ||
                     original.FindManufacturerEntry(found, p.driver.c_str());
    if (p.keep) {
      ++plan.kept;
      if (has) plan.keep.Unite(found);
    } else {
      ++plan.removed;
    }
  }
  ItemSet all = original.allSet;
  if (plan.kept == 0) {
    ItemSet pavane;
    if (original.FindEntry(pavane, kPavaneEntryName)) all.Unite(pavane);
    for (const ItemSet& e : original.entries) {
      std::string path = e.scriptPath.c_str();
      const std::string name = path.substr(path.rfind('\\') + 1);
      if (name.size() > 4 && PathString(name.substr(name.size() - 4).c_str()).equals(".unm")) {
        all.slot(ItemCategory::Files).append(name.c_str());
      }
    }
    for (const char* key :
         {"SOFTWARE\\VARDEL\\OEM0H", "SOFTWARE\\VARDEL\\Lumaport", "SOFTWARE\\VARDEL\\Filters"}) {
      all.AddRegistryKey(platform::hkey::kLocalMachine, key, "", true);
    }
    all.AddRegistryKey(platform::hkey::kLocalMachine, "SOFTWARE\\VARDEL", "", false);
  }
  for (const ItemSet& e : original.entries) {
    if (e.isCatchAll || e.isIgnore) plan.keep.Unite(e);
  }
  plan.remove = all;
  plan.remove.Subtract(plan.keep);
  plan.keep.Normalize();
  plan.remove.Normalize();
  return plan;
}

bool Overlaps(const StringList& a, const StringList& b) {
  for (const PathString& s : a) {
    if (b.contains(s.c_str())) return true;
  }
  return false;
}

void ExpectSameSets(const ItemSet& actual, const ItemSet& expected, unsigned seed) {
  for (std::size_t i = 0; i < kItemCategoryCount; ++i) {
    ASSERT_EQ(Items(actual.items[i]), Items(expected.items[i]))
        << "seed " << seed << ", slot " << CategoryName(CategoryAt(i));
  }
}

class PlanProperties : public ::testing::Test {
 protected:
  test::TestMachine machine_;
  static constexpr unsigned kProfiles = 3000;
};

TEST_F(PlanProperties, MatchesTheStepByStepPlanAndIsRepeatable) {
  for (unsigned seed = 1; seed <= kProfiles; ++seed) {
    UninstallProfile profile(machine_.system());
    RandomProfile(seed).fill(profile);
    const UninstallProfile before = profile;
    profile.BuildRemovalPlan();

    // SortEntries already ran in the settlement, so `before` has the order
    // the plan works on.
    const ReferencePlan expected = Reference(before);
    ASSERT_EQ(profile.keptPrinterCount, expected.kept) << "seed " << seed;
    ASSERT_EQ(profile.removedPrinterCount, expected.removed) << "seed " << seed;
    ExpectSameSets(profile.keepSet, expected.keep, seed);
    ExpectSameSets(profile.removeSet, expected.remove, seed);

    const ItemSet keep = profile.keepSet;
    const ItemSet remove = profile.removeSet;
    const PrinterList printers = profile.printers;
    profile.BuildRemovalPlan();
    ExpectSameSets(profile.keepSet, keep, seed);
    ExpectSameSets(profile.removeSet, remove, seed);
    for (std::size_t i = 0; i < printers.size(); ++i) {
      ASSERT_EQ(profile.printers[i].keep, printers[i].keep) << "seed " << seed;
    }
  }
}

TEST_F(PlanProperties, NothingKeptIsEverRemoved) {
  for (unsigned seed = 1; seed <= kProfiles; ++seed) {
    UninstallProfile profile(machine_.system());
    RandomProfile(seed).fill(profile);
    profile.BuildRemovalPlan();

    for (const PrinterEntry& p : profile.printers) {
      if (p.keep == 0 || p.foreign || p.removed) continue;
      ItemSet own;
      if (!profile.FindEntry(own, p.driver.c_str()) &&
          !profile.FindManufacturerEntry(own, p.driver.c_str())) {
        continue;
      }
      for (std::size_t i = 0; i < kItemCategoryCount; ++i) {
        ASSERT_FALSE(Overlaps(own.items[i], profile.removeSet.items[i]))
            << "seed " << seed << ": an item of kept printer " << p.name.c_str() << " is removed";
      }
    }
    for (const ItemSet& e : profile.entries) {
      if (!e.isCatchAll && !e.isIgnore) continue;
      for (std::size_t i = 0; i < kItemCategoryCount; ++i) {
        ASSERT_FALSE(Overlaps(e.items[i], profile.removeSet.items[i]))
            << "seed " << seed << ": an item of " << e.name.c_str() << " is removed";
      }
    }
  }
}

TEST_F(PlanProperties, TheRemoveSetComesFromTheAllSetAndThePackageItems) {
  for (unsigned seed = 1; seed <= kProfiles; ++seed) {
    UninstallProfile profile(machine_.system());
    RandomProfile(seed).fill(profile);
    profile.BuildRemovalPlan();

    ItemSet allowed = profile.allSet;
    if (profile.keptPrinterCount == 0) profile.AddCommonItems(allowed);
    for (std::size_t i = 0; i < kItemCategoryCount; ++i) {
      const StringList& removed = profile.removeSet.items[i];
      for (const PathString& item : removed) {
        ASSERT_TRUE(allowed.items[i].contains(item.c_str()))
            << "seed " << seed << ": " << item.c_str() << " comes from nowhere";
      }
      // Case variants of one item count once.
      ASSERT_TRUE(removed.isNormalized()) << "seed " << seed;
      ASSERT_TRUE(profile.keepSet.items[i].isNormalized()) << "seed " << seed;
    }
  }
}

// A plan for another selection made earlier leaves no trace.
TEST_F(PlanProperties, APlanDependsOnlyOnTheCurrentSelection) {
  std::mt19937 flip(99);
  for (unsigned seed = 1; seed <= kProfiles / 3; ++seed) {
    UninstallProfile profile(machine_.system());
    RandomProfile(seed).fill(profile);
    UninstallProfile fresh = profile;
    for (PrinterEntry& p : profile.printers) p.keep = 0;
    profile.BuildRemovalPlan();
    profile.printers = fresh.printers;
    for (std::size_t i = 0; i < profile.printers.size(); ++i) {
      profile.printers[i].keep = fresh.printers[i].keep = static_cast<std::int32_t>(flip() % 2);
    }
    profile.BuildRemovalPlan();
    fresh.BuildRemovalPlan();
    ExpectSameSets(profile.removeSet, fresh.removeSet, seed);
  }
}

}  // namespace

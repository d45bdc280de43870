// StringList: the stable case-insensitive order, normalising, merging and
// the difference.
#include "profile/string_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

StringList Make(const std::vector<std::string>& items) {
  StringList list;
  for (const std::string& s : items) list.append(s.c_str());
  return list;
}

std::vector<std::string> Items(const StringList& list) {
  std::vector<std::string> out;
  for (const PathString& s : list) out.emplace_back(s.c_str());
  return out;
}

TEST(StringList, SortIsStableAcrossCaseVariants) {
  StringList list = Make({"b", "A", "B", "a", "c"});
  list.sort();
  EXPECT_EQ(Items(list), (std::vector<std::string>{"A", "a", "b", "B", "c"}));
}

TEST(StringList, NormalizeKeepsTheFirstSpellingOfEachItem) {
  StringList list = Make({"PAVANE32.EXE", "x.dll", "pavane32.exe", "X.DLL", "x.dll"});
  list.Normalize();
  EXPECT_EQ(Items(list), (std::vector<std::string>{"PAVANE32.EXE", "x.dll"}));
  EXPECT_TRUE(list.isNormalized());
  EXPECT_FALSE(Make({"a", "A"}).isNormalized());
  EXPECT_FALSE(Make({"b", "a"}).isNormalized());
}

TEST(StringList, MergePlacesEachItemBeforeTheFirstGreaterOne) {
  StringList list = Make({"a", "c", "e"});
  list.merge(Make({"B", "C", "f"}));
  // An item of this list stays ahead of an equal incoming one.
  EXPECT_EQ(Items(list), (std::vector<std::string>{"a", "B", "c", "C", "e", "f"}));

  // Unsorted lists merge by the same walk.
  StringList unsorted = Make({"c", "a"});
  unsorted.merge(Make({"A"}));
  EXPECT_EQ(Items(unsorted), (std::vector<std::string>{"A", "c", "a"}));
}

TEST(StringList, SubtractDropsEveryCaseVariantAndKeepsTheRest) {
  StringList list = Make({"a.dll", "B.DLL", "b.dll", "c.dll", "c.dll"});
  list.Subtract(Make({"b.DLL"}));
  EXPECT_EQ(Items(list), (std::vector<std::string>{"a.dll", "c.dll", "c.dll"}));

  StringList untouched = Make({"x", "x"});
  untouched.Subtract(StringList{});
  EXPECT_EQ(Items(untouched), (std::vector<std::string>{"x", "x"}));

  StringList empty;
  empty.Subtract(Make({"x"}));
  EXPECT_TRUE(empty.isEmpty());
}

TEST(StringList, ContainsIgnoresCase) {
  const StringList list = Make({"PAVANE32.EXE"});
  EXPECT_TRUE(list.contains("Pavane32.exe"));
  EXPECT_FALSE(list.contains("PAVANE.EXE"));
}

}  // namespace

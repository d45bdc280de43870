// PathString, the in-place text utilities and atoi.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "profile/path_string.h"
#include "profile/text_utils.h"

namespace {

TEST(PathString, CutsAt259CharactersAndTreatsNullAsEmpty) {
  const std::string long300(300, 'x');
  PathString s(long300.c_str());
  EXPECT_EQ(s.length(), 259u);
  EXPECT_FALSE(s.append("y"));
  EXPECT_EQ(s.length(), 259u);

  s.assign(nullptr);
  EXPECT_TRUE(s.isEmpty());
  EXPECT_TRUE(s.append("ab"));
  EXPECT_TRUE(s.append(nullptr));
  EXPECT_STREQ(s.c_str(), "ab");
}

TEST(PathString, ComparesAsStrcmpiDoes) {
  EXPECT_EQ(PathString("Mainscr0.UNM"), PathString("mainscr0.unm"));
  EXPECT_NE(PathString("abc"), PathString("abcd"));
  // _strcmpi lower-cases before comparing: '_' (95) sorts before 'a' (97),
  // although it sorts after 'A' (65) in a plain comparison.
  EXPECT_LT(PathString("AB_"), PathString("ABC"));
  EXPECT_FALSE(PathString("ABC") < PathString("AB_"));
  // Bytes above 127 are not folded.
  EXPECT_NE(PathString("\xC4"), PathString("\xE4"));
  EXPECT_TRUE(PathString("x").equals("X"));
  EXPECT_TRUE(PathString().equals(nullptr));
}

TEST(SplitAt, CutsAtTheFirstSeparatorOnly) {
  char text[] = "HKLM,\"Soft\",\"\",1";
  char* rest = SplitAt(text, ',');
  EXPECT_STREQ(text, "HKLM");
  ASSERT_NE(rest, nullptr);
  EXPECT_STREQ(rest, "\"Soft\",\"\",1");

  char none[] = "no separator";
  EXPECT_EQ(SplitAt(none, ','), nullptr);
  EXPECT_STREQ(none, "no separator");
  EXPECT_EQ(SplitAt(nullptr, ','), nullptr);

  char trailing[] = "a,";
  rest = SplitAt(trailing, ',');
  ASSERT_NE(rest, nullptr);
  EXPECT_STREQ(rest, "");
}

TEST(SplitAt, WalksAMultiStringWithTheNulSeparator) {
  char list[] = "one\0two\0\0";
  char* s = list;
  std::string seen;
  for (; s != nullptr && *s != '\0'; s = SplitAt(s, '\0')) seen += std::string(s) + "|";
  EXPECT_EQ(seen, "one|two|");

  char empty[] = "\0";
  EXPECT_EQ(SplitAt(empty, '\0'), nullptr);
}

TEST(SplitAtOutsideQuotes, IgnoresSeparatorsBetweenQuotes) {
  char text[] = "\"a,b\",c,d";
  char* rest = SplitAtOutsideQuotes(text, ',');
  EXPECT_STREQ(text, "\"a,b\"");
  ASSERT_NE(rest, nullptr);
  EXPECT_STREQ(rest, "c,d");

  char unclosed[] = "\"a,b";
  EXPECT_EQ(SplitAtOutsideQuotes(unclosed, ','), nullptr);
  EXPECT_STREQ(unclosed, "\"a,b");

  // Quotes are counted from the start of the text: the second pair reopens.
  char twoPairs[] = "\"x\",\"y,z\"";
  rest = SplitAtOutsideQuotes(twoPairs, ',');
  EXPECT_STREQ(twoPairs, "\"x\"");
  ASSERT_NE(rest, nullptr);
  EXPECT_STREQ(rest, "\"y,z\"");
}

TEST(TrimChar, RemovesEveryLeadingAndTrailingOccurrence) {
  char quoted[] = "\"\"Vardel TR820\"";
  TrimChar(quoted, '"');
  EXPECT_STREQ(quoted, "Vardel TR820");

  char inner[] = "a\"b";
  TrimChar(inner, '"');
  EXPECT_STREQ(inner, "a\"b");

  char only[] = "   ";
  TrimChar(only, ' ');
  EXPECT_STREQ(only, "");

  char tabs[] = " \tx\t ";
  TrimChar(tabs, ' ');
  EXPECT_STREQ(tabs, "\tx\t");
}

TEST(AtoI, FollowsTheRuntimeRules) {
  EXPECT_EQ(AtoI("12abc"), 12);
  EXPECT_EQ(AtoI("abc"), 0);
  EXPECT_EQ(AtoI("  \t-7"), -7);
  EXPECT_EQ(AtoI("+3"), 3);
  EXPECT_EQ(AtoI("- 3"), 0);
  EXPECT_EQ(AtoI("99999999999999999999"), INT_MAX);
  EXPECT_EQ(AtoI("-99999999999999999999"), INT_MIN);
  EXPECT_EQ(AtoI("-2147483648"), INT_MIN);
  EXPECT_EQ(AtoI(nullptr), 0);
}

}  // namespace

// The code page 1252 conversions at the JSON boundary.
#include "planner/cp1252.h"

#include <gtest/gtest.h>

namespace {

TEST(Cp1252, EveryByteSurvivesTheTripThroughUtf8) {
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  const std::string utf8 = Cp1252ToUtf8(all);
  EXPECT_NE(utf8.find("\xE2\x82\xAC"), std::string::npos);  // 0x80, the euro sign
  EXPECT_NE(utf8.find("\xC2\x81"), std::string::npos);      // unassigned: U+0081
  EXPECT_EQ(Utf8ToCp1252(utf8), all);
  // Not in the code page: Cyrillic, a CJK character, an emoji.
  EXPECT_EQ(Utf8ToCp1252("\xD0\x96-\xE4\xB8\xAD-\xF0\x9F\x98\x80"), "?-?-?");
}

}  // namespace

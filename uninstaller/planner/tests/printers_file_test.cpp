// The printers file: JSON read with nlohmann/json, texts turned into the
// code page.
#include "planner/printers_file.h"

#include <gtest/gtest.h>

namespace {

TEST(PrintersFile, ReadsTheFieldsAndDefaultsTheRest) {
  const PrintersResult read = ParsePrinters(
      "[{\"name\": \"Office\", \"driver\": \"Vardel TR820\", \"keep\": true, \"foreign\": 0,"
      "  \"comment\": [1, 2]},"
      " {\"name\": \"Masked\", \"pavaneName\": \"Office\", \"removed\": 5, \"keep\": null}]");
  ASSERT_TRUE(read.ok) << read.error;
  ASSERT_EQ(read.printers.size(), 2u);
  EXPECT_STREQ(read.printers[0].driver.c_str(), "Vardel TR820");
  EXPECT_EQ(read.printers[0].keep, 1);
  EXPECT_EQ(read.printers[1].removed, 1);
  EXPECT_EQ(read.printers[1].keep, 0);
  EXPECT_TRUE(read.printers[1].driver.isEmpty());
  EXPECT_STREQ(read.printers[1].pavaneName.c_str(), "Office");
}

TEST(PrintersFile, TurnsUtf8AndEscapesIntoTheCodePage) {
  const PrintersResult read =
      ParsePrinters("[{\"name\": \"\xC3\xA4\xE2\x82\xAC\\u00e9\\ud83d\\ude00\\u0081\"}]");
  ASSERT_TRUE(read.ok) << read.error;
  EXPECT_STREQ(read.printers[0].name.c_str(), "\xE4\x80\xE9?\x81");
}

TEST(PrintersFile, RefusesWhatIsNotAnArrayOfPrinters) {
  EXPECT_FALSE(ParsePrinters("{}").ok);
  EXPECT_FALSE(ParsePrinters("[1]").ok);
  EXPECT_EQ(ParsePrinters("[{}, {\"keep\": \"yes\"}]").error,
            "printer 2 \"keep\" is not a number or true/false");
  EXPECT_EQ(ParsePrinters("[").error.rfind("malformed JSON: ", 0), 0u);
  // The parser's place and reason, without its exception id.
  EXPECT_EQ(ParsePrinters("[\n\n  x]").error.rfind("malformed JSON: line 3, column 3: ", 0), 0u);
}

}  // namespace

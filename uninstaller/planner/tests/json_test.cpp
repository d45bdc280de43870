// The plan tool's JSON reader and writer.
#include <gtest/gtest.h>

#include "planner/json.h"
#include "planner/printers_file.h"

namespace {

TEST(Json, ReadsWhatItWrites) {
  json::Value root = json::Value::object();
  root.add("text", json::Value::string("C:\\Mainscr0.unm \"quoted\"\n\x80\xE4"));
  root.add("n", json::Value::number(-12));
  json::Value list = json::Value::array();
  list.push(json::Value::boolean(true));
  list.push(json::Value());
  root.add("list", std::move(list));
  const std::string written = json::Write(root);
  // Bytes above 127 are written as escapes of their code page 1252 meaning.
  EXPECT_NE(written.find("\\u20AC\\u00E4"), std::string::npos);

  const json::ParseResult read = json::Parse(written);
  ASSERT_TRUE(read.ok) << read.error;
  EXPECT_EQ(read.value.find("text")->asString(), "C:\\Mainscr0.unm \"quoted\"\n\x80\xE4");
  EXPECT_EQ(read.value.find("n")->asNumber(), -12);
  EXPECT_TRUE(read.value.find("list")->items()[0].asBool());
  EXPECT_TRUE(read.value.find("list")->items()[1].isNull());
}

TEST(Json, TurnsUtf8AndEscapesIntoTheCodePage) {
  const json::ParseResult read = json::Parse("[\"\xC3\xA4\xE2\x82\xAC\\u00e9\\ud83d\\ude00\"]");
  ASSERT_TRUE(read.ok) << read.error;
  EXPECT_EQ(read.value.items()[0].asString(), "\xE4\x80\xE9?");
}

TEST(Json, RefusesMalformedTextWithItsPlace) {
  for (const char* bad : {"", "[1,]", "{\"a\" 1}", "[\"open", "01", "[1] x", "\"\x01\"", "tru",
                          "\"\\x\"", "\"\xFF\"", "-", "1.", "{1:2}"}) {
    const json::ParseResult read = json::Parse(bad);
    EXPECT_FALSE(read.ok) << bad;
    EXPECT_EQ(read.error.rfind("line 1, column ", 0), 0u) << read.error;
  }
  EXPECT_NE(json::Parse("[\n\n  x]").error.find("line 3, column 3"), std::string::npos);
  EXPECT_FALSE(json::Parse(std::string(500, '[') + std::string(500, ']')).ok);
}

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

TEST(PrintersFile, RefusesWhatIsNotAnArrayOfPrinters) {
  EXPECT_FALSE(ParsePrinters("{}").ok);
  EXPECT_FALSE(ParsePrinters("[1]").ok);
  EXPECT_EQ(ParsePrinters("[{}, {\"keep\": \"yes\"}]").error,
            "printer 2 \"keep\" is not a number or true/false");
  EXPECT_EQ(ParsePrinters("[").error.rfind("malformed JSON: ", 0), 0u);
}

}  // namespace

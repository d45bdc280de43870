// The script text format and the ScriptFile queries, on text in memory.
// Loading through the file system is tested in script_load_test.cpp.
#include "profile/script_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

ScriptFile Parse(const std::string& text) {
  ScriptFile script;
  EXPECT_TRUE(script.LoadText("C:\\s\\Mainscr0.unm", text));
  return script;
}

// The strings of a multi-string.
std::vector<std::string> Strings(const char* buffer) {
  std::vector<std::string> out;
  for (const char* s = buffer; *s != '\0'; s += out.back().size() + 1) out.emplace_back(s);
  return out;
}

std::vector<std::string> Keys(const ScriptFile& script, const char* section) {
  char buffer[4096] = {};
  script.GetKeys(section, buffer, sizeof buffer);
  return Strings(buffer);
}

std::vector<std::string> Lines(const ScriptFile& script, const char* section) {
  char buffer[4096] = {};
  script.GetLines(section, buffer, sizeof buffer);
  return Strings(buffer);
}

using V = std::vector<std::string>;

TEST(ScriptFormat, EntriesAreTrimmedOfSpacesAndLoseTheirComment) {
  const ScriptFile s = Parse(
      "[S]\r\n"
      "key  =  value with = sign ; comment = x\r\n"
      "\tTab=x\t\r\n"
      "=only value\r\n"
      "only key=\r\n"
      "no equals sign\r\n"
      "\"q,1\" = \"v;w\"\r\n");
  EXPECT_EQ(Lines(s, "S"), (V{"key=value with = sign", "\tTab=x\t", "=only value", "only key",
                              "no equals sign", "\"q,1\"=\"v"}));
  // An empty key is an empty string, which ends the multi-string for
  // whoever walks it.
  EXPECT_EQ(Keys(s, "S"), (V{"key", "\tTab"}));
  char buffer[64];
  EXPECT_EQ(s.GetKeys("S", buffer, sizeof buffer), 4 + 5 + 1 + 9 + 15 + 6);
}

TEST(ScriptFormat, IgnoredLines) {
  const ScriptFile s = Parse(
      "before=header\r\n"
      "[S]\r\n"
      "; comment=1\r\n"
      " indented=1\r\n"
      "\r\n\r\n\n\r"
      "kept=1\r\n"
      "[unclosed\r\n"
      "still in S=2\r\n");
  ASSERT_EQ(s.sections().size(), 1u);
  EXPECT_EQ(Lines(s, "S"), (V{"kept=1", "still in S=2"}));
  EXPECT_EQ(s.EntryCount("unclosed"), 0);
}

TEST(ScriptFormat, LineEndsOfAnyKindAndAMissingLastOne) {
  const ScriptFile s = Parse("\r\n[A]\ra=1\nb=2\n\r\nc=3");
  EXPECT_EQ(Lines(s, "A"), (V{"a=1", "b=2", "c=3"}));
}

TEST(ScriptFormat, ReadingStopsAtTheFirstNul) {
  static const char kText[] = "[A]\r\na=1\r\nb=2\0\r\nc=3\r\n";
  const std::string text(kText, sizeof kText - 1);
  const ScriptFile s = Parse(text);
  // The line cut by the NUL is not ended by a line break and is dropped too.
  EXPECT_EQ(Lines(s, "A"), (V{"a=1"}));
}

TEST(ScriptFormat, SectionNamesAreKeptAsWritten) {
  const ScriptFile s = Parse(
      "[Files]\r\nfirst=1\r\n"
      "[FILES]\r\nsecond=1\r\nthird=1\r\n"
      "[ Spaced ]\r\nx=1\r\n"
      "[a]b]\r\ny=1\r\n"
      "[]\r\nz=1\r\n");
  EXPECT_EQ(s.EntryCount("files"), 1);
  EXPECT_EQ(s.EntryCount("FILES"), 1);
  EXPECT_EQ(Keys(s, "Files"), (V{"first"}));
  EXPECT_EQ(s.EntryCount("Spaced"), 0);
  EXPECT_EQ(s.EntryCount(" Spaced "), 1);
  EXPECT_EQ(s.EntryCount("a"), 1);
  // An empty name is never looked up, though a section may have one.
  EXPECT_EQ(s.EntryCount(""), 0);
  EXPECT_EQ(s.sections().back().entries.size(), 1u);
}

TEST(ScriptFormat, KeysRepeatAndLookupsFindTheFirst) {
  const ScriptFile s = Parse("[P]\r\nN=1\r\nn=2\r\n");
  EXPECT_EQ(s.EntryCount("P"), 2);
  EXPECT_EQ(s.GetInt("P", "N", 9), 1);
}

TEST(ScriptFormat, LongFieldsAreCutBeforeTheyAreTrimmed) {
  const std::string key(300, 'k');
  const std::string spaced = std::string(259, ' ') + "lost";
  const ScriptFile s =
      Parse("[S]\r\n" + key + "=v\r\nx=" + spaced + "\r\n[" + key + "]\r\na=1\r\n");
  const auto& entries = s.sections()[0].entries;
  EXPECT_EQ(entries[0].key.length(), 259u);
  EXPECT_TRUE(entries[1].value.isEmpty());
  EXPECT_EQ(s.sections()[1].name.length(), 259u);
}

TEST(ScriptFile, LoadsOnlyOnceAndNeverEmptyText) {
  ScriptFile s;
  EXPECT_FALSE(s.LoadText("a", ""));
  EXPECT_TRUE(s.LoadText("a", "[A]\r\nx=1\r\n"));
  EXPECT_FALSE(s.LoadText("b", "[B]\r\ny=1\r\n"));
  EXPECT_STREQ(s.path().c_str(), "a");
  EXPECT_EQ(s.EntryCount("B"), 0);
  // Text without any section may be followed by another load.
  ScriptFile none;
  EXPECT_TRUE(none.LoadText("a", "x=1"));
  EXPECT_TRUE(none.LoadText("b", "[B]\r\ny=1"));
  EXPECT_EQ(none.EntryCount("B"), 1);
}

// Ten keys of 29 characters need 300 bytes with their terminators.
std::string TenKeys() {
  std::string text = "[D]\r\n";
  for (char c = 'a'; c < 'a' + 10; ++c) text += std::string(29, c) + "=v\r\n";
  return text;
}

TEST(GetKeys, PacksWhatStaysBelowTheSizeAndGivesANegativeTotal) {
  const ScriptFile s = Parse(TenKeys());
  char buffer[260];
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(s.GetKeys("D", buffer, sizeof buffer), -300);
  const V keys = Strings(buffer);
  ASSERT_EQ(keys.size(), 8u);  // 8 * 30 = 240; a ninth would make 270
  EXPECT_EQ(keys[7], std::string(29, 'h'));
  EXPECT_EQ(buffer[240], '\0');
  EXPECT_EQ(buffer[241], '#');  // nothing written past the list

  char big[301];
  EXPECT_EQ(s.GetKeys("D", big, sizeof big), 300);
  // A total equal to the size does not fit.
  EXPECT_EQ(s.GetKeys("D", big, 300), -300);
}

TEST(GetKeys, LaterShorterKeysAreNotCopiedOnceOneIsLeftOut) {
  const ScriptFile s = Parse("[D]\r\n" + std::string(20, 'a') + "\r\nb\r\n");
  char buffer[16];
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(s.GetKeys("D", buffer, sizeof buffer), -23);
  EXPECT_EQ(buffer[0], '#');
}

TEST(GetKeys, MissingSectionsLeaveTheBufferAlone) {
  const ScriptFile s = Parse("[Empty]\r\n[Full]\r\na=1\r\n");
  char buffer[8] = {'#', '#', '#', '#', '#', '#', '#', '#'};
  EXPECT_EQ(s.GetKeys("Empty", buffer, sizeof buffer), 0);
  EXPECT_EQ(s.GetLines("Missing", buffer, sizeof buffer), 0);
  EXPECT_EQ(s.GetKeys("", buffer, sizeof buffer), 0);
  EXPECT_EQ(s.GetKeys(nullptr, buffer, sizeof buffer), 0);
  EXPECT_EQ(buffer[0], '#');
  EXPECT_EQ(s.GetLines("Full", buffer, sizeof buffer), 4);
  EXPECT_STREQ(buffer, "a=1");
}

TEST(GetInt, ConvertsAsAtoiAndFallsBackToTheDefault) {
  const ScriptFile s = Parse("[C]\r\nDigits=12abc\r\nLetters=abc\r\nEmpty=\r\nSigned= -4\r\n");
  EXPECT_EQ(s.GetInt("c", "digits", 7), 12);
  EXPECT_EQ(s.GetInt("C", "Letters", 7), 0);
  EXPECT_EQ(s.GetInt("C", "Empty", 7), 7);
  EXPECT_EQ(s.GetInt("C", "Signed", 7), -4);
  EXPECT_EQ(s.GetInt("C", "Missing", 7), 7);
  EXPECT_EQ(s.GetInt("X", "Digits", 7), 7);
  EXPECT_EQ(s.GetInt("C", "", 7), 7);
  EXPECT_EQ(s.GetInt("", "Digits", 7), 7);
}

}  // namespace

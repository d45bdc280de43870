// How the profile functions read and write INI files, shared by Windows and
// the simulated machine.
#include <string>

#include "contract.h"
#include "scratch.h"

namespace contract {
namespace {

using namespace platform;

const char kSample[] =
    "[Section]\r\n"
    "  Key1  =  value one  \r\n"
    "Quoted=\"quoted value\"\r\n"
    "KEY1=second\r\n"
    "Empty=\r\n"
    "\r\n"
    "[Other]\r\n"
    "Alpha=1\r\n"
    "beta=2\r\n";

std::string Get(IniFiles& ini, const char* section, const char* key, const std::string& file,
                const char* defaultValue = "(default)") {
  char buffer[256];
  const std::uint32_t length =
      ini.getPrivateString(section, key, defaultValue, buffer, sizeof buffer, file.c_str());
  return std::string(buffer, length);
}

TEST_P(IniContract, LookupTrimsStripsQuotesIgnoresCaseAndTakesTheFirstMatch) {
  ScratchDir dir(sys(), ScratchName());
  const std::string file = dir / "sample.ini";
  ASSERT_EQ(WriteFileText(sys().files, file, kSample), error::kSuccess);
  IniFiles& ini = sys().ini;
  EXPECT_EQ(Get(ini, "Section", "Key1", file), "value one");
  EXPECT_EQ(Get(ini, "SECTION", "key1", file), "value one");
  EXPECT_EQ(Get(ini, "section", "Quoted", file), "quoted value");
  EXPECT_EQ(Get(ini, "Section", "Empty", file), "");
  EXPECT_EQ(Get(ini, "Section", "Missing", file), "(default)");
  EXPECT_EQ(Get(ini, "Missing", "Key1", file), "(default)");
  EXPECT_EQ(Get(ini, "Section", "Key1", dir / "absent.ini"), "(default)");
}

TEST_P(IniContract, SmallBufferCutsTheValue) {
  ScratchDir dir(sys(), ScratchName());
  const std::string file = dir / "sample.ini";
  ASSERT_EQ(WriteFileText(sys().files, file, kSample), error::kSuccess);
  char buffer[5];
  EXPECT_EQ(sys().ini.getPrivateString("Section", "Key1", "", buffer, sizeof buffer, file.c_str()),
            4u);
  EXPECT_STREQ(buffer, "valu");
}

TEST_P(IniContract, NullNamesListSectionsAndKeys) {
  ScratchDir dir(sys(), ScratchName());
  const std::string file = dir / "sample.ini";
  ASSERT_EQ(WriteFileText(sys().files, file, kSample), error::kSuccess);
  EXPECT_EQ(Get(sys().ini, nullptr, nullptr, file), std::string("Section\0Other\0", 14));
  EXPECT_EQ(Get(sys().ini, "other", nullptr, file), std::string("Alpha\0beta\0", 11));
}

TEST_P(IniContract, WritesAddReplaceAndDelete) {
  ScratchDir dir(sys(), ScratchName());
  IniFiles& ini = sys().ini;
  const std::string file = dir / "written.ini";
  // Writing creates the file.
  ASSERT_TRUE(ini.writePrivateString("Main", "Name", "first", file.c_str()));
  ASSERT_TRUE(ini.writePrivateString("Main", "Other", "x", file.c_str()));
  ASSERT_TRUE(ini.writePrivateString("Second", "Key", "y", file.c_str()));
  EXPECT_EQ(Get(ini, "Main", "Name", file), "first");
  ASSERT_TRUE(ini.writePrivateString("MAIN", "NAME", "replaced", file.c_str()));
  EXPECT_EQ(Get(ini, "Main", "Name", file), "replaced");
  EXPECT_EQ(Get(ini, "Main", nullptr, file), std::string("Name\0Other\0", 11));

  // A null value deletes the key, a null key the whole section.
  ASSERT_TRUE(ini.writePrivateString("Main", "Other", nullptr, file.c_str()));
  EXPECT_EQ(Get(ini, "Main", "Other", file), "(default)");
  ASSERT_TRUE(ini.writePrivateString("Main", nullptr, nullptr, file.c_str()));
  EXPECT_EQ(Get(ini, "Main", "Name", file), "(default)");
  EXPECT_EQ(Get(ini, nullptr, nullptr, file), std::string("Second\0", 7));

  // The file is ordinary text that the INI rules read back.
  std::string text;
  ASSERT_EQ(ReadFileText(sys().files, file, text), error::kSuccess);
  EXPECT_NE(text.find("[Second]"), std::string::npos);
  EXPECT_NE(text.find("Key=y"), std::string::npos);
}

}  // namespace
}  // namespace contract

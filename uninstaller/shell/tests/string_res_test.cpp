#include "shell/string_res.h"

#include <gtest/gtest.h>

#include <string>

#include "machine.h"
#include "program_strings.h"

namespace {

class StringResTest : public ::testing::Test {
 protected:
  StringResTest() { InstallProgramStrings(machine.desktop()); }

  sim::Machine machine{"10"};
  platform::System system = machine.system();
  CStringRes strings{system};
};

TEST_F(StringResTest, LoadsTheProgramTexts) {
  EXPECT_STREQ(strings.text(161), "Printer Uninstall");
  EXPECT_STREQ(strings.text(214),
               "Failed to uninstall scanner driver! Please use \"Add/Remove Programs\" from "
               "control panel to uninstall the driver.");
  EXPECT_STREQ(strings.text(12345), "") << "a missing text is empty";
}

TEST_F(StringResTest, AReturnedTextLivesForFourFurtherLoads) {
  const char* first = strings.text(180);
  const std::string kept = first;
  strings.text(181);
  strings.text(182);
  strings.text(183);
  EXPECT_EQ(std::string(first), kept) << "the fourth load after it has not reached it yet";
  strings.text(184);
  EXPECT_STREQ(first, "Default") << "the fifth load overwrites the first buffer";
}

TEST_F(StringResTest, TextsAreCutAt511Characters) {
  machine.desktop().setString(900, std::string(600, 'a'));
  EXPECT_EQ(std::string(strings.text(900)).size(), 511u);
}

TEST_F(StringResTest, RedirectionReadsAnIniFileFoundInTheSearchOrder) {
  // A bare file name is looked for in the Windows directory first; this one
  // lies only in the system directory, which the search order reaches.
  machine.files().writeFile(machine.profile().systemDirectory + "\\vardel.ini",
                            "[Texts]\nTitle=First line\\nSecond line\n");
  machine.desktop().setString(900, "@vardel.ini@Texts@Title");
  EXPECT_STREQ(strings.text(900), "First line\nSecond line");
  EXPECT_STREQ(strings.plainText(900), "@vardel.ini@Texts@Title");
}

TEST_F(StringResTest, RedirectionWithAFullPath) {
  machine.files().writeFile("D:\\Pkg\\texts.ini", "[S]\nK=from the package\n");
  machine.desktop().setString(900, "@D:\\Pkg\\texts.ini@S@K");
  EXPECT_STREQ(strings.text(900), "from the package");
}

TEST_F(StringResTest, AFourthAtSignStaysInTheKey) {
  machine.files().writeFile("D:\\t.ini", "[S]\nK@X=odd key\nK=plain key\n");
  machine.desktop().setString(900, "@D:\\t.ini@S@K@X");
  EXPECT_STREQ(strings.text(900), "odd key");
}

TEST_F(StringResTest, IncompleteOrUnresolvableRedirectionsAreEmpty) {
  machine.files().writeFile("D:\\t.ini", "[S]\nK=v\n");
  machine.desktop().setString(900, "@D:\\t.ini@S");
  EXPECT_STREQ(strings.text(900), "");
  machine.desktop().setString(901, "@D:\\t.ini@S@Missing");
  EXPECT_STREQ(strings.text(901), "");
  machine.desktop().setString(902, "@nowhere.ini@S@K");
  EXPECT_STREQ(strings.text(902), "");
}

TEST_F(StringResTest, ARedirectedTextTakesTwoSlots) {
  machine.files().writeFile("D:\\t.ini", "[S]\nK=v\n");
  machine.desktop().setString(900, "@D:\\t.ini@S@K");
  const char* plain = strings.text(180);
  strings.text(900);  // two slots
  strings.text(181);
  EXPECT_STREQ(plain, "Name");
  strings.text(182);
  EXPECT_STRNE(plain, "Name") << "1 + 2 + 1 + 1 loads wrap the ring";
}

TEST_F(StringResTest, InitClearsTheRingAndSetsTheModule) {
  strings.text(161);
  strings.init(platform::ModuleHandle{7});
  EXPECT_EQ(strings.module(), platform::ModuleHandle{7});
  EXPECT_STREQ(strings.text(161), "Printer Uninstall");
}

}  // namespace

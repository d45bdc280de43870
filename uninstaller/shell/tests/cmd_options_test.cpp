#include "shell/cmd_options.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "shell/model_variant.h"

namespace {

std::vector<std::string> Values(const OptionList& options, const char* name) {
  char buffer[512];
  std::uint32_t size = sizeof buffer;
  std::vector<std::string> out;
  if (!options.values(name, buffer, &size)) return out;
  for (const char* p = buffer; size > 0 && p < buffer + size - 1; p += std::strlen(p) + 1) {
    out.emplace_back(p);
  }
  return out;
}

TEST(OptionParsing, SlashAndHyphenIntroduceOptionsAndOtherTokensAreIgnored) {
  OptionList options;
  options.parse("C:\\Program Files\\Stripwell.exe /MFG:Vardel -NOPICK stray /KESTA_A4");
  ASSERT_EQ(options.options().size(), 3u);
  EXPECT_EQ(options.options()[0].name(), "MFG");
  EXPECT_EQ(options.options()[1].name(), "NOPICK");
  EXPECT_EQ(options.options()[1].count(), 1u);
  EXPECT_EQ(options.options()[2].name(), "KESTA_A4");
  EXPECT_TRUE(options.present("nopick"));
  EXPECT_TRUE(options.present("Mfg"));
  EXPECT_FALSE(options.present("PRN"));
}

TEST(OptionParsing, QuotesProtectSpacesColonsAndCommasAndStayInTheValues) {
  OptionList options;
  options.parse("prog.exe /PRN:\"Vardel LX-1\",\"Vardel, Inc. Model:2\" /MFG:\"a:b\",c /\"N:M\":v");
  ASSERT_EQ(options.options().size(), 3u);
  const CmdOption& prn = options.options()[0];
  EXPECT_EQ(prn.name(), "PRN");
  ASSERT_EQ(prn.valueCount(), 2u);
  EXPECT_EQ(prn.value(0), "\"Vardel LX-1\"");
  EXPECT_EQ(prn.value(1), "\"Vardel, Inc. Model:2\"");
  const CmdOption& mfg = options.options()[1];
  ASSERT_EQ(mfg.valueCount(), 2u);
  EXPECT_EQ(mfg.value(0), "\"a:b\"");
  EXPECT_EQ(mfg.value(1), "c");
  const CmdOption& quotedName = options.options()[2];
  EXPECT_EQ(quotedName.name(), "\"N:M\"");
  ASSERT_EQ(quotedName.valueCount(), 1u);
  EXPECT_EQ(quotedName.value(0), "v");
}

TEST(OptionParsing, ColonWithNothingAfterItGivesOneEmptyValue) {
  OptionList options;
  options.parse("prog /MFG: /PRN");
  ASSERT_EQ(options.options().size(), 2u);
  EXPECT_EQ(options.options()[0].valueCount(), 1u);
  EXPECT_EQ(options.options()[0].value(0), "");
  EXPECT_EQ(options.options()[1].valueCount(), 0u);
}

TEST(OptionParsing, LongNamesAndValuesAreCutTo259Characters) {
  const std::string longText(300, 'x');
  OptionList options;
  options.parse(("p /" + longText + ":" + longText).c_str());
  ASSERT_EQ(options.options().size(), 1u);
  EXPECT_EQ(options.options()[0].name().size(), 259u);
  EXPECT_EQ(options.options()[0].value(0).size(), 259u);
}

TEST(OptionParsing, CommandLineIsCutAt4095Characters) {
  // The option starts at character 4090: only five characters of it fit.
  const std::string line = std::string(4089, 'p') + " /ABCDEFGH";
  OptionList options;
  options.parse(line.c_str());
  ASSERT_EQ(options.options().size(), 1u);
  EXPECT_EQ(options.options()[0].name(), "ABCD");
}

TEST(OptionValues, CollectsTheValuesOfEveryEntryOfTheNameInOrder) {
  OptionList options;
  options.parse("p /MFG:A,B /PRN:X /mfg:C /MFG");
  EXPECT_EQ(Values(options, "MFG"), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_EQ(Values(options, "prn"), (std::vector<std::string>{"X"}));
}

TEST(OptionValues, SizeCountsEveryTerminatorAndMustStayBelowTheBuffer) {
  OptionList options;
  options.parse("p /MFG:ab,c");
  // "ab\0c\0\0" takes 6 bytes.
  char buffer[16];
  std::memset(buffer, '#', sizeof buffer);
  std::uint32_t size = 6;
  EXPECT_FALSE(options.values("MFG", buffer, &size));
  EXPECT_EQ(size, 6u);
  EXPECT_EQ(buffer[0], '#') << "nothing is written when the values do not fit";

  size = 7;
  ASSERT_TRUE(options.values("MFG", buffer, &size));
  EXPECT_EQ(size, 6u);
  EXPECT_EQ(std::string(buffer, 6), std::string("ab\0c\0\0", 6));
  EXPECT_EQ(buffer[6], '#');
}

TEST(OptionValues, NoValuesGivesSizeZeroAndWritesNothing) {
  OptionList options;
  options.parse("p /UNPAVANE");
  char buffer[8] = {'#'};
  std::uint32_t size = sizeof buffer;
  EXPECT_TRUE(options.values("UNPAVANE", buffer, &size));
  EXPECT_EQ(size, 0u);
  EXPECT_EQ(buffer[0], '#');
  size = sizeof buffer;
  EXPECT_TRUE(options.values("MISSING", buffer, &size));
  EXPECT_EQ(size, 0u);
}

TEST(OptionValues, EmptyNameOrMissingSizeIsRefused) {
  OptionList options;
  options.parse("p /MFG:a");
  char buffer[8];
  std::uint32_t size = sizeof buffer;
  EXPECT_FALSE(options.values("", buffer, &size));
  EXPECT_FALSE(options.values(nullptr, buffer, &size));
  EXPECT_FALSE(options.values("MFG", buffer, nullptr));
}

TEST(ModelSwitches, A3WinsOverA4AndBothAreCaseSensitive) {
  EXPECT_EQ(VariantFromCommandLine("/KESTA_A4 /KESTA_A3"), 8203);
  EXPECT_EQ(VariantFromCommandLine("x/KESTA_A4y"), 8204);
  EXPECT_EQ(VariantFromCommandLine("/kesta_a3 /Kesta_A4"), 0);
  EXPECT_EQ(VariantFromCommandLine(""), 0);
  EXPECT_EQ(VariantFromCommandLine(nullptr), 0);
}

}  // namespace

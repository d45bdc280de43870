// The plan tool's command line.
#include "planner/plan_options.h"

#include <gtest/gtest.h>

#include "shell/model_variant.h"

namespace {

TEST(PlanOptions, ReadsEveryOptionInAnyOrder) {
  const ParsedOptions p =
      ParsePlanOptions({"a.unm", "--variant", "a3", "--unpavane", "--os", "xp", "--printers",
                        "p.json", "--json", "--", "--odd-name.unm"});
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_EQ(p.options.variant, kModelVariantA3);
  EXPECT_TRUE(p.options.unpavane);
  EXPECT_TRUE(p.options.json);
  EXPECT_EQ(p.options.os, "xp");
  EXPECT_EQ(p.options.printersFile, "p.json");
  EXPECT_EQ(p.options.scripts, (std::vector<std::string>{"a.unm", "--odd-name.unm"}));
}

TEST(PlanOptions, DefaultsToWindows10WithoutVariant) {
  const ParsedOptions p = ParsePlanOptions({"a.unm"});
  ASSERT_TRUE(p.ok);
  EXPECT_EQ(p.options.os, "10");
  EXPECT_EQ(p.options.variant, 0);
  for (const char* os : {"win32s", "95", "98", "me", "nt4", "2000", "xp", "7", "10"}) {
    EXPECT_TRUE(ParsePlanOptions({"--os", os, "a.unm"}).ok) << os;
  }
  EXPECT_EQ(ParsePlanOptions({"--variant", "a4", "x"}).options.variant, kModelVariantA4);
}

TEST(PlanOptions, RefusesWhatItDoesNotKnow) {
  EXPECT_FALSE(ParsePlanOptions({}).ok);
  EXPECT_FALSE(ParsePlanOptions({"--variant", "A3", "x"}).ok);
  EXPECT_FALSE(ParsePlanOptions({"--os", "vista", "x"}).ok);
  EXPECT_FALSE(ParsePlanOptions({"-j", "x"}).ok);
  EXPECT_FALSE(ParsePlanOptions({"x", "--printers"}).ok);
  EXPECT_TRUE(ParsePlanOptions({"--help"}).ok);
}

}  // namespace

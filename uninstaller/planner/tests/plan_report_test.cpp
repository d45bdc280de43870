// The plan tool's JSON output: code page texts as ASCII escapes, scripts by
// the path the user gave.
#include "planner/plan_report.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "planner/plan_machine.h"

namespace {

TEST(PlanReport, WritesCodePageTextsAsEscapesAndScriptsAsGiven) {
  PlanMachine machine("10");
  UninstallProfile profile(machine.system());
  ItemSet entry;
  entry.name.assign("Caf\xE9 \x80");
  entry.scriptPath.assign("C:\\Plan\\1\\Mainscr0.unm");
  profile.entries.push_back(entry);
  const ScriptPaths given{{"C:\\Plan\\1\\Mainscr0.unm", "pkg/Mainscr0.unm"}};

  const std::string written = PlanToJson(profile, given);
  EXPECT_NE(written.find("\"Caf\\u00e9 \\u20ac\""), std::string::npos) << written;
  for (const char c : written) ASSERT_LT(static_cast<unsigned char>(c), 0x80u);
  const nlohmann::json read = nlohmann::json::parse(written);
  EXPECT_EQ(read["entries"][0]["name"], "Caf\xC3\xA9 \xE2\x82\xAC");
  EXPECT_EQ(read["entries"][0]["scriptPath"], "pkg/Mainscr0.unm");

  EXPECT_NE(PlanToText(profile, given).find("from pkg/Mainscr0.unm\n"), std::string::npos);
}

}  // namespace

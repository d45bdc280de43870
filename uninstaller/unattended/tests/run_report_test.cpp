// The report's account of the plan: every remove-set item with what the
// removal's journal says became of it, failures with their Win32 codes.
#include "unattended/run_report.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "machine.h"
#include "profile/uninstall_profile.h"

namespace {

using nlohmann::json;

TEST(RunReport, EveryRemoveSetItemHasAnOutcomeAndFailuresKeepTheirCodes) {
  sim::Machine machine("10");
  platform::System system = machine.system();
  UninstallProfile profile(system);
  profile.removeSet.slot(ItemCategory::Files).append("VDLX300.DLL");
  profile.removeSet.slot(ItemCategory::Files).append("VDPHOTO.DLL");
  profile.removeSet.slot(ItemCategory::Drivers).append("Vardel LX-300");
  profile.removeSet.slot(ItemCategory::RegistryKeys)
      .append("HKLM,\"SOFTWARE\\VARDEL\\LX300\",\"\",1");
  profile.rebootNeeded = true;

  RecordingJournal journal;
  journal.removed(ActionKind::kFile, "C:\\WINDOWS\\system32\\vdlx300.dll");
  journal.failed(ActionKind::kDriver, "Vardel LX-300", platform::error::kAccessDenied);
  journal.deferred(ActionKind::kFile, "C:\\WINDOWS\\system32\\spool\\drivers\\x64\\3\\VDLX300.DLL");
  journal.removed(ActionKind::kRegistryKey, "HKLM\\SOFTWARE\\VARDEL\\LX300");
  journal.kept(ActionKind::kFile, "C:\\WINDOWS\\VDCOMMON.DLL", KeptReason::kInUse);

  RunRecord record;
  record.quiet = true;
  record.profile = &profile;
  record.journal = &journal.entries;
  const json report = json::parse(RunReportJson(record));

  const json& actions = report["actions"];
  ASSERT_EQ(actions.size(), 5u);
  EXPECT_EQ(actions[1]["kind"], ActionKindName(ActionKind::kDriver));
  EXPECT_EQ(actions[1]["outcome"], OutcomeName(Outcome::kFailed));
  EXPECT_EQ(actions[1]["win32Error"], 5);
  EXPECT_EQ(actions[4]["reason"], KeptReasonName(KeptReason::kInUse));

  const json& outcomes = report["plan"]["outcomes"];
  ASSERT_EQ(outcomes["Files"].size(), 2u);
  const json& lx300 = outcomes["Files"][0]["outcome"];
  ASSERT_EQ(lx300.size(), 2u) << "both copies of the file";
  EXPECT_EQ(lx300[0]["outcome"], OutcomeName(Outcome::kRemoved));
  EXPECT_EQ(lx300[1]["outcome"], OutcomeName(Outcome::kDeferred));
  EXPECT_EQ(outcomes["Files"][1]["outcome"], "no action recorded");
  EXPECT_EQ(outcomes["Drivers"][0]["outcome"][0]["win32Error"], 5);
  EXPECT_EQ(outcomes["RegistryKeys"][0]["outcome"][0]["action"], 3);
  EXPECT_EQ(report["rebootNeeded"], true);
}

}  // namespace

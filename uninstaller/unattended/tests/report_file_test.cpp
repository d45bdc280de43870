// The report file on the simulated machine: replaced whole or not at all.
#include "unattended/report_file.h"

#include <gtest/gtest.h>

#include <string>

#include "machine.h"

namespace {

constexpr const char* kReport = "C:\\Reports\\run.json";

class ReportFile : public ::testing::Test {
 protected:
  ReportFile() { machine.files().writeFile(kReport, "{\"old\": true}\n"); }

  std::size_t filesInReportDirectory() { return machine.files().list("C:\\Reports").size(); }

  sim::Machine machine{"10"};
};

TEST_F(ReportFile, ANewReportTakesTheOldOnesPlaceAndLeavesNoTemporaryFile) {
  const std::size_t before = filesInReportDirectory();
  const std::string text(200'000, 'x');  // several writes
  ASSERT_EQ(WriteFileAtomically(machine.files(), kReport, text), 0u);
  EXPECT_EQ(machine.files().fileContents(kReport), text);
  EXPECT_EQ(filesInReportDirectory(), before);
}

TEST_F(ReportFile, AWriteThatFailsHalfwayLeavesTheOldReportWhole) {
  const std::size_t before = filesInReportDirectory();
  machine.faults().fail("WriteFile", platform::error::kDiskFull);
  EXPECT_EQ(WriteFileAtomically(machine.files(), kReport, std::string(1000, 'n')),
            platform::error::kDiskFull);
  EXPECT_EQ(machine.files().fileContents(kReport), "{\"old\": true}\n");
  EXPECT_EQ(filesInReportDirectory(), before) << "the half-written temporary file is deleted";
}

TEST_F(ReportFile, AFailedRenameOrAMissingDirectoryIsReported) {
  machine.faults().fail("MoveFileExA", platform::error::kAccessDenied);
  EXPECT_EQ(WriteFileAtomically(machine.files(), kReport, "new"), platform::error::kAccessDenied);
  EXPECT_EQ(machine.files().fileContents(kReport), "{\"old\": true}\n");
  machine.faults().clear();
  EXPECT_NE(WriteFileAtomically(machine.files(), "C:\\Missing\\run.json", "new"), 0u);
  EXPECT_NE(WriteFileAtomically(machine.files(), "", "new"), 0u);
}

}  // namespace

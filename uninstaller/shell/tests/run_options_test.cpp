#include "shell/run_options.h"

#include <gtest/gtest.h>

namespace {

RunOptions Read(const char* commandLine) {
  OptionList options;
  options.parse(commandLine);
  return ReadRunOptions(options);
}

TEST(RunOptions, QuietAndReportInEitherSyntaxAndAnyCase) {
  const RunOptions run = Read("C:\\Stripwell.exe -quiet /Report:C:\\out\\run.json /MFG:Vardel");
  EXPECT_TRUE(run.quiet);
  EXPECT_EQ(run.reportPath, "C:\\out\\run.json");
  EXPECT_TRUE(run.valid());

  const RunOptions plain = Read("C:\\Stripwell.exe /NOPICK");
  EXPECT_FALSE(plain.quiet);
  EXPECT_TRUE(plain.reportPath.empty());
  EXPECT_TRUE(plain.valid());
}

TEST(RunOptions, APathKeepsItsCommasAndLosesItsQuotes) {
  EXPECT_EQ(Read("x.exe /REPORT:\"C:\\my reports\\a,b.json\"").reportPath,
            "C:\\my reports\\a,b.json");
  EXPECT_EQ(Read("x.exe /REPORT:C:\\r\\a,b.json").reportPath, "C:\\r\\a,b.json");
}

TEST(RunOptions, AReportWithoutOneUsablePathIsABadCommandLine) {
  for (const char* line : {"x.exe /QUIET /REPORT", "x.exe /REPORT:", "x.exe /REPORT:\"\"",
                           "x.exe /REPORT:a.json /REPORT:b.json"}) {
    const RunOptions run = Read(line);
    EXPECT_FALSE(run.valid()) << line;
    EXPECT_TRUE(run.reportPath.empty()) << line;
  }
  const std::string longPath = "x.exe /REPORT:C:\\" + std::string(257, 'a');
  EXPECT_FALSE(Read(longPath.c_str()).valid());
  const std::string fits = "x.exe /REPORT:C:\\" + std::string(255, 'a');
  EXPECT_TRUE(Read(fits.c_str()).valid());
}

}  // namespace

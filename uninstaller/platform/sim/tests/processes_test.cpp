// Simulated processes and injected faults.
#include <gtest/gtest.h>

#include "machine.h"

namespace {

namespace err = platform::error;

TEST(SimProcesses, RunUntilFinishedAndFindBareNamesOnTheSearchPath) {
  sim::Machine machine("xp");
  machine.files().writeFile("C:\\Vardel\\PAVANE32.EXE", "MZ");
  machine.files().writeFile("C:\\WINDOWS\\system32\\RBOOTAID.EXE", "MZ");
  platform::Processes& api = machine.processes();

  platform::Process tool(api);
  ASSERT_EQ(api.createProcess("C:\\Vardel\\PAVANE32.EXE", " /d", tool.out()), err::kSuccess);
  std::uint32_t code = 0;
  ASSERT_EQ(api.exitCode(tool.get(), code), err::kSuccess);
  EXPECT_EQ(code, platform::kStillActive);
  machine.processes().finish("c:\\vardel\\pavane32.exe", 3);
  ASSERT_EQ(api.exitCode(tool.get(), code), err::kSuccess);
  EXPECT_EQ(code, 3u);

  EXPECT_GT(api.winExec("RBOOTAID -d", platform::show_command::kHide), 31u);
  EXPECT_EQ(api.winExec("MISSING.EXE -d", 0), err::kFileNotFound);
  platform::Process missing(api);
  EXPECT_EQ(api.createProcess(nullptr, "\"C:\\No Such\\setup.exe\" /u", missing.out()),
            err::kFileNotFound);
  EXPECT_FALSE(missing.isOpen());

  ASSERT_EQ(machine.processes().starts().size(), 2u);
  EXPECT_EQ(machine.processes().starts()[0].commandLine, " /d");
  EXPECT_STRCASEEQ(machine.processes().starts()[1].program.c_str(),
                   "C:\\WINDOWS\\system32\\RBOOTAID.EXE");
  tool.reset();
  EXPECT_EQ(machine.openHandleCount(), 0u);
}

TEST(Faults, FailOneSubjectOrAllAndLogEveryCall) {
  sim::Machine machine;
  machine.files().writeFile("C:\\Tools\\a.exe", "MZ");
  machine.files().writeFile("C:\\Tools\\b.exe", "MZ");
  machine.faults().fail("CreateProcessA", err::kAccessDenied, "c:\\tools\\A.EXE");
  platform::Process process(machine.processes());
  EXPECT_EQ(machine.processes().createProcess("C:\\Tools\\a.exe", "", process.out()),
            err::kAccessDenied);
  EXPECT_EQ(machine.processes().createProcess("C:\\Tools\\b.exe", "", process.out()),
            err::kSuccess);
  machine.faults().fail("CreateProcessA", err::kNotEnoughMemory);
  EXPECT_EQ(machine.processes().createProcess("C:\\Tools\\b.exe", "", process.out()),
            err::kNotEnoughMemory);
  EXPECT_TRUE(machine.faults().wasCalled("createprocessa", "C:\\Tools\\b.exe"));
  EXPECT_EQ(machine.faults().log().size(), 3u);
}

}  // namespace

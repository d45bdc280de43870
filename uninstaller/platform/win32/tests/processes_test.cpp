// Starting programs on the real system.
#include <gtest/gtest.h>

#include "platform/win32/convert.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/windows_headers.h"

namespace {

namespace err = platform::error;

TEST(Win32Processes, StartWaitAndReadTheExitCode) {
  win32::Win32Processes api;
  char system[MAX_PATH] = {};
  ASSERT_GT(::GetSystemDirectoryA(system, MAX_PATH), 0u);
  const std::string cmd = std::string(system) + "\\cmd.exe";

  platform::Process process(api);
  ASSERT_EQ(api.createProcess(cmd.c_str(), "cmd.exe /c exit 7", process.out()), err::kSuccess);
  ASSERT_EQ(::WaitForSingleObject(win32::NativeOf<HANDLE>(process.get()), 30000), WAIT_OBJECT_0);
  std::uint32_t code = 0;
  ASSERT_EQ(api.exitCode(process.get(), code), err::kSuccess);
  EXPECT_EQ(code, 7u);

  platform::Process missing(api);
  EXPECT_EQ(api.createProcess(nullptr, "no-such-program-here.exe /x", missing.out()),
            err::kFileNotFound);
  EXPECT_FALSE(missing.isOpen());
  EXPECT_LE(api.winExec("no-such-program-here.exe", SW_HIDE), 31u);
}

}  // namespace

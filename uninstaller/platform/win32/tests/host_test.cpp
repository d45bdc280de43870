// The running system as the test prefix presents it: an elevated
// administrator on the NT family. ExitWindowsEx is never called here.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/crt.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_host.h"

namespace {

using namespace platform;

// S-1-5-32-544, as the layer hands SIDs out.
const std::vector<std::uint8_t> kAdministrators = {1,  2, 0, 0, 0,    0,    0, 5,
                                                   32, 0, 0, 0, 0x20, 0x02, 0, 0};

class Win32HostTest : public ::testing::Test {
 protected:
  win32::Win32Host host_;
};

TEST_F(Win32HostTest, VersionIsNtAndNeedsTheRecordSize) {
  OsVersionInfo info;
  ASSERT_TRUE(host_.getVersion(info));
  EXPECT_EQ(info.platformId, platform_id::kNt);
  EXPECT_GE(info.majorVersion, 5u);
  EXPECT_GT(info.buildNumber, 0u);
  OsVersionInfo wrongSize;
  wrongSize.size = 100;
  EXPECT_FALSE(host_.getVersion(wrongSize));
}

TEST_F(Win32HostTest, TokenListsAdministratorsAsEnabled) {
  std::vector<TokenGroup> groups;
  ASSERT_EQ(host_.tokenGroups(4096, groups), error::kSuccess);
  ASSERT_FALSE(groups.empty());
  bool found = false;
  for (const TokenGroup& group : groups) {
    // Every SID is well formed: 8 header bytes and 4 per sub-authority.
    ASSERT_GE(group.sid.size(), 8u);
    EXPECT_EQ(group.sid[0], 1);
    EXPECT_EQ(group.sid.size(), 8u + 4u * group.sid[1]);
    if (group.sid == kAdministrators) {
      found = true;
      EXPECT_NE(group.attributes & group_attr::kEnabled, 0u);
    }
  }
  EXPECT_TRUE(found);
}

TEST_F(Win32HostTest, TokenGroupsThatDoNotFitAreRefused) {
  std::vector<TokenGroup> groups = {TokenGroup{}};
  EXPECT_EQ(host_.tokenGroups(16, groups), error::kInsufficientBuffer);
  EXPECT_TRUE(groups.empty());
}

TEST_F(Win32HostTest, ShutdownPrivilegeCanBeEnabled) {
  EXPECT_EQ(host_.enablePrivilege("SeShutdownPrivilege"), error::kSuccess);
  // Again: enabling an enabled privilege is no error either.
  EXPECT_EQ(host_.enablePrivilege("SeShutdownPrivilege"), error::kSuccess);
  EXPECT_EQ(host_.enablePrivilege("SeNoSuchPrivilege"), error::kNoSuchPrivilege);
  // Held by the system account only, never by an administrator's token: the
  // adjustment "succeeds" and the last error says it did nothing.
  EXPECT_EQ(host_.enablePrivilege("SeCreateTokenPrivilege"), error::kNotAllAssigned);
}

TEST_F(Win32HostTest, ComputerNameAndTheSizeItNeeds) {
  char name[64] = {};
  std::uint32_t size = sizeof name;
  ASSERT_EQ(host_.computerName(name, &size), error::kSuccess);
  EXPECT_GT(size, 0u);
  EXPECT_EQ(size, std::string(name).size());
  // Windows publishes the same name in the environment.
  if (const char* env = std::getenv("COMPUTERNAME")) {
    EXPECT_EQ(crt::StrCmpI(env, name), 0);
  }

  char tiny[1];
  std::uint32_t tinySize = sizeof tiny;
  EXPECT_EQ(host_.computerName(tiny, &tinySize), error::kBufferOverflow);
  EXPECT_EQ(tinySize, size + 1);
}

TEST_F(Win32HostTest, ModuleFileNameIsThisProgram) {
  char path[kMaxPath] = {};
  const std::uint32_t length = host_.moduleFileName(path, sizeof path);
  ASSERT_GT(length, 0u);
  const std::string full(path, length);
  EXPECT_EQ(full.size(), std::string(path).size());
  EXPECT_EQ(full[1], ':');
  const std::string tail = "\\platform_win32_tests.exe";
  ASSERT_GT(full.size(), tail.size());
  EXPECT_EQ(crt::StrCmpI(full.substr(full.size() - tail.size()).c_str(), tail.c_str()), 0);
  // Cut to the buffer, still terminated.
  char tiny[8];
  EXPECT_EQ(host_.moduleFileName(tiny, sizeof tiny), sizeof tiny);
  EXPECT_EQ(std::string(tiny, 7), full.substr(0, 7));
}

TEST(Win32ClockTest, TickCountAdvancesAcrossSleep) {
  win32::Win32Clock clock;
  const std::uint32_t before = clock.tickCount();
  clock.sleep(100);
  const std::uint32_t elapsed = clock.tickCount() - before;
  // Sleep waits at least as long as asked, but each of the two readings may
  // trail by a tick of resolution (10-16 ms; under Wine 88 ms was seen on a
  // busy machine). A busy machine only adds time, so there is no upper
  // bound: the check is that the count moves by about the time slept.
  EXPECT_GE(elapsed, 70u);
}

}  // namespace

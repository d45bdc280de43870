#include "shell/os_info.h"

#include <gtest/gtest.h>

#include "machine.h"

namespace {

struct ExpectedCodes {
  const char* profile;
  std::int32_t versionCode;
  std::int32_t platformCode;
};

class OsCodes : public ::testing::TestWithParam<ExpectedCodes> {};

TEST_P(OsCodes, EveryWindowsVersionMapsToItsCodes) {
  sim::Machine machine(GetParam().profile);
  COSInfo os(machine.host());
  EXPECT_EQ(os.versionCode(), GetParam().versionCode) << GetParam().profile;
  EXPECT_EQ(os.platformCode(), GetParam().platformCode) << GetParam().profile;
  EXPECT_EQ(os.version().size, 148u);
}

// NT 5.2 (Server 2003) counts as Windows 2000, 6.x as XP. Windows 10 and 11
// tell a program whose manifest does not declare them that they are 6.2.
INSTANTIATE_TEST_SUITE_P(AllProfiles, OsCodes,
                         ::testing::Values(ExpectedCodes{"win32s", 1, 1}, ExpectedCodes{"95", 2, 2},
                                           ExpectedCodes{"98", 3, 2}, ExpectedCodes{"me", 7, 2},
                                           ExpectedCodes{"nt351", 4, 3}, ExpectedCodes{"nt4", 5, 3},
                                           ExpectedCodes{"2000", 6, 3}, ExpectedCodes{"xp", 8, 3},
                                           ExpectedCodes{"2003", 6, 3}, ExpectedCodes{"7", 8, 3},
                                           ExpectedCodes{"10", 8, 3}, ExpectedCodes{"11", 8, 3}));

TEST(OsInfo, TheTrueVersionTenMatchesNoVersionCode) {
  sim::Machine machine("10");
  machine.host().setDeclaresWindows10Support(true);
  COSInfo os(machine.host());
  EXPECT_EQ(os.version().majorVersion, 10u);
  EXPECT_EQ(os.versionCode(), 0);
  EXPECT_TRUE(os.isNT());
}

TEST(OsInfo, PlatformQueriesFollowThePlatformCode) {
  sim::Machine win32s("win32s");
  sim::Machine me("me");
  sim::Machine seven("7");
  COSInfo a(win32s.host()), b(me.host()), c(seven.host());
  EXPECT_TRUE(a.isWin32s() && !a.isWin9x() && !a.isNT());
  EXPECT_TRUE(!b.isWin32s() && b.isWin9x() && !b.isNT());
  EXPECT_TRUE(!c.isWin32s() && !c.isWin9x() && c.isNT());
}

TEST(OsInfo, FailedVersionCallLeavesEverythingZeroAndAdministratorYes) {
  sim::Machine machine("10");
  machine.host().setVersionFails(true);
  machine.host().setAdministrators(sim::AdminMembership::kNone);
  COSInfo os(machine.host());
  EXPECT_EQ(os.versionCode(), 0);
  EXPECT_EQ(os.platformCode(), 0);
  EXPECT_EQ(os.version().majorVersion, 0u);
  EXPECT_FALSE(os.isNT());
  EXPECT_TRUE(os.isAdministrator());
}

TEST(OsInfo, RefreshReadsTheVersionAgain) {
  sim::Machine machine("xp");
  COSInfo os(machine.host());
  ASSERT_EQ(os.versionCode(), 8);
  machine.host().setVersionFails(true);
  os.refresh();
  EXPECT_EQ(os.versionCode(), 0);
}

TEST(AdministratorTest, MembershipOfAdministratorsDecidesOnTheNtFamily) {
  sim::Machine machine("10");
  machine.host().setAdministrators(sim::AdminMembership::kEnabled);
  EXPECT_TRUE(COSInfo(machine.host()).isAdministrator());
  machine.host().setAdministrators(sim::AdminMembership::kNone);
  EXPECT_FALSE(COSInfo(machine.host()).isAdministrator());
}

TEST(AdministratorTest, DenyOnlyMembershipStillCounts) {
  sim::Machine machine("7");
  machine.host().setAdministrators(sim::AdminMembership::kDenyOnly);
  EXPECT_TRUE(COSInfo(machine.host()).isAdministrator());
}

TEST(AdministratorTest, GroupListBeyondTheBufferMeansNo) {
  sim::Machine machine("10");
  machine.host().setAdministrators(sim::AdminMembership::kEnabled);
  machine.host().addGroups(200);  // far more than 4096 bytes of TOKEN_GROUPS
  EXPECT_FALSE(COSInfo(machine.host()).isAdministrator());
}

TEST(AdministratorTest, EveryoneIsAdministratorOffTheNtFamily) {
  for (const char* profile : {"win32s", "95", "98", "me"}) {
    sim::Machine machine(profile);
    machine.host().setAdministrators(sim::AdminMembership::kNone);
    EXPECT_TRUE(COSInfo(machine.host()).isAdministrator()) << profile;
  }
}

}  // namespace

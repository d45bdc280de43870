// OS profiles as the program sees them: version numbers, directories,
// spooler and colour directories, special folders; and the token.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>

#include "machine.h"
#include "sim_errors.h"

namespace {

namespace err = platform::error;

struct VersionCase {
  const char* profile;
  std::uint32_t major, minor, build, platform;
  const char* windows;
  const char* system;
  const char* environment;
};

class ProfileVersions : public ::testing::TestWithParam<VersionCase> {};

TEST_P(ProfileVersions, ReportVersionDirectoriesAndDriverDirectory) {
  const VersionCase& c = GetParam();
  sim::Machine machine(c.profile);
  platform::OsVersionInfo info;
  ASSERT_TRUE(machine.host().getVersion(info));
  EXPECT_EQ(info.majorVersion, c.major);
  EXPECT_EQ(info.minorVersion, c.minor);
  EXPECT_EQ(info.buildNumber, c.build);
  EXPECT_EQ(info.platformId, c.platform);

  char buffer[260];
  EXPECT_EQ(machine.folders().windowsDirectory(buffer, sizeof buffer), std::strlen(c.windows));
  EXPECT_STREQ(buffer, c.windows);
  machine.folders().systemDirectory(buffer, sizeof buffer);
  EXPECT_STREQ(buffer, c.system);
  EXPECT_TRUE(machine.files().isDirectory(c.system));
  EXPECT_EQ(machine.profile().spoolerEnvironment, c.environment);
  if (*c.environment != '\0') {
    ASSERT_EQ(machine.folders().printerDriverDirectory(nullptr, buffer, sizeof buffer),
              err::kSuccess);
    EXPECT_TRUE(machine.files().isDirectory(buffer)) << buffer;
  }
}

// Windows 8.1 and later report 6.2.9200 to a program whose manifest does not
// declare them; 9x carries the version in the build number's high word.
INSTANTIATE_TEST_SUITE_P(
    AllProfiles, ProfileVersions,
    ::testing::Values(
        VersionCase{"win32s", 3, 10, 0, 0, "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM", ""},
        VersionCase{"95", 4, 0, 0x040003B6, 1, "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM", "Windows 4.0"},
        VersionCase{"98", 4, 10, 0x040A08AE, 1, "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM",
                    "Windows 4.0"},
        VersionCase{"ME", 4, 90, 0x045A0BB8, 1, "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM",
                    "Windows 4.0"},
        VersionCase{"nt351", 3, 51, 1057, 2, "C:\\WINNT35", "C:\\WINNT35\\system32",
                    "Windows NT x86"},
        VersionCase{"nt4", 4, 0, 1381, 2, "C:\\WINNT", "C:\\WINNT\\system32", "Windows NT x86"},
        VersionCase{"2000", 5, 0, 2195, 2, "C:\\WINNT", "C:\\WINNT\\system32", "Windows NT x86"},
        VersionCase{"xp", 5, 1, 2600, 2, "C:\\WINDOWS", "C:\\WINDOWS\\system32", "Windows NT x86"},
        VersionCase{"2003", 5, 2, 3790, 2, "C:\\WINDOWS", "C:\\WINDOWS\\system32", "Windows x64"},
        VersionCase{"7", 6, 1, 7601, 2, "C:\\Windows", "C:\\Windows\\system32", "Windows x64"},
        VersionCase{"10", 6, 2, 9200, 2, "C:\\Windows", "C:\\Windows\\system32", "Windows x64"},
        VersionCase{"11", 6, 2, 9200, 2, "C:\\Windows", "C:\\Windows\\system32", "Windows x64"}),
    [](const ::testing::TestParamInfo<VersionCase>& param) {
      return std::string(param.param.profile);
    });

TEST(Profiles, UnknownNameThrowsAndDefaultIsWindows10) {
  EXPECT_THROW(sim::Machine("vista"), std::invalid_argument);
  sim::Machine machine;
  EXPECT_EQ(machine.profile().name, "10");
}

TEST(Version, ManifestedProgramSeesTheRealNumbersAndFailureIsConfigurable) {
  sim::Machine machine("11");
  machine.host().setDeclaresWindows10Support(true);
  platform::OsVersionInfo info;
  ASSERT_TRUE(machine.host().getVersion(info));
  EXPECT_EQ(info.majorVersion, 10u);
  EXPECT_EQ(info.buildNumber, 22631u);
  info.size = 100;
  EXPECT_FALSE(machine.host().getVersion(info));
  info.size = 148;
  machine.host().setVersionFails(true);
  EXPECT_FALSE(machine.host().getVersion(info));

  sim::Machine xp("xp");
  ASSERT_TRUE(xp.host().getVersion(info));
  EXPECT_STREQ(info.csdVersion, "Service Pack 3");
}

TEST(Folders, SpoolerDirectoriesByEnvironment) {
  sim::Machine machine("10");
  char buffer[260];
  ASSERT_EQ(machine.folders().printerDriverDirectory("Windows 4.0", buffer, sizeof buffer),
            err::kSuccess);
  EXPECT_STREQ(buffer, "C:\\Windows\\system32\\spool\\drivers\\win40");
  ASSERT_EQ(machine.folders().printerDriverDirectory("windows nt x86", buffer, sizeof buffer),
            err::kSuccess);
  EXPECT_STREQ(buffer, "C:\\Windows\\system32\\spool\\drivers\\w32x86");
  ASSERT_EQ(machine.folders().printProcessorDirectory(nullptr, buffer, sizeof buffer),
            err::kSuccess);
  EXPECT_STREQ(buffer, "C:\\Windows\\system32\\spool\\prtprocs\\x64");
  EXPECT_EQ(machine.folders().printerDriverDirectory("Windows 3.1", buffer, sizeof buffer),
            sim::error::kInvalidEnvironment);
  EXPECT_EQ(machine.folders().printerDriverDirectory(nullptr, buffer, 10),
            err::kInsufficientBuffer);

  sim::Machine w95("95");
  ASSERT_EQ(w95.folders().printerDriverDirectory(nullptr, buffer, sizeof buffer), err::kSuccess);
  EXPECT_STREQ(buffer, "C:\\WINDOWS\\SYSTEM");
  EXPECT_EQ(w95.folders().printerDriverDirectory("Windows NT x86", buffer, sizeof buffer),
            sim::error::kInvalidEnvironment);
  sim::Machine win32s("win32s");
  EXPECT_EQ(win32s.folders().printerDriverDirectory(nullptr, buffer, sizeof buffer),
            sim::error::kCallNotImplemented);
}

TEST(Folders, ColourDirectoryThroughMscms) {
  sim::Machine machine("7");
  char buffer[260];
  std::uint32_t size = sizeof buffer;
  ASSERT_EQ(machine.folders().colorDirectory(buffer, &size), err::kSuccess);
  EXPECT_STREQ(buffer, "C:\\Windows\\system32\\spool\\drivers\\color");
  const std::uint32_t needed = static_cast<std::uint32_t>(std::strlen(buffer) + 1);
  EXPECT_EQ(size, needed);  // bytes, with the NUL
  EXPECT_TRUE(machine.files().isDirectory(buffer));
  size = 10;
  EXPECT_EQ(machine.folders().colorDirectory(buffer, &size), err::kInsufficientBuffer);
  EXPECT_EQ(size, needed);

  machine.folders().setMscms(sim::Mscms::kMissingFunction);
  EXPECT_EQ(machine.folders().colorDirectory(buffer, &size), err::kProcNotFound);
  machine.folders().setMscms(sim::Mscms::kCallFails);
  EXPECT_EQ(machine.folders().colorDirectory(buffer, &size), err::kInvalidParameter);

  sim::Machine w98("98");
  size = sizeof buffer;
  ASSERT_EQ(w98.folders().colorDirectory(buffer, &size), err::kSuccess);
  EXPECT_STREQ(buffer, "C:\\WINDOWS\\SYSTEM\\COLOR");
  for (const char* without : {"win32s", "95", "nt351", "nt4"}) {
    sim::Machine old(without);
    EXPECT_EQ(old.folders().colorDirectory(buffer, &size), err::kModNotFound) << without;
  }
}

TEST(Folders, SpecialFoldersFollowTheProfile) {
  char path[260];
  sim::Machine w10("10");
  ASSERT_EQ(w10.folders().specialFolder(23, path), err::kSuccess);
  EXPECT_STREQ(path, "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs");
  EXPECT_TRUE(w10.files().isDirectory(path));
  EXPECT_EQ(w10.folders().specialFolder(4, path), err::kFileNotFound);  // Printers: virtual
  EXPECT_STREQ(path, "");

  sim::Machine xp("xp");
  ASSERT_EQ(xp.folders().specialFolder(7, path), err::kSuccess);
  EXPECT_STREQ(path, "C:\\Documents and Settings\\User\\Start Menu\\Programs\\Startup");
  sim::Machine w95("95");
  ASSERT_EQ(w95.folders().specialFolder(2, path), err::kSuccess);
  EXPECT_STREQ(path, "C:\\WINDOWS\\Start Menu\\Programs");
  EXPECT_NE(w95.folders().specialFolder(23, path), err::kSuccess);
  sim::Machine win32s("win32s");
  EXPECT_NE(win32s.folders().specialFolder(0, path), err::kSuccess);

  char temp[260];
  const std::string expected = "C:\\Users\\User\\AppData\\Local\\Temp\\";
  EXPECT_EQ(w10.folders().tempPath(temp, sizeof temp), expected.size());
  EXPECT_EQ(temp, expected);
  EXPECT_EQ(w10.folders().tempPath(temp, 4), expected.size() + 1);
}

TEST(Token, AdministratorsGroupEnabledDenyOnlyOrAbsent) {
  const std::vector<std::uint8_t> admins = sim::SimHost::SidFromString("S-1-5-32-544");
  ASSERT_EQ(admins,
            (std::vector<std::uint8_t>{1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x20, 2, 0, 0}));
  auto adminAttributes = [&admins](sim::Machine& m) -> std::optional<std::uint32_t> {
    std::vector<platform::TokenGroup> groups;
    EXPECT_EQ(m.host().tokenGroups(4096, groups), err::kSuccess);
    for (const platform::TokenGroup& g : groups) {
      if (g.sid == admins) return g.attributes;
    }
    return std::nullopt;
  };
  sim::Machine machine("10");
  EXPECT_EQ(adminAttributes(machine).value_or(0) & platform::group_attr::kEnabled,
            platform::group_attr::kEnabled);
  machine.host().setAdministrators(sim::AdminMembership::kDenyOnly);
  EXPECT_EQ(adminAttributes(machine), platform::group_attr::kUseForDenyOnly);
  EXPECT_FALSE(machine.host().isElevated());
  machine.host().setAdministrators(sim::AdminMembership::kNone);
  EXPECT_FALSE(adminAttributes(machine).has_value());

  sim::Machine w98("98");
  std::vector<platform::TokenGroup> groups;
  EXPECT_EQ(w98.host().tokenGroups(4096, groups), sim::error::kCallNotImplemented);
  EXPECT_TRUE(w98.host().isElevated());
}

TEST(Token, GroupListLargerThanTheBufferGives122) {
  sim::Machine machine("10");
  std::vector<platform::TokenGroup> groups = machine.host().groups();
  const std::uint32_t size = sim::SimHost::TokenGroupsSize(groups);
  std::size_t sids = 0;
  for (const auto& g : groups) sids += g.sid.size();
  EXPECT_EQ(size, 8 + 16 * groups.size() + sids);
  EXPECT_EQ(machine.host().tokenGroups(size, groups), err::kSuccess);
  EXPECT_EQ(machine.host().tokenGroups(size - 1, groups), err::kInsufficientBuffer);
  EXPECT_TRUE(groups.empty());

  machine.host().addGroups(100);  // 100 * (16 + 28) bytes more
  EXPECT_EQ(machine.host().tokenGroups(4096, groups), err::kInsufficientBuffer);
}

TEST(Token, ShutdownPrivilegeAndRestartLog) {
  sim::Machine machine("xp");
  EXPECT_EQ(machine.host().exitWindows(platform::exit_windows::kReboot), err::kPrivilegeNotHeld);
  EXPECT_EQ(machine.host().enablePrivilege("SeShutdownPrivilege"), err::kSuccess);
  EXPECT_EQ(machine.host().exitWindows(platform::exit_windows::kReboot), err::kSuccess);
  EXPECT_EQ(machine.host().exitRequests(),
            std::vector<std::uint32_t>{platform::exit_windows::kReboot});
  EXPECT_EQ(machine.host().enablePrivilege("SeNoSuchPrivilege"), err::kNoSuchPrivilege);

  sim::Machine user("xp");
  user.host().setShutdownPrivilege(false);
  EXPECT_EQ(user.host().enablePrivilege("SeShutdownPrivilege"), err::kNotAllAssigned);
  EXPECT_EQ(user.host().exitWindows(platform::exit_windows::kReboot), err::kPrivilegeNotHeld);
  EXPECT_TRUE(user.host().exitRequests().empty());
  user.host().setAdministrators(sim::AdminMembership::kNone);
  EXPECT_EQ(user.host().enablePrivilege("SeDebugPrivilege"), err::kNotAllAssigned);

  sim::Machine w95("95");  // no privileges to check on 9x
  EXPECT_EQ(w95.host().exitWindows(platform::exit_windows::kReboot), err::kSuccess);
}

TEST(Host, ComputerNameAndModuleFileNameFollowTheirBufferRules) {
  sim::Machine machine("10");
  machine.host().setComputerName("PRINTSRV");
  char name[16];
  std::uint32_t size = 4;
  EXPECT_EQ(machine.host().computerName(name, &size), err::kBufferOverflow);
  EXPECT_EQ(size, 9u);
  size = sizeof name;
  ASSERT_EQ(machine.host().computerName(name, &size), err::kSuccess);
  EXPECT_EQ(size, 8u);
  EXPECT_STREQ(name, "PRINTSRV");

  machine.setModuleFileName("C:\\Program Files\\Vardel\\Stripwell.exe");
  EXPECT_TRUE(machine.files().exists("C:\\Program Files\\Vardel\\Stripwell.exe"));
  char path[8];
  EXPECT_EQ(machine.host().moduleFileName(path, sizeof path), 8u);
  EXPECT_STREQ(path, "C:\\Prog");  // Vista and later terminate a cut path
  sim::Machine xp("xp");
  std::memset(path, 'z', sizeof path);
  EXPECT_EQ(xp.host().moduleFileName(path, sizeof path), 8u);
  EXPECT_EQ(std::string(path, 8), "C:\\Strip");  // earlier versions do not
  char cwd[260];
  xp.files().currentDirectory(cwd, sizeof cwd);
  EXPECT_STREQ(cwd, "C:\\Stripwell");
}

}  // namespace

// The simulated registry against the Reg*A conventions callers rely on.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "machine.h"
#include "sim_errors.h"

namespace {

namespace err = platform::error;
namespace hkey = platform::hkey;
namespace regsam = platform::regsam;
namespace regtype = platform::regtype;

std::vector<std::string> EnumKeys(platform::Registry& reg, platform::RegKeyHandle key) {
  std::vector<std::string> names;
  for (std::uint32_t i = 0;; ++i) {
    char name[256];
    std::uint32_t size = sizeof name;
    if (reg.enumKey(key, i, name, &size) != err::kSuccess) break;
    names.emplace_back(name, size);
  }
  return names;
}

std::vector<std::string> EnumValues(platform::Registry& reg, platform::RegKeyHandle key) {
  std::vector<std::string> names;
  for (std::uint32_t i = 0;; ++i) {
    char name[256];
    std::uint32_t size = sizeof name;
    if (reg.enumValue(key, i, name, &size, nullptr, nullptr, nullptr) != err::kSuccess) break;
    names.emplace_back(name, size);
  }
  return names;
}

class RegistryTest : public ::testing::Test {
 protected:
  sim::Machine machine{"10"};
  platform::Registry& reg = machine.registry();
};

TEST_F(RegistryTest, NamesIgnoreCaseAndKeepTheCaseTheyWereCreatedWith) {
  platform::RegKey created(reg);
  bool wasCreated = false;
  ASSERT_EQ(reg.createKey(hkey::kLocalMachine, "SOFTWARE\\VarDel\\Stripwell", regsam::kAllAccess,
                          created.out(), &wasCreated),
            err::kSuccess);
  EXPECT_TRUE(wasCreated);
  ASSERT_EQ(reg.setValue(created.get(), "InstallDir", regtype::kSz, "C:\\x", 5), err::kSuccess);

  platform::RegKey opened(reg);
  ASSERT_EQ(
      reg.openKey(hkey::kLocalMachine, "software\\VARDEL\\stripwell", regsam::kRead, opened.out()),
      err::kSuccess);
  char data[16] = {};
  std::uint32_t size = sizeof data;
  EXPECT_EQ(reg.queryValue(opened.get(), "INSTALLDIR", nullptr, data, &size), err::kSuccess);
  EXPECT_STREQ(data, "C:\\x");
  EXPECT_EQ(machine.registry().subkeyNames("HKLM\\SOFTWARE\\vardel"),
            std::vector<std::string>{"Stripwell"});
  EXPECT_EQ(machine.registry().valueNames("HKLM\\SOFTWARE\\VarDel\\Stripwell"),
            std::vector<std::string>{"InstallDir"});

  platform::RegKey again(reg);
  ASSERT_EQ(reg.createKey(hkey::kLocalMachine, "SOFTWARE\\VARDEL", regsam::kAllAccess, again.out(),
                          &wasCreated),
            err::kSuccess);
  EXPECT_FALSE(wasCreated);
  EXPECT_EQ(reg.openKey(hkey::kLocalMachine, "SOFTWARE\\Missing", regsam::kRead, opened.out()),
            err::kFileNotFound);
}

TEST_F(RegistryTest, QueryValueReportsSizesAndMoreData) {
  machine.registry().setString("HKLM\\SOFTWARE\\V", "Name", "hello");  // 6 bytes with the NUL
  platform::RegKey key(reg);
  ASSERT_EQ(reg.openKey(hkey::kLocalMachine, "SOFTWARE\\V", regsam::kRead, key.out()),
            err::kSuccess);

  std::uint32_t type = 0;
  std::uint32_t size = 0;
  EXPECT_EQ(reg.queryValue(key.get(), "Name", &type, nullptr, &size), err::kSuccess);
  EXPECT_EQ(type, regtype::kSz);
  EXPECT_EQ(size, 6u);

  char small[3] = {'x', 'x', 'x'};
  size = sizeof small;
  EXPECT_EQ(reg.queryValue(key.get(), "Name", nullptr, small, &size), err::kMoreData);
  EXPECT_EQ(size, 6u);

  char exact[6];
  size = sizeof exact;
  EXPECT_EQ(reg.queryValue(key.get(), "Name", nullptr, exact, &size), err::kSuccess);
  EXPECT_EQ(size, 6u);
  EXPECT_STREQ(exact, "hello");

  EXPECT_EQ(reg.queryValue(key.get(), "Absent", nullptr, nullptr, &size), err::kFileNotFound);
  EXPECT_EQ(reg.queryValue(key.get(), "Name", nullptr, exact, nullptr), err::kInvalidParameter);
}

TEST_F(RegistryTest, StringStoredWithoutNulIsTerminatedWhenTheBufferHasRoom) {
  platform::RegKey key(reg);
  ASSERT_EQ(
      reg.createKey(hkey::kCurrentUser, "Software\\T", regsam::kAllAccess, key.out(), nullptr),
      err::kSuccess);
  ASSERT_EQ(reg.setValue(key.get(), "Raw", regtype::kSz, "abc", 3), err::kSuccess);
  char data[8];
  std::memset(data, 'z', sizeof data);
  std::uint32_t size = sizeof data;
  ASSERT_EQ(reg.queryValue(key.get(), "Raw", nullptr, data, &size), err::kSuccess);
  EXPECT_EQ(size, 3u);
  EXPECT_STREQ(data, "abc");
}

TEST_F(RegistryTest, SubkeysEnumerateSortedAndValuesInCreationOrder) {
  platform::RegKey key(reg);
  ASSERT_EQ(
      reg.createKey(hkey::kLocalMachine, "SOFTWARE\\Order", regsam::kAllAccess, key.out(), nullptr),
      err::kSuccess);
  for (const char* name : {"b", "_x", "A", "C"}) {
    platform::RegKey sub(reg);
    ASSERT_EQ(reg.createKey(key.get(), name, regsam::kAllAccess, sub.out(), nullptr),
              err::kSuccess);
  }
  // Upper-cased ordinal order: '_' (0x5F) sorts after the letters.
  EXPECT_EQ(EnumKeys(reg, key.get()), (std::vector<std::string>{"A", "b", "C", "_x"}));

  const std::uint32_t one = 1;
  for (const char* name : {"zeta", "alpha", "mid"}) {
    ASSERT_EQ(reg.setValue(key.get(), name, regtype::kDword, &one, 4), err::kSuccess);
  }
  ASSERT_EQ(reg.setValue(key.get(), "ALPHA", regtype::kDword, &one, 4), err::kSuccess);
  ASSERT_EQ(reg.deleteValue(key.get(), "zeta"), err::kSuccess);
  EXPECT_EQ(EnumValues(reg, key.get()), (std::vector<std::string>{"alpha", "mid"}));

  char name[2];
  std::uint32_t size = 1;  // "A" needs two characters with its NUL
  EXPECT_EQ(reg.enumKey(key.get(), 0, name, &size), err::kMoreData);
  EXPECT_EQ(size, 1u);
  size = sizeof name;
  EXPECT_EQ(reg.enumKey(key.get(), 4, name, &size), err::kNoMoreItems);
}

TEST_F(RegistryTest, EnumValueDeliversNameTypeAndDataWithSizeRules) {
  machine.registry().setDword("HKLM\\SOFTWARE\\E", "Count", 7);
  machine.registry().setMultiString("HKLM\\SOFTWARE\\E", "List", {"a", "bc"});
  platform::RegKey key(reg);
  ASSERT_EQ(reg.openKey(hkey::kLocalMachine, "SOFTWARE\\E", regsam::kRead, key.out()),
            err::kSuccess);

  char name[16];
  std::uint32_t nameSize = sizeof name;
  std::uint32_t type = 0;
  std::uint8_t data[8];
  std::uint32_t dataSize = 2;
  EXPECT_EQ(reg.enumValue(key.get(), 1, name, &nameSize, &type, data, &dataSize), err::kMoreData);
  EXPECT_EQ(dataSize, 6u);  // "a\0bc\0\0"
  nameSize = sizeof name;
  dataSize = sizeof data;
  ASSERT_EQ(reg.enumValue(key.get(), 1, name, &nameSize, &type, data, &dataSize), err::kSuccess);
  EXPECT_STREQ(name, "List");
  EXPECT_EQ(nameSize, 4u);
  EXPECT_EQ(type, regtype::kMultiSz);
  EXPECT_EQ(std::memcmp(data, "a\0bc\0\0", 6), 0);
  EXPECT_EQ(machine.registry().getMultiString("HKLM\\SOFTWARE\\E", "list"),
            (std::vector<std::string>{"a", "bc"}));
}

TEST_F(RegistryTest, DeleteKeyRefusesKeysWithSubkeysAndStaleHandlesSeeItGone) {
  machine.registry().createKeyPath("HKLM\\SOFTWARE\\Del\\Child");
  EXPECT_EQ(reg.deleteKey(hkey::kLocalMachine, "SOFTWARE\\Del", 0), err::kAccessDenied);
  EXPECT_TRUE(machine.registry().keyExists("HKLM\\SOFTWARE\\Del\\Child"));

  platform::RegKey child(reg);
  ASSERT_EQ(reg.openKey(hkey::kLocalMachine, "SOFTWARE\\Del\\Child", regsam::kRead, child.out()),
            err::kSuccess);
  EXPECT_EQ(reg.deleteKey(hkey::kLocalMachine, "SOFTWARE\\del\\CHILD", 0), err::kSuccess);
  EXPECT_EQ(reg.deleteKey(hkey::kLocalMachine, "SOFTWARE\\Del", 0), err::kSuccess);
  EXPECT_FALSE(machine.registry().keyExists("HKLM\\SOFTWARE\\Del"));
  EXPECT_EQ(reg.deleteKey(hkey::kLocalMachine, "SOFTWARE\\Del", 0), err::kFileNotFound);

  std::uint32_t size = 0;
  EXPECT_EQ(reg.queryValue(child.get(), "x", nullptr, nullptr, &size), sim::error::kKeyDeleted);
  EXPECT_EQ(reg.deleteKey(hkey::kLocalMachine, "", 0), err::kAccessDenied);
}

TEST_F(RegistryTest, Wow64ViewRedirectsSoftwareExceptSharedKeys) {
  platform::RegKey key(reg);
  const std::uint32_t view32 = regsam::kAllAccess | regsam::kWow64_32Key;
  ASSERT_EQ(reg.createKey(hkey::kLocalMachine, "SOFTWARE\\Vardel\\App", view32, key.out(), nullptr),
            err::kSuccess);
  EXPECT_TRUE(machine.registry().keyExists("HKLM\\SOFTWARE\\Wow6432Node\\Vardel\\App"));
  EXPECT_FALSE(machine.registry().keyExists("HKLM\\SOFTWARE\\Vardel"));

  // A handle opened in the 32-bit view stays there for relative opens.
  platform::RegKey software(reg);
  ASSERT_EQ(reg.openKey(hkey::kLocalMachine, "SOFTWARE", regsam::kRead | regsam::kWow64_32Key,
                        software.out()),
            err::kSuccess);
  platform::RegKey app(reg);
  EXPECT_EQ(reg.openKey(software.get(), "Vardel\\App", regsam::kRead, app.out()), err::kSuccess);

  // Shared keys and everything outside SOFTWARE are the same in both views.
  ASSERT_EQ(reg.createKey(hkey::kLocalMachine,
                          "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Print\\X", view32,
                          key.out(), nullptr),
            err::kSuccess);
  EXPECT_TRUE(machine.registry().keyExists(
      "HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Print\\X"));
  ASSERT_EQ(reg.createKey(hkey::kClassesRoot, "CLSID\\{1}", view32, key.out(), nullptr),
            err::kSuccess);
  EXPECT_TRUE(machine.registry().keyExists("HKLM\\SOFTWARE\\Wow6432Node\\Classes\\CLSID\\{1}"));
  ASSERT_EQ(reg.createKey(hkey::kClassesRoot, ".unm", view32, key.out(), nullptr), err::kSuccess);
  EXPECT_TRUE(machine.registry().keyExists("HKLM\\SOFTWARE\\Classes\\.unm"));
  ASSERT_EQ(reg.openKey(hkey::kLocalMachine, "SYSTEM\\CurrentControlSet\\Control\\Print",
                        regsam::kRead | regsam::kWow64_32Key, key.out()),
            err::kSuccess);

  EXPECT_EQ(reg.deleteKey(hkey::kLocalMachine, "SOFTWARE\\Vardel\\App", regsam::kWow64_32Key),
            err::kSuccess);
  EXPECT_FALSE(machine.registry().keyExists("HKLM\\SOFTWARE\\Wow6432Node\\Vardel\\App"));
}

TEST(RegistryOn32BitWindows, IgnoresTheWow64Flag) {
  sim::Machine machine("xp");
  platform::RegKey key(machine.registry());
  ASSERT_EQ(
      machine.registry().createKey(platform::hkey::kLocalMachine, "SOFTWARE\\Vardel",
                                   regsam::kAllAccess | regsam::kWow64_32Key, key.out(), nullptr),
      err::kSuccess);
  EXPECT_TRUE(machine.registry().keyExists("HKLM\\SOFTWARE\\Vardel"));
}

TEST_F(RegistryTest, PredefinedRootsMapOntoTheirHives) {
  machine.registry().setString("HKCU\\Software\\Vardel", "A", "1");
  EXPECT_EQ(machine.registry().getString(
                std::string("HKU\\") + sim::SimRegistry::kUserSid + "\\Software\\Vardel", "A"),
            "1");
  machine.registry().setString("HKCR\\.unm", "", "UninstallScript");
  EXPECT_EQ(machine.registry().getString("HKLM\\SOFTWARE\\Classes\\.unm", ""), "UninstallScript");
}

TEST_F(RegistryTest, OpenHandlesAreCountedUntilClosed) {
  platform::RegKeyHandle a;
  platform::RegKeyHandle b;
  ASSERT_EQ(reg.openKey(hkey::kLocalMachine, "SOFTWARE", regsam::kRead, a), err::kSuccess);
  ASSERT_EQ(reg.openKey(a, nullptr, regsam::kRead, b), err::kSuccess);  // the same key again
  EXPECT_NE(a, b);
  EXPECT_EQ(machine.registry().openHandleCount(), 2u);
  EXPECT_EQ(reg.closeKey(a), err::kSuccess);
  EXPECT_EQ(reg.closeKey(a), err::kInvalidHandle);
  EXPECT_EQ(reg.closeKey(b), err::kSuccess);
  EXPECT_EQ(reg.closeKey(hkey::kLocalMachine), err::kSuccess);
  EXPECT_EQ(machine.registry().openHandleCount(), 0u);
  {
    platform::RegKey scoped(reg);
    ASSERT_EQ(reg.openKey(hkey::kCurrentUser, "Software", regsam::kRead, scoped.out()),
              err::kSuccess);
    EXPECT_EQ(machine.openHandleCount(), 1u);
  }
  EXPECT_EQ(machine.openHandleCount(), 0u);
}

TEST_F(RegistryTest, AccessRightsOfHandlesAndOfStandardUsersAreChecked) {
  platform::RegKey readOnly(reg);
  ASSERT_EQ(reg.openKey(hkey::kCurrentUser, "Software", regsam::kRead, readOnly.out()),
            err::kSuccess);
  EXPECT_EQ(reg.setValue(readOnly.get(), "x", regtype::kSz, "", 1), err::kAccessDenied);

  machine.host().setAdministrators(sim::AdminMembership::kDenyOnly);
  platform::RegKey key(reg);
  EXPECT_EQ(reg.openKey(hkey::kLocalMachine, "SOFTWARE", regsam::kAllAccess, key.out()),
            err::kAccessDenied);
  EXPECT_EQ(reg.openKey(hkey::kLocalMachine, "SOFTWARE", regsam::kRead, key.out()), err::kSuccess);
  EXPECT_EQ(reg.createKey(hkey::kLocalMachine, "SOFTWARE\\New", regsam::kRead, key.out(), nullptr),
            err::kAccessDenied);
  EXPECT_EQ(
      reg.createKey(hkey::kCurrentUser, "Software\\New", regsam::kAllAccess, key.out(), nullptr),
      err::kSuccess);
}

}  // namespace

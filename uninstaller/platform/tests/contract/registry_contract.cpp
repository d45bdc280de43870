// Registry semantics shared by Windows and the simulated machine.
#include <cstring>
#include <string>
#include <vector>

#include "contract.h"
#include "scratch.h"

namespace contract {
namespace {

using namespace platform;

std::vector<std::string> SubkeyNames(Registry& registry, RegKeyHandle key) {
  std::vector<std::string> names;
  for (std::uint32_t i = 0;; ++i) {
    char name[256];
    std::uint32_t size = sizeof name;
    const Win32Error e = registry.enumKey(key, i, name, &size);
    if (e == error::kNoMoreItems) break;
    EXPECT_EQ(e, error::kSuccess);
    if (e != error::kSuccess) break;
    EXPECT_EQ(size, std::strlen(name));
    names.push_back(name);
  }
  return names;
}

TEST_P(RegistryContract, CreateTellsNewFromExistingAndOpenIgnoresCase) {
  ScratchKey scratch(sys().registry, ScratchName());
  RegKey key(sys().registry);
  bool created = false;
  ASSERT_EQ(
      sys().registry.createKey(scratch.handle(), "SubKey", regsam::kAllAccess, key.out(), &created),
      error::kSuccess);
  EXPECT_TRUE(created);
  ASSERT_EQ(
      sys().registry.createKey(scratch.handle(), "SUBKEY", regsam::kAllAccess, key.out(), &created),
      error::kSuccess);
  EXPECT_FALSE(created);
  EXPECT_EQ(sys().registry.openKey(scratch.handle(), "subkey", regsam::kRead, key.out()),
            error::kSuccess);
  EXPECT_EQ(sys().registry.openKey(scratch.handle(), "Missing", regsam::kRead, key.out()),
            error::kFileNotFound);
  EXPECT_FALSE(key.isOpen());
  // A path of several levels is created in one call and opened by full path.
  ASSERT_EQ(sys().registry.createKey(scratch.handle(), "A\\B\\C", regsam::kAllAccess, key.out(),
                                     &created),
            error::kSuccess);
  EXPECT_TRUE(created);
  EXPECT_EQ(sys().registry.openKey(hkey::kCurrentUser, (scratch.path() + "\\a\\b\\c").c_str(),
                                   regsam::kRead, key.out()),
            error::kSuccess);
}

TEST_P(RegistryContract, ValuesKeepTheirTypeAndBytes) {
  ScratchKey scratch(sys().registry, ScratchName());
  Registry& reg = sys().registry;
  const std::uint32_t dword = 0x12345678;
  const std::uint8_t binary[] = {1, 2, 0, 255};
  struct Case {
    const char* name;
    std::uint32_t type;
    std::string bytes;
  } cases[] = {
      {"Text", regtype::kSz, std::string("hello", 6)},
      {"Expand", regtype::kExpandSz, std::string("%SystemRoot%\\x", 15)},
      {"List", regtype::kMultiSz, std::string("ab\0c\0\0", 6)},
      {"Number", regtype::kDword, std::string(reinterpret_cast<const char*>(&dword), 4)},
      {"Blob", regtype::kBinary, std::string(reinterpret_cast<const char*>(binary), 4)},
      {"Empty", regtype::kBinary, std::string()},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(reg.setValue(scratch.handle(), c.name, c.type, c.bytes.data(),
                           static_cast<std::uint32_t>(c.bytes.size())),
              error::kSuccess)
        << c.name;
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // Size query first, then a read with exactly that size.
    std::uint32_t type = 99;
    std::uint32_t size = 0;
    ASSERT_EQ(reg.queryValue(scratch.handle(), c.name, &type, nullptr, &size), error::kSuccess);
    EXPECT_EQ(type, c.type);
    EXPECT_EQ(size, c.bytes.size());
    std::string data(size + 8, '\x7f');
    ASSERT_EQ(reg.queryValue(scratch.handle(), c.name, nullptr, data.data(), &size),
              error::kSuccess);
    EXPECT_EQ(data.substr(0, size), c.bytes);
  }
}

TEST_P(RegistryContract, SmallBufferGivesMoreDataAndTheSizeNeeded) {
  ScratchKey scratch(sys().registry, ScratchName());
  Registry& reg = sys().registry;
  ASSERT_EQ(reg.setValue(scratch.handle(), "Text", regtype::kSz, "hello", 6), error::kSuccess);
  char small[3];
  std::uint32_t size = sizeof small;
  EXPECT_EQ(reg.queryValue(scratch.handle(), "Text", nullptr, small, &size), error::kMoreData);
  EXPECT_EQ(size, 6u);

  // Enumeration: a value name that does not fit is refused the same way.
  char name[3];
  std::uint32_t nameSize = sizeof name;
  EXPECT_EQ(reg.enumValue(scratch.handle(), 0, name, &nameSize, nullptr, nullptr, nullptr),
            error::kMoreData);
  RegKey child(reg);
  ASSERT_EQ(reg.createKey(scratch.handle(), "LongName", regsam::kAllAccess, child.out(), nullptr),
            error::kSuccess);
  nameSize = sizeof name;
  EXPECT_EQ(reg.enumKey(scratch.handle(), 0, name, &nameSize), error::kMoreData);
}

TEST_P(RegistryContract, MissingValuesAndKeysGiveFileNotFound) {
  ScratchKey scratch(sys().registry, ScratchName());
  Registry& reg = sys().registry;
  std::uint32_t size = 0;
  EXPECT_EQ(reg.queryValue(scratch.handle(), "Nothing", nullptr, nullptr, &size),
            error::kFileNotFound);
  EXPECT_EQ(reg.deleteValue(scratch.handle(), "Nothing"), error::kFileNotFound);
  EXPECT_EQ(reg.deleteKey(scratch.handle(), "Nothing", 0), error::kFileNotFound);

  ASSERT_EQ(reg.setValue(scratch.handle(), "Once", regtype::kSz, "x", 2), error::kSuccess);
  EXPECT_EQ(reg.deleteValue(scratch.handle(), "ONCE"), error::kSuccess);
  EXPECT_EQ(reg.queryValue(scratch.handle(), "Once", nullptr, nullptr, &size),
            error::kFileNotFound);
}

TEST_P(RegistryContract, ValueNamesIgnoreCaseAndSettingAgainReplaces) {
  ScratchKey scratch(sys().registry, ScratchName());
  Registry& reg = sys().registry;
  ASSERT_EQ(reg.setValue(scratch.handle(), "MixedCase", regtype::kSz, "one", 4), error::kSuccess);
  const std::uint32_t seven = 7;
  ASSERT_EQ(reg.setValue(scratch.handle(), "MIXEDCASE", regtype::kDword, &seven, 4),
            error::kSuccess);
  std::uint32_t type = 0;
  std::uint32_t value = 0;
  std::uint32_t size = sizeof value;
  ASSERT_EQ(reg.queryValue(scratch.handle(), "mixedcase", &type, &value, &size), error::kSuccess);
  EXPECT_EQ(type, regtype::kDword);
  EXPECT_EQ(value, 7u);
  // Still one value.
  char name[64];
  std::uint32_t nameSize = sizeof name;
  EXPECT_EQ(reg.enumValue(scratch.handle(), 0, name, &nameSize, nullptr, nullptr, nullptr),
            error::kSuccess);
  nameSize = sizeof name;
  EXPECT_EQ(reg.enumValue(scratch.handle(), 1, name, &nameSize, nullptr, nullptr, nullptr),
            error::kNoMoreItems);
}

// Subkeys come in name order on every implementation. Values come in
// creation order on Windows but sorted on Wine, so only which values are
// listed is shared here (the Win32 tests record the order).
TEST_P(RegistryContract, EnumerationListsSubkeysByNameAndEveryValueOnce) {
  ScratchKey scratch(sys().registry, ScratchName());
  Registry& reg = sys().registry;
  for (const char* name : {"beta", "Alpha", "gamma"}) {
    RegKey key(reg);
    ASSERT_EQ(reg.createKey(scratch.handle(), name, regsam::kAllAccess, key.out(), nullptr),
              error::kSuccess);
  }
  EXPECT_EQ(SubkeyNames(reg, scratch.handle()),
            (std::vector<std::string>{"Alpha", "beta", "gamma"}));

  const char* valueNames[] = {"zed", "alpha", "Mid"};
  for (std::uint32_t i = 0; i < 3; ++i) {
    ASSERT_EQ(reg.setValue(scratch.handle(), valueNames[i], regtype::kDword, &i, 4),
              error::kSuccess);
  }
  std::vector<bool> seen(3, false);
  for (std::uint32_t i = 0; i < 3; ++i) {
    char name[64];
    std::uint32_t nameSize = sizeof name;
    std::uint32_t type = 0;
    std::uint32_t data = 99;
    std::uint32_t dataSize = sizeof data;
    ASSERT_EQ(reg.enumValue(scratch.handle(), i, name, &nameSize, &type, &data, &dataSize),
              error::kSuccess);
    ASSERT_LT(data, 3u);
    EXPECT_FALSE(seen[data]) << name;
    seen[data] = true;
    EXPECT_STREQ(name, valueNames[data]);  // each value with its own data
    EXPECT_EQ(nameSize, std::strlen(name));
    EXPECT_EQ(type, regtype::kDword);
    EXPECT_EQ(dataSize, 4u);
  }
  char name[64];
  std::uint32_t nameSize = sizeof name;
  EXPECT_EQ(reg.enumValue(scratch.handle(), 3, name, &nameSize, nullptr, nullptr, nullptr),
            error::kNoMoreItems);
}

TEST_P(RegistryContract, DeleteKeyRefusesAKeyWithSubkeys) {
  ScratchKey scratch(sys().registry, ScratchName());
  Registry& reg = sys().registry;
  {
    RegKey key(reg);
    ASSERT_EQ(
        reg.createKey(scratch.handle(), "Parent\\Child", regsam::kAllAccess, key.out(), nullptr),
        error::kSuccess);
  }
  EXPECT_EQ(reg.deleteKey(scratch.handle(), "Parent", 0), error::kAccessDenied);
  EXPECT_EQ(reg.deleteKey(scratch.handle(), "PARENT\\child", 0), error::kSuccess);
  EXPECT_EQ(reg.deleteKey(scratch.handle(), "Parent", 0), error::kSuccess);
  RegKey key(reg);
  EXPECT_EQ(reg.openKey(scratch.handle(), "Parent", regsam::kRead, key.out()),
            error::kFileNotFound);
}

// 64-bit Windows keeps a separate 32-bit view of HKLM\Software in
// Software\Wow6432Node; kWow64_32Key reaches it from a 64-bit program.
TEST_P(RegistryContract, Wow64ViewLandsInWow6432Node) {
  Registry& reg = sys().registry;
  const std::string name = "StripwellContract_" + ScratchName();
  const std::string path = "Software\\" + name;
  const std::string redirected = "Software\\Wow6432Node\\" + name;
  DeleteKeyTree(reg, hkey::kLocalMachine, path, regsam::kWow64_32Key);
  DeleteKeyTree(reg, hkey::kLocalMachine, path, regsam::kWow64_64Key);

  RegKey key(reg);
  ASSERT_EQ(reg.createKey(hkey::kLocalMachine, path.c_str(),
                          regsam::kAllAccess | regsam::kWow64_32Key, key.out(), nullptr),
            error::kSuccess);
  ASSERT_EQ(reg.setValue(key.get(), "View", regtype::kSz, "32", 3), error::kSuccess);
  key.reset();

  EXPECT_EQ(reg.openKey(hkey::kLocalMachine, path.c_str(), regsam::kRead, key.out()),
            error::kFileNotFound);
  ASSERT_EQ(reg.openKey(hkey::kLocalMachine, redirected.c_str(), regsam::kRead, key.out()),
            error::kSuccess);
  char data[8] = {};
  std::uint32_t size = sizeof data;
  EXPECT_EQ(reg.queryValue(key.get(), "View", nullptr, data, &size), error::kSuccess);
  EXPECT_STREQ(data, "32");
  key.reset();

  EXPECT_EQ(reg.deleteKey(hkey::kLocalMachine, path.c_str(), regsam::kWow64_64Key),
            error::kFileNotFound);
  EXPECT_EQ(reg.deleteKey(hkey::kLocalMachine, path.c_str(), regsam::kWow64_32Key),
            error::kSuccess);
  EXPECT_EQ(reg.openKey(hkey::kLocalMachine, redirected.c_str(), regsam::kRead, key.out()),
            error::kFileNotFound);
}

}  // namespace
}  // namespace contract

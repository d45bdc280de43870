// The Win32 registry against the real registry: what the layer writes is
// what the Windows functions see, and the predefined roots reach the real
// hives.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/win32_registry.h"
#include "platform/win32/windows_headers.h"
#include "scratch.h"
#include "wine.h"

namespace {

using namespace platform;

class Win32RegistryTest : public ::testing::Test {
 protected:
  win32::Win32Registry registry_;
};

TEST_F(Win32RegistryTest, PredefinedRootsReachTheRealHives) {
  RegKey key(registry_);
  // Present on every Windows; a wrongly widened root handle fails here with 6.
  ASSERT_EQ(
      registry_.openKey(hkey::kLocalMachine, "Software\\Microsoft\\Windows NT\\CurrentVersion",
                        regsam::kRead, key.out()),
      error::kSuccess);
  char product[128] = {};
  std::uint32_t size = sizeof product;
  std::uint32_t type = 0;
  ASSERT_EQ(registry_.queryValue(key.get(), "CurrentVersion", &type, product, &size),
            error::kSuccess);
  EXPECT_EQ(type, regtype::kSz);
  EXPECT_STRNE(product, "");
  EXPECT_EQ(registry_.openKey(hkey::kClassesRoot, "CLSID", regsam::kRead, key.out()),
            error::kSuccess);
  EXPECT_EQ(registry_.openKey(hkey::kUsers, ".DEFAULT", regsam::kRead, key.out()), error::kSuccess);
  // Closing a root is a harmless no-op.
  EXPECT_EQ(registry_.closeKey(hkey::kLocalMachine), error::kSuccess);
  EXPECT_EQ(registry_.openKey(hkey::kLocalMachine, "Software", regsam::kRead, key.out()),
            error::kSuccess);
}

TEST_F(Win32RegistryTest, WritesAreWhatWindowsReads) {
  contract::ScratchKey scratch(registry_, "SW_Win32RegistryTest");
  const std::uint32_t number = 0xCAFE;
  ASSERT_EQ(registry_.setValue(scratch.handle(), "Number", regtype::kDword, &number, 4),
            error::kSuccess);
  ASSERT_EQ(registry_.setValue(scratch.handle(), "Text", regtype::kSz, "abc", 4), error::kSuccess);

  HKEY raw = nullptr;
  ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, scratch.path().c_str(), 0, KEY_READ, &raw),
            ERROR_SUCCESS);
  DWORD value = 0;
  DWORD size = sizeof value;
  EXPECT_EQ(::RegGetValueA(raw, nullptr, "Number", RRF_RT_REG_DWORD, nullptr, &value, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(value, 0xCAFEu);
  char text[8] = {};
  size = sizeof text;
  EXPECT_EQ(::RegGetValueA(raw, nullptr, "Text", RRF_RT_REG_SZ, nullptr, text, &size),
            ERROR_SUCCESS);
  EXPECT_STREQ(text, "abc");
  ::RegCloseKey(raw);
}

// Windows lists a key's values in the order they were created; Wine keeps
// them sorted by name. The simulated machine follows Windows.
TEST_F(Win32RegistryTest, ValueEnumerationOrder) {
  contract::ScratchKey scratch(registry_, "SW_Win32ValueOrder");
  for (const char* name : {"zed", "alpha", "Mid"}) {
    ASSERT_EQ(registry_.setValue(scratch.handle(), name, regtype::kSz, "", 1), error::kSuccess);
  }
  std::string order;
  for (std::uint32_t i = 0;; ++i) {
    char name[16];
    std::uint32_t size = sizeof name;
    if (registry_.enumValue(scratch.handle(), i, name, &size, nullptr, nullptr, nullptr) !=
        error::kSuccess) {
      break;
    }
    order += std::string(name) + ";";
  }
  EXPECT_EQ(order, RunningOnWine() ? "alpha;Mid;zed;" : "zed;alpha;Mid;");
}

TEST_F(Win32RegistryTest, RunOnceKeyIsWritableByTheElevatedProcess) {
  // The spooler-restart mode deletes a value here; the prefix runs elevated,
  // as Stripwell's manifest demands on Windows.
  RegKey key(registry_);
  ASSERT_EQ(registry_.openKey(hkey::kLocalMachine,
                              "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
                              regsam::kAllAccess, key.out()),
            error::kSuccess);
  ASSERT_EQ(registry_.setValue(key.get(), "StripwellTestValue", regtype::kSz, "x", 2),
            error::kSuccess);
  EXPECT_EQ(registry_.deleteValue(key.get(), "StripwellTestValue"), error::kSuccess);
}

}  // namespace

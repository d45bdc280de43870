// Self-registration through the in-memory Quayline registry of the Linux
// build, and the per-thread last error. (Under Wine the same exports are
// checked with regsvr32 against the real registry.)
#include <gtest/gtest.h>

#ifndef _WIN32

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "quayline.h"
#include "registration.h"

namespace {

constexpr char kNtKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ICM\\ICMatchers";
constexpr char kWindowsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\ICM\\ICMatchers";

// The value "VH7Q" under HKLM\key, or "" (and the status) when absent.
std::string Matcher(const char* key, LONG* status = nullptr, DWORD* type = nullptr) {
  HKEY h = nullptr;
  LONG s = quayline::RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_ALL_ACCESS, &h);
  std::string value;
  if (s == 0) {
    char data[MAX_PATH + 1] = {};
    DWORD size = sizeof data;
    s = quayline::RegQueryValueExA(h, "VH7Q", nullptr, type, reinterpret_cast<BYTE*>(data), &size);
    if (s == 0) {
      EXPECT_EQ(size, std::strlen(data) + 1) << "the stored length counts the NUL";
      value = data;
    }
    quayline::RegCloseKey(h);
  }
  if (status != nullptr) *status = s;
  return value;
}

class Registration : public ::testing::Test {
 protected:
  void SetUp() override { quayline::ResetRegistry(); }
  void TearDown() override { quayline::ResetRegistry(); }
};

TEST_F(Registration, RegisterWritesTheModulePathAndUnregisterRemovesIt) {
  ASSERT_EQ(DllRegisterServer(), S_OK);
  // Linked into this test program, the module is the program itself.
  char self[PATH_MAX];
  ASSERT_NE(realpath("/proc/self/exe", self), nullptr);
  DWORD type = 0;
  EXPECT_EQ(Matcher(kNtKey, nullptr, &type), self);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  // Registering again overwrites.
  EXPECT_EQ(DllRegisterServer(), S_OK);
  EXPECT_EQ(DllUnregisterServer(), S_OK);
  LONG status = 0;
  EXPECT_EQ(Matcher(kNtKey, &status), "");
  EXPECT_EQ(status, ERROR_FILE_NOT_FOUND);
  // Only the value is gone: unregistering again fails.
  EXPECT_EQ(DllUnregisterServer(), E_UNEXPECTED);
}

TEST_F(Registration, UnregisterWithoutTheKeyFails) {
  EXPECT_EQ(DllUnregisterServer(), E_UNEXPECTED);
}

TEST_F(Registration, PlatformChoosesTheKey) {
  EXPECT_EQ(huebridge::RegisterMatcher(huebridge::kPlatformWindows9x, "C:\\x\\Huebridge.dll"),
            S_OK);
  EXPECT_EQ(Matcher(kWindowsKey), "C:\\x\\Huebridge.dll");
  // Unregistration looks in the "Windows NT" key on both platforms.
  EXPECT_EQ(huebridge::UnregisterMatcher(huebridge::kPlatformWindows9x), E_UNEXPECTED);
  EXPECT_EQ(huebridge::RegisterMatcher(huebridge::kPlatformNt, "C:\\y\\Huebridge.dll"), S_OK);
  EXPECT_EQ(huebridge::UnregisterMatcher(huebridge::kPlatformWindows9x), S_OK);
  EXPECT_EQ(Matcher(kWindowsKey), "C:\\x\\Huebridge.dll");
  // Other platforms (Win32s is 0) are refused without touching the registry.
  quayline::ResetRegistry();
  EXPECT_EQ(huebridge::RegisterMatcher(0, "C:\\z\\Huebridge.dll"), E_UNEXPECTED);
  EXPECT_EQ(huebridge::RegisterMatcher(3, "C:\\z\\Huebridge.dll"), E_UNEXPECTED);
  LONG status = 0;
  Matcher(kNtKey, &status);
  EXPECT_EQ(status, ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(huebridge::UnregisterMatcher(0), E_UNEXPECTED);
}

TEST_F(Registration, InMemoryRegistryKeepsTheWindowsContracts) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  ASSERT_EQ(quayline::RegCreateKeyExA(HKEY_LOCAL_MACHINE, "A\\B\\C", 0, nullptr, 0, KEY_ALL_ACCESS,
                                      nullptr, &key, &disposition),
            0);
  EXPECT_EQ(disposition, 1u);  // created
  const BYTE data[] = "v";
  EXPECT_EQ(quayline::RegSetValueExA(key, "Name", 0, REG_SZ, data, sizeof data), 0);
  EXPECT_EQ(quayline::RegCloseKey(key), 0);
  // Parents exist, names ignore case, values are per key.
  HKEY parent = nullptr;
  EXPECT_EQ(quayline::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "a\\b", 0, KEY_ALL_ACCESS, &parent), 0);
  EXPECT_EQ(quayline::RegDeleteValueA(parent, "Name"), ERROR_FILE_NOT_FOUND);
  HKEY child = nullptr;
  EXPECT_EQ(quayline::RegOpenKeyExA(parent, "c", 0, KEY_ALL_ACCESS, &child), 0);
  EXPECT_EQ(quayline::RegDeleteValueA(child, "NAME"), 0);
  EXPECT_EQ(quayline::RegDeleteValueA(child, "Name"), ERROR_FILE_NOT_FOUND);
  // A handle outlives its key's deletion and then reports it.
  EXPECT_EQ(quayline::RegDeleteKeyA(parent, "C"), 0);
  EXPECT_EQ(quayline::RegSetValueExA(child, "Name", 0, REG_SZ, data, sizeof data),
            ERROR_KEY_DELETED);
  quayline::RegCloseKey(child);
  quayline::RegCloseKey(parent);
  EXPECT_EQ(quayline::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "A\\B\\C", 0, KEY_ALL_ACCESS, &child),
            ERROR_FILE_NOT_FOUND);
}

TEST(LastError, IsKeptPerThread) {
  SetLastError(1234);
  DWORD seenByOther = 1;
  std::thread other([&] {
    seenByOther = GetLastError();
    SetLastError(99);
  });
  other.join();
  EXPECT_EQ(seenByOther, 0u);
  EXPECT_EQ(GetLastError(), 1234u);
}

}  // namespace

#endif  // !_WIN32

// The Win32 file functions where they meet the rest of Windows: loaded
// modules, deletion at the next start and the profile in the registry.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/crt.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/windows_headers.h"
#include "scratch.h"

namespace {

using namespace platform;

class Win32FilesTest : public ::testing::Test {
 protected:
  win32::Win32System real_;
  System sys_ = real_.system();
};

std::string OwnDirectory(Host& host) {
  char path[kMaxPath] = {};
  host.moduleFileName(path, sizeof path);
  std::string dir = path;
  return dir.substr(0, dir.rfind('\\') + 1);
}

TEST_F(Win32FilesTest, LoadedModuleRefusesDeletion) {
  contract::ScratchDir dir(sys_, "SW_LoadedModule");
  const std::string copy = dir / "probe_copy.dll";
  ASSERT_EQ(
      sys_.files.copyFile((OwnDirectory(sys_.host) + SW_PROBE_DLL).c_str(), copy.c_str(), false),
      error::kSuccess);
  HMODULE module = ::LoadLibraryA(copy.c_str());
  ASSERT_NE(module, nullptr) << ::GetLastError();
  EXPECT_EQ(sys_.files.deleteFile(copy.c_str()), error::kAccessDenied);
  ::FreeLibrary(module);
  EXPECT_EQ(sys_.files.deleteFile(copy.c_str()), error::kSuccess);
}

// The Session Manager's list of renames to carry out at the next start.
std::vector<std::string> PendingRenames(Registry& registry) {
  std::vector<std::string> entries;
  RegKey key(registry);
  if (registry.openKey(hkey::kLocalMachine, "System\\CurrentControlSet\\Control\\Session Manager",
                       regsam::kRead, key.out()) != error::kSuccess) {
    return entries;
  }
  std::uint32_t size = 0;
  std::uint32_t type = 0;
  if (registry.queryValue(key.get(), "PendingFileRenameOperations", &type, nullptr, &size) !=
      error::kSuccess) {
    return entries;
  }
  EXPECT_EQ(type, regtype::kMultiSz);
  std::string data(size, '\0');
  registry.queryValue(key.get(), "PendingFileRenameOperations", nullptr, data.data(), &size);
  for (std::size_t at = 0; at < data.size();) {
    const std::size_t end = data.find('\0', at);
    if (end == std::string::npos) break;
    entries.push_back(data.substr(at, end - at));
    at = end + 1;
  }
  return entries;
}

// Drops the pairs that name `path`, so that the prefix's next start
// does not act on what the test scheduled.
void ForgetPendingRename(Registry& registry, const std::string& source) {
  std::vector<std::string> entries = PendingRenames(registry);
  std::string kept;
  for (std::size_t i = 0; i + 1 < entries.size(); i += 2) {
    if (crt::StrCmpI(entries[i].c_str(), source.c_str()) == 0) continue;
    kept += entries[i] + '\0' + entries[i + 1] + '\0';
  }
  RegKey key(registry);
  ASSERT_EQ(
      registry.openKey(hkey::kLocalMachine, "System\\CurrentControlSet\\Control\\Session Manager",
                       regsam::kAllAccess, key.out()),
      error::kSuccess);
  if (kept.empty()) {
    registry.deleteValue(key.get(), "PendingFileRenameOperations");
  } else {
    kept += '\0';
    registry.setValue(key.get(), "PendingFileRenameOperations", regtype::kMultiSz, kept.data(),
                      static_cast<std::uint32_t>(kept.size()));
  }
}

TEST_F(Win32FilesTest, DeleteAtRebootRecordsAPendingDeletion) {
  contract::ScratchDir dir(sys_, "SW_DeleteAtReboot");
  const std::string path = dir / "in_use.dll";
  ASSERT_EQ(contract::WriteFileText(sys_.files, path, "x"), error::kSuccess);
  ASSERT_EQ(sys_.files.deleteAtReboot(path.c_str()), error::kSuccess);

  // NT records the pair (source, empty target) with the NT path prefix.
  const std::string source = "\\??\\" + path;
  const std::vector<std::string> entries = PendingRenames(sys_.registry);
  bool found = false;
  for (std::size_t i = 0; i + 1 < entries.size(); i += 2) {
    if (crt::StrCmpI(entries[i].c_str(), source.c_str()) == 0) {
      found = true;
      EXPECT_EQ(entries[i + 1], "");
    }
  }
  EXPECT_TRUE(found) << source;
  // Nothing happens to the file before the restart.
  std::uint32_t attributes = 0;
  EXPECT_EQ(sys_.files.getAttributes(path.c_str(), attributes), error::kSuccess);
  ForgetPendingRename(sys_.registry, source);
}

TEST_F(Win32FilesTest, SearchPathFindsSystemFiles) {
  char found[kMaxPath] = {};
  const std::uint32_t length = sys_.files.searchPath("NOTEPAD.EXE", found, sizeof found);
  ASSERT_GT(length, 0u);
  EXPECT_EQ(length, std::string(found).size());
  char windows[kMaxPath] = {};
  sys_.folders.windowsDirectory(windows, sizeof windows);
  EXPECT_EQ(crt::StrNCmpI(found, windows, std::string(windows).size()), 0) << found;
  // A buffer too small gives the size needed, with the terminator.
  char tiny[4];
  EXPECT_EQ(sys_.files.searchPath("NOTEPAD.EXE", tiny, sizeof tiny), length + 1);
}

TEST_F(Win32FilesTest, ProfileWindowsSectionLivesInTheRegistry) {
  IniFiles& ini = sys_.ini;
  char saved[256] = {};
  const std::uint32_t savedLength =
      ini.getProfileString("windows", "device", "", saved, sizeof saved);
  ASSERT_TRUE(ini.writeProfileString("windows", "device", "Stripwell Test,winspool,FILE:"));
  char back[256] = {};
  ini.getProfileString("Windows", "Device", "", back, sizeof back);
  EXPECT_STREQ(back, "Stripwell Test,winspool,FILE:");

  // On the NT family win.ini's [windows] section is mapped to this key.
  RegKey key(sys_.registry);
  ASSERT_EQ(sys_.registry.openKey(hkey::kCurrentUser,
                                  "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows",
                                  regsam::kRead, key.out()),
            error::kSuccess);
  char stored[256] = {};
  std::uint32_t size = sizeof stored;
  EXPECT_EQ(sys_.registry.queryValue(key.get(), "Device", nullptr, stored, &size), error::kSuccess);
  EXPECT_STREQ(stored, "Stripwell Test,winspool,FILE:");

  EXPECT_TRUE(ini.writeProfileString("windows", "device", savedLength > 0 ? saved : nullptr));
}

}  // namespace

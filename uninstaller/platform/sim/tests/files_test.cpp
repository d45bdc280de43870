// The simulated file system: locking and deletion errors, dispositions,
// directory removal, find wildcards, deferred deletion, search order and
// temporary names.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "machine.h"
#include "sim_errors.h"
#include "sim_path.h"

namespace {

namespace err = platform::error;
namespace access = platform::file_access;
namespace share = platform::file_share;
namespace disp = platform::file_disposition;
namespace fa = platform::file_attr;

constexpr std::uint32_t kDelete = 0x10000;

std::vector<std::string> Find(platform::FileSystem& fs, const char* pattern,
                              platform::Win32Error* error = nullptr) {
  std::vector<platform::FindData> matches;
  const platform::Win32Error e = fs.findFiles(pattern, matches);
  if (error != nullptr) *error = e;
  std::vector<std::string> names;
  for (const platform::FindData& m : matches) names.push_back(m.name);
  return names;
}

class FilesTest : public ::testing::Test {
 protected:
  sim::Machine machine{"xp"};
  sim::SimFileSystem& files = machine.files();
  platform::FileSystem& fs = machine.files();
  const std::string dll = "C:\\WINDOWS\\system32\\VDrv.dll";

  void SetUp() override { files.makeDirectories("C:\\TEMP"); }
};

TEST_F(FilesTest, DeleteFailsWith5ForReadOnlyAndLoadedAnd32ForOpenFiles) {
  files.writeFile(dll, "MZ", fa::kReadOnly);
  EXPECT_EQ(fs.deleteFile(dll.c_str()), err::kAccessDenied);
  ASSERT_EQ(fs.setAttributes(dll.c_str(), fa::kNormal), err::kSuccess);

  files.setLoadedModule(dll, true);
  EXPECT_EQ(fs.deleteFile(dll.c_str()), err::kAccessDenied);
  files.setLoadedModule(dll, false);

  const auto hold = files.holdOpen(dll, access::kGenericRead, share::kRead | share::kWrite);
  EXPECT_EQ(fs.deleteFile(dll.c_str()), err::kSharingViolation);
  files.release(hold);

  EXPECT_EQ(fs.deleteFile("c:\\windows\\SYSTEM32\\vdrv.DLL"), err::kSuccess);
  EXPECT_FALSE(files.exists(dll));
  EXPECT_EQ(fs.deleteFile(dll.c_str()), err::kFileNotFound);
  EXPECT_EQ(fs.deleteFile("C:\\NoSuchDir\\x.dll"), err::kPathNotFound);
  EXPECT_EQ(fs.deleteFile("C:\\WINDOWS"), err::kAccessDenied);
}

TEST_F(FilesTest, FileOpenWithDeleteSharingGoesWhenTheLastHandleCloses) {
  files.writeFile(dll, "MZ");
  const auto hold = files.holdOpen(dll, access::kGenericRead, share::kRead | share::kDelete);
  EXPECT_EQ(fs.deleteFile(dll.c_str()), err::kSuccess);
  EXPECT_TRUE(files.exists(dll));
  platform::File file(fs);
  EXPECT_EQ(fs.createFile(dll.c_str(), access::kGenericRead, share::kRead | share::kDelete,
                          disp::kOpenExisting, 0, file.out()),
            err::kAccessDenied);  // delete pending
  files.release(hold);
  EXPECT_FALSE(files.exists(dll));
}

TEST_F(FilesTest, HandleOutlivingItsRemovedDirectoryClosesSafely) {
  files.writeFile("C:\\Gone\\open.dat", "x");
  platform::File file(fs);
  ASSERT_EQ(fs.createFile("C:\\Gone\\open.dat", access::kGenericRead, share::kRead | share::kDelete,
                          disp::kOpenExisting, 0, file.out()),
            err::kSuccess);
  ASSERT_EQ(fs.deleteFile("C:\\Gone\\open.dat"), err::kSuccess);
  ASSERT_TRUE(files.removeTree("C:\\Gone"));
  char byte = 0;
  std::uint32_t read = 0;
  EXPECT_EQ(fs.readFile(file.get(), &byte, 1, read), err::kSuccess);
  EXPECT_EQ(byte, 'x');
  file.reset();
  EXPECT_FALSE(files.exists("C:\\Gone"));
}

TEST_F(FilesTest, ShareModesDecideWhetherASecondOpenSucceeds) {
  files.writeFile(dll, "data");
  platform::File first(fs);
  ASSERT_EQ(fs.createFile(dll.c_str(), access::kGenericRead, share::kRead, disp::kOpenExisting, 0,
                          first.out()),
            err::kSuccess);
  platform::File second(fs);
  EXPECT_EQ(fs.createFile(dll.c_str(), access::kGenericRead, share::kRead, disp::kOpenExisting, 0,
                          second.out()),
            err::kSuccess);
  EXPECT_EQ(fs.createFile(dll.c_str(), access::kGenericWrite, share::kRead | share::kWrite,
                          disp::kOpenExisting, 0, second.out()),
            err::kSharingViolation);
  // The first handle allows reading only, so a reader must allow... reading.
  EXPECT_EQ(fs.createFile(dll.c_str(), access::kGenericRead, share::kNone, disp::kOpenExisting, 0,
                          second.out()),
            err::kSharingViolation);
  // An open for no data access never conflicts.
  EXPECT_EQ(
      fs.createFile(dll.c_str(), access::kNone, share::kNone, disp::kOpenExisting, 0, second.out()),
      err::kSuccess);
  EXPECT_EQ(machine.openHandleCount(), 2u);

  files.setLoadedModule(dll, true);
  platform::File writer(fs);
  first.reset();
  second.reset();
  EXPECT_EQ(fs.createFile(dll.c_str(), access::kGenericWrite, share::kRead, disp::kOpenExisting, 0,
                          writer.out()),
            err::kSharingViolation);
  EXPECT_EQ(fs.createFile(dll.c_str(), access::kGenericRead, share::kRead, disp::kOpenExisting, 0,
                          writer.out()),
            err::kSuccess);
  writer.reset();
  EXPECT_EQ(machine.openHandleCount(), 0u);
}

TEST_F(FilesTest, DispositionsCreateTruncateAndRefuseAsWindowsDoes) {
  const char* path = "C:\\TEMP\\new.txt";
  platform::File file(fs);
  EXPECT_EQ(fs.createFile(path, access::kGenericRead, 0, disp::kOpenExisting, 0, file.out()),
            err::kFileNotFound);
  ASSERT_EQ(fs.createFile(path, access::kGenericWrite, 0, disp::kCreateNew, 0, file.out()),
            err::kSuccess);
  std::uint32_t written = 0;
  ASSERT_EQ(fs.writeFile(file.get(), "hello", 5, written), err::kSuccess);
  file.reset();
  EXPECT_EQ(files.fileContents(path), "hello");
  EXPECT_EQ(fs.createFile(path, access::kGenericWrite, 0, disp::kCreateNew, 0, file.out()),
            err::kFileExists);

  ASSERT_EQ(
      fs.createFile(path, access::kGenericRead, share::kRead, disp::kOpenAlways, 0, file.out()),
      err::kSuccess);
  char buffer[8] = {};
  std::uint32_t read = 0;
  std::uint64_t size = 0;
  EXPECT_EQ(fs.fileSize(file.get(), size), err::kSuccess);
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(fs.readFile(file.get(), buffer, sizeof buffer, read), err::kSuccess);
  EXPECT_EQ(read, 5u);
  EXPECT_EQ(fs.writeFile(file.get(), "x", 1, written), err::kAccessDenied);
  file.reset();

  ASSERT_EQ(fs.createFile(path, access::kGenericWrite, 0, disp::kCreateAlways, 0, file.out()),
            err::kSuccess);
  file.reset();
  EXPECT_EQ(files.fileContents(path), "");

  files.setAttributesOf(path, fa::kReadOnly);
  EXPECT_EQ(fs.createFile(path, access::kGenericWrite, 0, disp::kOpenExisting, 0, file.out()),
            err::kAccessDenied);
  files.setAttributesOf(path, fa::kHidden);
  EXPECT_EQ(fs.createFile(path, access::kGenericWrite, 0, disp::kCreateAlways, 0, file.out()),
            err::kAccessDenied);
  EXPECT_EQ(fs.createFile("C:\\TEMP", access::kGenericRead, 0, disp::kOpenExisting, 0, file.out()),
            err::kAccessDenied);
  EXPECT_EQ(
      fs.createFile("C:\\Nowhere\\x", access::kGenericWrite, 0, disp::kCreateAlways, 0, file.out()),
      err::kPathNotFound);
  EXPECT_EQ(
      fs.createFile("C:\\TEMP\\a|b", access::kGenericWrite, 0, disp::kCreateAlways, 0, file.out()),
      err::kInvalidName);
}

TEST_F(FilesTest, AttributesReadBackAndDirectoryBitStays) {
  files.writeFile(dll, "MZ");
  std::uint32_t attributes = 0;
  ASSERT_EQ(fs.getAttributes(dll.c_str(), attributes), err::kSuccess);
  EXPECT_EQ(attributes, fa::kArchive);
  ASSERT_EQ(fs.setAttributes(dll.c_str(), fa::kReadOnly | fa::kHidden | fa::kSystem),
            err::kSuccess);
  ASSERT_EQ(fs.getAttributes(dll.c_str(), attributes), err::kSuccess);
  EXPECT_EQ(attributes, fa::kReadOnly | fa::kHidden | fa::kSystem);
  ASSERT_EQ(fs.setAttributes(dll.c_str(), fa::kNormal), err::kSuccess);
  ASSERT_EQ(fs.getAttributes(dll.c_str(), attributes), err::kSuccess);
  EXPECT_EQ(attributes, fa::kNormal);

  ASSERT_EQ(fs.setAttributes("C:\\WINDOWS", fa::kHidden), err::kSuccess);
  ASSERT_EQ(fs.getAttributes("C:\\WINDOWS", attributes), err::kSuccess);
  EXPECT_EQ(attributes, fa::kHidden | fa::kDirectory);
  EXPECT_EQ(fs.getAttributes("C:\\WINDOWS\\none.txt", attributes), err::kFileNotFound);
  EXPECT_EQ(attributes, fa::kInvalid);
}

TEST_F(FilesTest, RemoveDirectoryNeedsAnEmptyDirectoryThatIsNotCurrent) {
  files.writeFile("C:\\Vardel\\OEM\\file.dat", "x");
  EXPECT_EQ(fs.removeDirectory("C:\\Vardel\\OEM"), err::kDirNotEmpty);
  ASSERT_EQ(fs.deleteFile("C:\\Vardel\\OEM\\file.dat"), err::kSuccess);
  ASSERT_EQ(fs.setCurrentDirectory("C:\\Vardel\\OEM"), err::kSuccess);
  EXPECT_EQ(fs.removeDirectory("C:\\Vardel\\OEM"), err::kSharingViolation);
  ASSERT_EQ(fs.setCurrentDirectory("C:\\"), err::kSuccess);
  EXPECT_EQ(fs.removeDirectory("c:\\vardel\\oem"), err::kSuccess);
  EXPECT_FALSE(files.exists("C:\\Vardel\\OEM"));
  EXPECT_EQ(fs.removeDirectory("C:\\Vardel\\OEM"), err::kFileNotFound);
  files.writeFile("C:\\Vardel\\plain", "x");
  EXPECT_EQ(fs.removeDirectory("C:\\Vardel\\plain"), sim::error::kDirectory);

  EXPECT_EQ(fs.createDirectory("C:\\Vardel\\New"), err::kSuccess);
  EXPECT_EQ(fs.createDirectory("C:\\Vardel\\NEW"), err::kAlreadyExists);
  EXPECT_EQ(fs.createDirectory("C:\\Missing\\New"), err::kPathNotFound);
}

TEST_F(FilesTest, FindMatchesWildcardsAsWindowsDoes) {
  for (const char* name : {"b.txt", "A.TXT", "readme", "x.txt.bak", "ab.htm", "ab.html"}) {
    files.writeFile(std::string("C:\\D\\") + name, "");
  }
  files.makeDirectories("C:\\D\\Sub");
  EXPECT_EQ(Find(fs, "C:\\D\\*.*"),
            (std::vector<std::string>{".", "..", "A.TXT", "ab.htm", "ab.html", "b.txt", "readme",
                                      "Sub", "x.txt.bak"}));
  EXPECT_EQ(Find(fs, "C:\\D\\*.txt"), (std::vector<std::string>{"A.TXT", "b.txt"}));
  EXPECT_EQ(Find(fs, "C:\\D\\*."), (std::vector<std::string>{".", "..", "readme", "Sub"}));
  EXPECT_EQ(Find(fs, "C:\\D\\?.txt"), (std::vector<std::string>{"A.TXT", "b.txt"}));
  EXPECT_EQ(Find(fs, "C:\\D\\ab?.htm"), (std::vector<std::string>{"ab.htm"}));
  EXPECT_EQ(Find(fs, "C:\\D\\*.htm"), (std::vector<std::string>{"ab.htm"}));
  EXPECT_EQ(Find(fs, "C:\\D\\README"), (std::vector<std::string>{"readme"}));

  platform::Win32Error e = 0;
  EXPECT_TRUE(Find(fs, "C:\\D\\*.exe", &e).empty());
  EXPECT_EQ(e, err::kFileNotFound);
  Find(fs, "C:\\NoDir\\*.*", &e);
  EXPECT_EQ(e, err::kPathNotFound);
  // A drive's root has no "." and "..".
  const std::vector<std::string> root = Find(fs, "C:\\*.");
  ASSERT_FALSE(root.empty());
  EXPECT_NE(root[0], ".");
  EXPECT_NE(std::find(root.begin(), root.end(), "WINDOWS"), root.end());

  std::vector<platform::FindData> matches;
  ASSERT_EQ(fs.findFiles("C:\\D\\Sub", matches), err::kSuccess);
  EXPECT_EQ(matches.at(0).attributes, fa::kDirectory);
}

TEST(Wildcards, FollowTheDosRulesOfFindFirstFile) {
  EXPECT_TRUE(sim::MatchesWildcard("*.*", "noext"));
  EXPECT_TRUE(sim::MatchesWildcard("*", ".hidden"));
  EXPECT_TRUE(sim::MatchesWildcard("a?.txt", "a.txt"));
  EXPECT_TRUE(sim::MatchesWildcard("??", "a"));
  EXPECT_FALSE(sim::MatchesWildcard("?", "ab"));
  EXPECT_TRUE(sim::MatchesWildcard("*.t?t", "x.txt"));
  EXPECT_FALSE(sim::MatchesWildcard("*.t?t", "x.tt"));
  EXPECT_TRUE(sim::MatchesWildcard("Mainscr?.unm", "MAINSCR0.UNM"));
  EXPECT_TRUE(sim::MatchesWildcard("*s*.unm", "mainscr0.unm"));
  EXPECT_FALSE(sim::MatchesWildcard("*.", "a.b"));
  EXPECT_TRUE(sim::MatchesWildcard("a.*", "a"));
}

TEST_F(FilesTest, DeferredDeletionIsRecordedInPendingFileRenameOperations) {
  files.writeFile(dll, "MZ");
  files.writeFile("C:\\WINDOWS\\system32\\Second.dll", "MZ");
  ASSERT_EQ(fs.deleteAtReboot(dll.c_str()), err::kSuccess);
  ASSERT_EQ(fs.deleteAtReboot("c:\\windows\\system32\\second.dll"), err::kSuccess);
  EXPECT_EQ(files.pendingDeletions(),
            (std::vector<std::string>{dll, "C:\\windows\\system32\\second.dll"}));
  const std::optional<sim::RegValue> value = machine.registry().value(
      "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Session Manager", "PendingFileRenameOperations");
  ASSERT_TRUE(value.has_value());
  EXPECT_EQ(value->type, platform::regtype::kMultiSz);
  const std::string raw(value->data.begin(), value->data.end());
  EXPECT_EQ(raw, std::string("\\??\\") + dll + std::string("\0\0", 2) +
                     "\\??\\C:\\windows\\system32\\second.dll" + std::string("\0\0\0", 3));

  files.setLoadedModule(dll, true);
  machine.restartWindows();
  EXPECT_FALSE(files.exists(dll));
  EXPECT_FALSE(files.exists("C:\\WINDOWS\\system32\\Second.dll"));
  EXPECT_TRUE(files.pendingDeletions().empty());
}

TEST(DeferredDeletion, IsMissingOnWindows9xAndNeedsAnAdministratorOnNt) {
  sim::Machine w98("98");
  EXPECT_EQ(w98.files().deleteAtReboot("C:\\WINDOWS\\x.dll"), sim::error::kCallNotImplemented);
  sim::Machine w7("7");
  w7.host().setAdministrators(sim::AdminMembership::kDenyOnly);
  EXPECT_EQ(w7.files().deleteAtReboot("C:\\Windows\\x.dll"), err::kAccessDenied);
}

TEST(Wininit, RenameSectionIsCarriedOutAtTheNextStartOfWindows9x) {
  sim::Machine machine("98");
  machine.files().writeFile("C:\\WINDOWS\\SYSTEM\\VDRV.DRV", "old");
  machine.files().writeFile("C:\\WINDOWS\\WININIT.INI",
                            "[RENAME]\r\nNUL=C:\\WINDOWS\\SYSTEM\\VDRV.DRV\r\n");
  machine.restartWindows();
  EXPECT_FALSE(machine.files().exists("C:\\WINDOWS\\SYSTEM\\VDRV.DRV"));
  EXPECT_FALSE(machine.files().exists("C:\\WINDOWS\\WININIT.INI"));
  EXPECT_TRUE(machine.files().exists("C:\\WINDOWS\\WININIT.BAK"));
}

TEST_F(FilesTest, SearchPathLooksInProgramCurrentSystemWindowsThenPath) {
  machine.setModuleFileName("C:\\Stripwell\\Stripwell.exe");
  files.writeFile("C:\\WINDOWS\\Mainscr0.unm", "windows");
  char found[260];
  ASSERT_EQ(fs.searchPath("mainscr0.unm", found, sizeof found), 23u);
  EXPECT_STREQ(found, "C:\\WINDOWS\\mainscr0.unm");

  files.writeFile("C:\\WINDOWS\\system32\\Mainscr0.unm", "system");
  fs.searchPath("Mainscr0.unm", found, sizeof found);
  EXPECT_STREQ(found, "C:\\WINDOWS\\system32\\Mainscr0.unm");

  files.writeFile("C:\\Work\\Mainscr0.unm", "current");
  ASSERT_EQ(fs.setCurrentDirectory("C:\\Work"), err::kSuccess);
  fs.searchPath("Mainscr0.unm", found, sizeof found);
  EXPECT_STREQ(found, "C:\\Work\\Mainscr0.unm");

  files.writeFile("C:\\Stripwell\\Mainscr0.unm", "program");
  fs.searchPath("Mainscr0.unm", found, sizeof found);
  EXPECT_STREQ(found, "C:\\Stripwell\\Mainscr0.unm");

  EXPECT_EQ(fs.searchPath("Mainscr0.unm", found, 10), 26u);  // the size needed
  EXPECT_EQ(fs.searchPath("absent.unm", found, sizeof found), 0u);
  files.writeFile("C:\\WINDOWS\\system32\\Wbem\\only.here", "");
  EXPECT_GT(fs.searchPath("only.here", found, sizeof found), 0u);  // from PATH
}

TEST_F(FilesTest, TempFileNamesAreCreatedAndUnique) {
  char first[260];
  char second[260];
  ASSERT_EQ(fs.tempFileName("C:\\TEMP\\", "~~x", 0, first), err::kSuccess);
  ASSERT_EQ(fs.tempFileName("C:\\TEMP", "~~", 0, second), err::kSuccess);
  EXPECT_NE(std::string(first), std::string(second));
  EXPECT_EQ(std::string(first).rfind("C:\\TEMP\\~~x", 0), 0u);
  EXPECT_TRUE(files.exists(first));
  EXPECT_TRUE(files.exists(second));
  EXPECT_EQ(files.fileContents(second), "");

  char named[260];
  ASSERT_EQ(fs.tempFileName("C:\\TEMP", "abcdef", 0x1A2B, named), err::kSuccess);
  EXPECT_STREQ(named, "C:\\TEMP\\abc1A2B.tmp");
  EXPECT_FALSE(files.exists(named));  // a given number creates nothing
  EXPECT_EQ(fs.tempFileName("C:\\NoDir", "~~", 0, named), err::kPathNotFound);
  EXPECT_EQ(machine.openHandleCount(), 0u);
}

TEST_F(FilesTest, CurrentDirectoryAndRelativePaths) {
  ASSERT_EQ(fs.setCurrentDirectory("C:\\WINDOWS\\system32"), err::kSuccess);
  char buffer[260];
  EXPECT_EQ(fs.currentDirectory(buffer, sizeof buffer), 19u);
  EXPECT_STREQ(buffer, "C:\\WINDOWS\\system32");
  EXPECT_EQ(fs.currentDirectory(buffer, 5), 20u);

  files.writeFile("C:\\WINDOWS\\system32\\rel.txt", "r");
  platform::File file(fs);
  EXPECT_EQ(fs.createFile("rel.txt", access::kGenericRead, share::kRead, disp::kOpenExisting, 0,
                          file.out()),
            err::kSuccess);
  EXPECT_EQ(fs.createFile("..\\system32\\.\\rel.txt", access::kGenericRead, share::kRead,
                          disp::kOpenExisting, 0, file.out()),
            err::kSuccess);
  EXPECT_EQ(fs.createFile("\\WINDOWS/system32/rel.txt", access::kGenericRead, share::kRead,
                          disp::kOpenExisting, 0, file.out()),
            err::kSuccess);
  EXPECT_EQ(fs.setCurrentDirectory("C:\\WINDOWS\\system32\\rel.txt"), sim::error::kDirectory);
  EXPECT_EQ(fs.setCurrentDirectory("D:\\"), err::kPathNotFound);
}

TEST_F(FilesTest, CopyFileKeepsAttributesAndRespectsLocks) {
  files.writeFile("C:\\src.dat", "payload", fa::kReadOnly | fa::kArchive);
  EXPECT_EQ(fs.copyFile("C:\\src.dat", "C:\\TEMP\\dst.dat", true), err::kSuccess);
  EXPECT_EQ(files.fileContents("C:\\TEMP\\dst.dat"), "payload");
  EXPECT_EQ(files.attributesOf("C:\\TEMP\\dst.dat"), fa::kReadOnly | fa::kArchive);
  EXPECT_EQ(fs.copyFile("C:\\src.dat", "C:\\TEMP\\dst.dat", true), err::kFileExists);
  EXPECT_EQ(fs.copyFile("C:\\src.dat", "C:\\TEMP\\dst.dat", false), err::kAccessDenied);
  const auto writer =
      files.holdOpen("C:\\src.dat", access::kGenericWrite, share::kRead | share::kWrite);
  EXPECT_EQ(fs.copyFile("C:\\src.dat", "C:\\TEMP\\other.dat", false), err::kSharingViolation);
  files.release(writer);
  EXPECT_EQ(fs.copyFile("C:\\none.dat", "C:\\TEMP\\other.dat", false), err::kFileNotFound);
}

TEST(Paths, FullPathsFoldDotsSlashesAndTrailingDots) {
  const sim::DosPath cwd{'C', {"Windows"}};
  sim::DosPath full;
  ASSERT_EQ(sim::MakeFullPath("a/b/../c.", cwd, full), err::kSuccess);
  EXPECT_EQ(full.text(), "C:\\Windows\\a\\c");
  ASSERT_EQ(sim::MakeFullPath("d:x", cwd, full), err::kSuccess);
  EXPECT_EQ(full.text(), "D:\\x");
  ASSERT_EQ(sim::MakeFullPath("\\", cwd, full), err::kSuccess);
  EXPECT_EQ(full.text(), "C:\\");
  EXPECT_EQ(sim::MakeFullPath("\\\\server\\share", cwd, full), err::kPathNotFound);
  EXPECT_EQ(sim::MakeFullPath(std::string(300, 'a'), cwd, full), sim::error::kFilenameTooLong);
}

}  // namespace

// Where the real system keeps its folders: the directories exist and have
// the shapes the uninstaller's locations rely on.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/crt.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_folders.h"
#include "wine.h"

namespace {

using namespace platform;

constexpr Win32Error kInvalidEnvironment = 1805;  // ERROR_INVALID_ENVIRONMENT

class Win32FoldersTest : public ::testing::Test {
 protected:
  bool IsDirectory(const std::string& path) {
    std::uint32_t attributes = 0;
    return files_.getAttributes(path.c_str(), attributes) == error::kSuccess &&
           (attributes & file_attr::kDirectory) != 0;
  }
  std::string Windows() {
    char path[kMaxPath] = {};
    folders_.windowsDirectory(path, sizeof path);
    return path;
  }
  std::string System32() {
    char path[kMaxPath] = {};
    folders_.systemDirectory(path, sizeof path);
    return path;
  }
  static bool EqualNoCase(const std::string& a, const std::string& b) {
    return crt::StrCmpI(a.c_str(), b.c_str()) == 0;
  }

  win32::Win32Folders folders_;
  win32::Win32Files files_;
};

TEST_F(Win32FoldersTest, SystemDirectoriesAndTheSizesTheyNeed) {
  const std::string windows = Windows();
  ASSERT_GE(windows.size(), 3u);
  EXPECT_EQ(windows[1], ':');
  EXPECT_NE(windows.back(), '\\');
  EXPECT_TRUE(IsDirectory(windows));
  EXPECT_TRUE(EqualNoCase(System32(), windows + "\\system32"));

  char temp[kMaxPath] = {};
  const std::uint32_t tempLength = folders_.tempPath(temp, sizeof temp);
  ASSERT_GT(tempLength, 0u);
  EXPECT_EQ(temp[tempLength - 1], '\\');  // the one that ends in a backslash
  EXPECT_TRUE(IsDirectory(temp));

  // Too small: the size needed, terminator included.
  char tiny[2];
  EXPECT_EQ(folders_.windowsDirectory(tiny, sizeof tiny), windows.size() + 1);
  EXPECT_EQ(folders_.systemDirectory(tiny, sizeof tiny), System32().size() + 1);
  EXPECT_EQ(folders_.tempPath(tiny, sizeof tiny), tempLength + 1);
}

TEST_F(Win32FoldersTest, SpecialFoldersThatTheScriptsName) {
  // Programs, Startup, common Programs, common Startup, application data,
  // fonts, Program Files.
  for (int csidl : {2, 7, 23, 24, 26, 20, 38}) {
    SCOPED_TRACE(csidl);
    char path[kMaxPath] = "garbage";
    ASSERT_EQ(folders_.specialFolder(csidl, path), error::kSuccess);
    EXPECT_EQ(path[1], ':');
    EXPECT_NE(std::string(path).back(), '\\');
    EXPECT_TRUE(IsDirectory(path));
  }
  char fonts[kMaxPath] = {};
  ASSERT_EQ(folders_.specialFolder(20, fonts), error::kSuccess);
  EXPECT_TRUE(EqualNoCase(fonts, Windows() + "\\Fonts"));
}

TEST_F(Win32FoldersTest, VirtualAndUnknownFoldersHaveNoPath) {
  // The Printers folder (4) is a shell namespace without a directory:
  // Windows' SHGetPathFromIDListA fails for it. Wine's succeeds with the
  // folder's parsing name ("::{20D04FE0-...}\\::{2227A280-...}"), which no
  // file function accepts; the simulated machine follows Windows.
  char path[kMaxPath] = "garbage";
  if (RunningOnWine()) {
    EXPECT_EQ(folders_.specialFolder(4, path), error::kSuccess);
    EXPECT_EQ(std::string(path).substr(0, 3), "::{");
  } else {
    EXPECT_NE(folders_.specialFolder(4, path), error::kSuccess);
    EXPECT_STREQ(path, "");
  }
  std::strcpy(path, "garbage");
  EXPECT_NE(folders_.specialFolder(0x7F, path), error::kSuccess);
  EXPECT_STREQ(path, "");
}

TEST_F(Win32FoldersTest, SpoolerDirectoriesByEnvironment) {
  const std::string spool = System32() + "\\spool";
  char native[kMaxPath] = {};
  ASSERT_EQ(folders_.printerDriverDirectory(nullptr, native, sizeof native), error::kSuccess);
  EXPECT_TRUE(EqualNoCase(native, spool + "\\drivers\\x64"));
  char x64[kMaxPath] = {};
  ASSERT_EQ(folders_.printerDriverDirectory("Windows x64", x64, sizeof x64), error::kSuccess);
  EXPECT_TRUE(EqualNoCase(x64, native));
  char win40[kMaxPath] = {};
  ASSERT_EQ(folders_.printerDriverDirectory("Windows 4.0", win40, sizeof win40), error::kSuccess);
  EXPECT_TRUE(EqualNoCase(win40, spool + "\\drivers\\win40"));

  char processors[kMaxPath] = {};
  ASSERT_EQ(folders_.printProcessorDirectory(nullptr, processors, sizeof processors),
            error::kSuccess);
  EXPECT_TRUE(EqualNoCase(processors, spool + "\\prtprocs\\x64"));

  char tiny[4];
  EXPECT_EQ(folders_.printerDriverDirectory(nullptr, tiny, sizeof tiny),
            error::kInsufficientBuffer);
  EXPECT_EQ(folders_.printerDriverDirectory("No Such Environment", native, sizeof native),
            kInvalidEnvironment);
}

TEST_F(Win32FoldersTest, ColourDirectoryThroughMscms) {
  char path[kMaxPath] = {};
  std::uint32_t size = sizeof path;
  ASSERT_EQ(folders_.colorDirectory(path, &size), error::kSuccess);
  EXPECT_TRUE(EqualNoCase(path, System32() + "\\spool\\drivers\\color"));
  EXPECT_TRUE(IsDirectory(path));

  EXPECT_EQ(size, std::string(path).size() + 1);  // the size used, terminator included

  // Too small a buffer fails and gives the size needed. Neither the error
  // nor whether that size counts the terminator is documented; Wine gives
  // kMoreData and the length without it.
  char tiny[4];
  std::uint32_t tinySize = sizeof tiny;
  EXPECT_NE(folders_.colorDirectory(tiny, &tinySize), error::kSuccess);
  EXPECT_GE(tinySize, std::string(path).size());
}

}  // namespace

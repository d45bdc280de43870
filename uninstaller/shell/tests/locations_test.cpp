#include "shell/locations.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "machine.h"

namespace {

std::string Resolved(sim::Machine& machine, std::int32_t code) {
  platform::System system = machine.system();
  CPathParts parts;
  EXPECT_TRUE(parts.init(system, code));
  return std::string(parts.drive) + parts.dir + parts.fname + parts.ext;
}

bool AllEmpty(const CPathParts& parts) {
  return !parts.drive[0] && !parts.dir[0] && !parts.fname[0] && !parts.ext[0] && !parts.full[0];
}

TEST(Locations, UnknownCodesResolveToFiveEmptyParts) {
  sim::Machine machine("10");
  platform::System system = machine.system();
  for (std::int32_t code : {0, 36, -1, 1000}) {
    CPathParts parts;
    std::strcpy(parts.full, "stale");
    EXPECT_TRUE(parts.init(system, code));
    EXPECT_TRUE(AllEmpty(parts)) << code;
  }
}

TEST(Locations, ProgramFileAndDirectoryComeFromTheModuleName) {
  sim::Machine machine("10");
  machine.setModuleFileName("D:\\Tools\\Vardel\\Stripwell.exe");
  platform::System system = machine.system();
  CPathParts file;
  file.init(system, kLocProgramFile);
  EXPECT_STREQ(file.drive, "D:");
  EXPECT_STREQ(file.dir, "\\Tools\\Vardel\\");
  EXPECT_STREQ(file.fname, "Stripwell");
  EXPECT_STREQ(file.ext, ".exe");
  EXPECT_STREQ(file.full, "") << "init composes nothing";
  CPathParts dir;
  dir.init(system, kLocProgramDir);
  EXPECT_STREQ(dir.directory(), "D:\\Tools\\Vardel\\");
  EXPECT_STREQ(dir.fname, "");
}

TEST(Locations, SystemDirectoriesEndInABackslashOnEveryVersion) {
  for (const char* name : {"95", "nt4", "xp", "10"}) {
    sim::Machine machine(name);
    EXPECT_EQ(Resolved(machine, kLocWindowsDir), machine.profile().windowsDirectory + "\\") << name;
    EXPECT_EQ(Resolved(machine, kLocSystemDir), machine.profile().systemDirectory + "\\") << name;
    EXPECT_EQ(Resolved(machine, kLocInfDir), machine.profile().windowsDirectory + "\\INF\\")
        << name;
    const std::string temp = Resolved(machine, kLocTempDir);
    EXPECT_EQ(temp.back(), '\\') << name;
  }
}

TEST(Locations, DriverDirectoriesDifferByEnvironmentAndProcessorCodesAgree) {
  sim::Machine machine("10");
  const std::string native = Resolved(machine, kLocPrinterDriverDir);
  const std::string win40 = Resolved(machine, kLocPrinterDriverDirW40);
  EXPECT_NE(native, win40);
  EXPECT_EQ(native.back(), '\\');
  EXPECT_EQ(win40.back(), '\\');
  EXPECT_EQ(Resolved(machine, kLocPrintProcessorDir), Resolved(machine, kLocPrintProcessorDirW40));
  EXPECT_FALSE(Resolved(machine, kLocPrintProcessorDir).empty());
}

TEST(Locations, AppendingTheVersionSubdirectoryToTheDriverDirectory) {
  sim::Machine machine("10");
  platform::System system = machine.system();
  CPathParts parts;
  parts.init(system, kLocPrinterDriverDir);
  const std::string base = parts.directory();
  EXPECT_EQ(std::string(parts.appendSubdirectory("3")), base + "3\\");
  EXPECT_EQ(std::string(parts.appendSubdirectory("")), base + "3\\")
      << "an empty name adds nothing";
}

TEST(Locations, EveryNewTempFileIsCreatedWithTheTildePrefix) {
  sim::Machine machine("10");
  const std::string first = Resolved(machine, kLocNewTempFile);
  const std::string second = Resolved(machine, kLocNewTempFile);
  EXPECT_NE(first, second);
  for (const std::string& path : {first, second}) {
    EXPECT_TRUE(machine.files().exists(path)) << path;
    EXPECT_NE(path.find("\\~~"), std::string::npos) << path;
  }
}

TEST(Locations, SpecialFoldersExistOnlyBeyondWin32s) {
  sim::Machine win32s("win32s");
  EXPECT_EQ(Resolved(win32s, kLocPrograms), "");
  EXPECT_EQ(Resolved(win32s, kLocStartup), "");
  sim::Machine ten("10");
  const std::string programs = Resolved(ten, kLocPrograms);
  EXPECT_EQ(programs, ten.profile().specialFolders.at(2) + "\\");
}

TEST(Locations, ColourDirectoryComesFromMscmsWhenItIsThere) {
  sim::Machine machine("10");
  EXPECT_EQ(Resolved(machine, kLocColorDir), machine.profile().colorDirectory + "\\");
}

TEST(Locations, WithoutMscmsTheSystemColorDirectoryIsMadeAndTheCurrentDirectoryKept) {
  for (sim::Mscms state :
       {sim::Mscms::kMissing, sim::Mscms::kMissingFunction, sim::Mscms::kCallFails}) {
    sim::Machine machine("xp");
    machine.folders().setMscms(state);
    platform::System system = machine.system();
    char before[260];
    system.files.currentDirectory(before, sizeof before);
    const std::string expected = machine.profile().systemDirectory + "\\Color";
    ASSERT_FALSE(machine.files().isDirectory(expected));

    EXPECT_EQ(Resolved(machine, kLocColorDir), expected + "\\");
    EXPECT_TRUE(machine.files().isDirectory(expected));
    char after[260];
    system.files.currentDirectory(after, sizeof after);
    EXPECT_STREQ(before, after);
  }
}

TEST(Locations, CurrentDirectory) {
  sim::Machine machine("10");
  platform::System system = machine.system();
  machine.files().makeDirectories("C:\\Work\\Here");
  ASSERT_EQ(system.files.setCurrentDirectory("C:\\Work\\Here"), 0u);
  EXPECT_EQ(Resolved(machine, kLocCurrentDir), "C:\\Work\\Here\\");
}

TEST(Locations, SearchFindsAFileInTheSearchOrderAndSplitsIt) {
  sim::Machine machine("10");
  platform::System system = machine.system();
  const std::string inSystem = machine.profile().systemDirectory + "\\vardel.ini";
  machine.files().writeFile(inSystem, "[x]\n");
  CPathParts parts;
  std::strcpy(parts.fname, "vardel");
  std::strcpy(parts.ext, ".ini");
  ASSERT_TRUE(parts.search(system));
  EXPECT_STREQ(parts.full, inSystem.c_str());
  EXPECT_EQ(std::string(parts.drive) + parts.dir, machine.profile().systemDirectory + "\\");

  CPathParts missing;
  std::strcpy(missing.dir, "\\keep\\");
  std::strcpy(missing.fname, "nowhere");
  std::strcpy(missing.ext, ".ini");
  EXPECT_FALSE(missing.search(system));
  EXPECT_STREQ(missing.dir, "\\keep\\");
}

TEST(Locations, ExistsOpensTheComposedFile) {
  sim::Machine machine("10");
  platform::System system = machine.system();
  machine.files().writeFile("C:\\Data\\a.txt", "x");
  CPathParts parts;
  std::strcpy(parts.drive, "C:");
  std::strcpy(parts.dir, "\\Data\\");
  std::strcpy(parts.fname, "a");
  std::strcpy(parts.ext, ".txt");
  EXPECT_TRUE(parts.exists(system));
  EXPECT_STREQ(parts.full, "C:\\Data\\a.txt");
  std::strcpy(parts.fname, "b");
  EXPECT_FALSE(parts.exists(system));
  EXPECT_EQ(machine.openHandleCount(), 0u);
}

TEST(MainScript, IsTheProgramDirectoryFollowedByTheScriptName) {
  sim::Machine machine("10");
  machine.setModuleFileName("E:\\Setup\\Disk1\\Stripwell.exe");
  platform::System system = machine.system();
  SetMainScriptPath(system);
  EXPECT_STREQ(MainScriptPath(), "E:\\Setup\\Disk1\\Mainscr0.unm");
}

TEST(MainScript, AForwardSlashAfterTheDriveIsTheSeparator) {
  sim::Machine machine("10");
  machine.setModuleFileName("E:/Setup/Stripwell.exe");
  platform::System system = machine.system();
  SetMainScriptPath(system);
  EXPECT_STREQ(MainScriptPath(), "E:/Setup/Mainscr0.unm");
}

}  // namespace

// Files, package directories and deletion deferred to the next start.
#include "removal/file_removal.h"

#include <gtest/gtest.h>

#include <string>

#include "removal/removal_paths.h"
#include "shell/locations.h"
#include "spooler_fixture.h"

namespace {

std::string Location(SpoolerRemoval& t, std::int32_t code) {
  return LocationDirectory(t.system, code).c_str();
}

TEST(FileRemoval, FileInUseIsDeferredByTheMeansOfItsWindows) {
  {
    SpoolerRemoval t("xp");
    const std::string path = Location(t, kLocSystemDir) + "vdlui.dll";
    t.machine.files().writeFile(path, "MZ", platform::file_attr::kReadOnly);
    t.machine.files().setLoadedModule(path, true);
    t.directories.flat.append(Location(t, kLocSystemDir).c_str());
    RemoveFileEverywhere(t.context, "vdlui.dll");
    EXPECT_TRUE(t.profile.rebootNeeded);
    EXPECT_EQ(t.machine.files().pendingDeletions(), std::vector<std::string>{path});
  }
  {
    SpoolerRemoval t("98");
    const std::string system = Location(t, kLocSystemDir);
    for (const char* name : {"a.dll", "b.dll"}) {
      t.machine.files().writeFile(system + name, "MZ");
      t.machine.files().setLoadedModule(system + name, true);
      EXPECT_TRUE(DeleteFileOrDefer(t.context, (system + name).c_str()));
    }
    EXPECT_EQ(t.machine.files().fileContents(Location(t, kLocWindowsDir) + "WININIT.INI"),
              "[RENAME]\r\nNUL=" + system + "a.dll\r\nNUL=" + system + "b.dll\r\n");
    t.machine.restartWindows();
    EXPECT_FALSE(t.machine.files().exists(system + "a.dll"));
  }
  {
    SpoolerRemoval t("nt351");
    const std::string system = Location(t, kLocSystemDir);
    t.machine.files().writeFile(system + "a.dll", "MZ");
    t.machine.files().setLoadedModule(system + "a.dll", true);
    // Without the PENDINIT program beside Stripwell nothing can delete it.
    EXPECT_FALSE(DeleteFileOrDefer(t.context, (system + "a.dll").c_str()));
    t.machine.files().writeFile(Location(t, kLocProgramDir) + "pendinit.exe", "MZ");
    EXPECT_TRUE(DeleteFileOrDefer(t.context, (system + "a.dll").c_str()));
    char value[16] = {};
    t.machine.ini().getPrivateString("RENAME", (system + "a.dll").c_str(), "", value, sizeof value,
                                     (Location(t, kLocProgramDir) + "pendinit.ini").c_str());
    EXPECT_STREQ(value, "NUL");
  }
}

TEST(FileRemoval, WininitWithoutFinalLineBreakOrRenameSectionGetsAWholeEntry) {
  SpoolerRemoval t("98");
  const std::string wininit = Location(t, kLocWindowsDir) + "WININIT.INI";
  const std::string file = Location(t, kLocSystemDir) + "a.dll";
  t.machine.files().writeFile(wininit, "[Boot]\r\nx=1");
  t.machine.files().writeFile(file, "MZ");
  t.machine.files().setLoadedModule(file, true);

  EXPECT_TRUE(DeleteFileOrDefer(t.context, file.c_str()));

  EXPECT_EQ(t.machine.files().fileContents(wininit),
            "[Boot]\r\nx=1\r\n[RENAME]\r\nNUL=" + file + "\r\n");
}

TEST(FileRemoval, DriverDirectoryIsSearchedTwoLevelsDeep) {
  SpoolerRemoval t;
  const std::string drivers = Location(t, kLocPrinterDriverDir);
  t.machine.files().writeFile(drivers + "3\\sub\\vdl.gpd", "2");
  t.machine.files().writeFile(drivers + "3\\sub\\deeper\\vdl.gpd", "3");
  t.directories.tree.append(drivers.c_str());

  RemoveFileEverywhere(t.context, "VDL.GPD");

  EXPECT_FALSE(t.machine.files().exists(drivers + "3\\sub\\vdl.gpd"));
  EXPECT_TRUE(t.machine.files().exists(drivers + "3\\sub\\deeper\\vdl.gpd"));
  EXPECT_TRUE(t.machine.files().exists(drivers + "3\\sub"));  // not the package's directory
}

TEST(FileRemoval, PackageDirectoriesLoseTheFileAndTheirEmptiedFolders) {
  SpoolerRemoval t;
  sim::SimFileSystem& files = t.machine.files();
  files.writeFile("C:\\Vardel\\Tools\\Bin\\vdl.exe", "MZ");
  files.writeFile("C:\\Other\\Keep\\data.txt", "d");
  files.writeFile("C:\\Other\\vdl.exe", "MZ");
  t.machine.registry().setString("HKLM\\SOFTWARE\\VARDEL\\OEM0H\\OEMPaths", "1", "C:\\Vardel\\");
  // Without a trailing backslash the entry names its parent.
  t.machine.registry().setString("HKLM\\SOFTWARE\\VARDEL\\OEM0H\\OEMPaths", "2", "C:\\Other\\Keep");

  CollectOemDirectories(t.context);
  RemoveFileEverywhere(t.context, "vdl.exe");

  EXPECT_FALSE(files.exists("C:\\Vardel"));
  EXPECT_FALSE(files.exists("C:\\Other\\vdl.exe"));
  EXPECT_TRUE(files.exists("C:\\Other\\Keep\\data.txt"));
}

TEST(FileRemoval, SharedDirectoryNamedAsAPackageDirectoryIsNeverRemoved) {
  for (const char* entry : {"C:\\", "C:\\Windows\\"}) {
    SCOPED_TRACE(entry);
    SpoolerRemoval t;
    sim::SimFileSystem& files = t.machine.files();
    files.makeDirectories("C:\\Windows\\Empty");
    files.makeDirectories("C:\\EmptyAtRoot");
    files.writeFile("C:\\Windows\\vdl.exe", "MZ");
    t.list(ItemCategory::OemPaths, entry);

    RemoveFileEverywhere(t.context, "vdl.exe");

    EXPECT_FALSE(files.exists("C:\\Windows\\vdl.exe"));
    EXPECT_TRUE(files.isDirectory("C:\\Windows\\Empty"));
    EXPECT_TRUE(files.isDirectory("C:\\EmptyAtRoot"));
    ASSERT_FALSE(t.journal.entries.empty());
    EXPECT_EQ(t.journal.entries.back().reason, KeptReason::kGuardedDirectory);
  }
}

TEST(FileRemoval, PathsTooLongForTheirBufferAreNotActedOn) {
  SpoolerRemoval t;
  const std::string deep = "C:\\" + std::string(240, 'd');
  const std::string name = std::string(30, 'n') + ".dll";
  // What the path would name if it were cut to its buffer.
  const std::string cut = (deep + "\\" + name).substr(0, 259);
  t.machine.files().writeFile(cut, "MZ");
  t.directories.flat.append(deep.c_str());

  RemoveFileEverywhere(t.context, name.c_str());

  EXPECT_TRUE(t.machine.files().exists(cut));
  EXPECT_TRUE(t.journalled(ActionKind::kFile, name, Outcome::kKept));
}

TEST(FileRemoval, FilesEntriesCutAtTheEqualsSignAndTheRestartAidLastWhenNothingWaits) {
  SpoolerRemoval t;
  const std::string system = Location(t, kLocSystemDir);
  t.directories.flat.append(system.c_str());
  t.machine.files().writeFile(system + "vdl.dll", "MZ");
  t.machine.files().writeFile(system + "RBOOTAID.EXE", "MZ");
  t.list(ItemCategory::Files, "vdl.dll=1,Version 2");

  RemoveFiles(t.context);
  EXPECT_FALSE(t.machine.files().exists(system + "vdl.dll"));
  EXPECT_FALSE(t.machine.files().exists(system + "RBOOTAID.EXE"));

  SpoolerRemoval busy;
  const std::string busySystem = Location(busy, kLocSystemDir);
  busy.directories.flat.append(busySystem.c_str());
  busy.machine.files().writeFile(busySystem + "vdl.dll", "MZ");
  busy.machine.files().setLoadedModule(busySystem + "vdl.dll", true);
  busy.machine.files().writeFile(busySystem + "RBOOTAID.EXE", "MZ");
  busy.list(ItemCategory::Files, "vdl.dll");
  RemoveFiles(busy.context);
  EXPECT_TRUE(busy.machine.files().exists(busySystem + "RBOOTAID.EXE"));
}

TEST(FileRemoval, CompanionFoundInItsDirectoriesAndStartedWithTheSwitch) {
  SpoolerRemoval t;
  t.machine.files().writeFile("D:\\Pavane\\PAVANE32.EXE", "MZ");
  t.machine.registry().setString("HKLM\\SOFTWARE\\VARDEL\\OEM\\OEMPaths", "1", "C:\\Nowhere");
  t.machine.registry().setString("HKLM\\SOFTWARE\\VARDEL\\OEM\\OEMPaths", "2", "D:\\Pavane");
  char path[260] = {};
  ASSERT_EQ(FindInOemPaths(t.context, path, "PAVANE32.EXE"), 1);
  EXPECT_STREQ(path, "D:\\Pavane\\PAVANE32.EXE");
  platform::Process process(t.system.processes, StartWithSwitch(t.context, path));
  EXPECT_TRUE(process.isOpen());
  EXPECT_EQ(FindInOemPaths(t.context, path, "ABSENT.EXE"), 0);
}

}  // namespace

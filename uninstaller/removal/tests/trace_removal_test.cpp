// Registry items, INI lines, log-on entries, shortcuts and program groups.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "removal/ini_removal.h"
#include "removal/registry_removal.h"
#include "removal/removal_paths.h"
#include "removal/shortcut_removal.h"
#include "shell/locations.h"
#include "spooler_fixture.h"

namespace {

TEST(RegistryRemoval, SubkeysGoBeforeParentsAndValueItemsLeaveTheirKey) {
  SpoolerRemoval t("xp");
  sim::SimRegistry& registry = t.machine.registry();
  registry.setString("HKLM\\SOFTWARE\\VARDEL\\Tools\\Deep", "x", "1");
  registry.setString("HKLM\\SOFTWARE\\VARDEL\\Keep", "Stale", "1");
  registry.setString("HKLM\\SOFTWARE\\VARDEL\\Keep", "Other", "1");
  registry.setString("HKLM\\SOFTWARE\\VARDEL\\OEM0H\\ProgramGroups", "g", "1");
  // The parent first in list order: only the descending walk can delete it.
  t.list(ItemCategory::RegistryKeys, "HKLM,\"SOFTWARE\\VARDEL\",\"\",0");
  t.list(ItemCategory::RegistryKeys, "HKLM,\"SOFTWARE\\VARDEL\\Tools\",\"\",1");
  t.list(ItemCategory::RegistryKeys, "HKLM,\"SOFTWARE\\VARDEL\\Keep\",\"Stale\",0");
  t.list(ItemCategory::RegistryKeys, "HKLM,\"SOFTWARE\\VARDEL\\OEM0H\"");  // no value field

  RemoveRegistryKeys(t.context);

  EXPECT_FALSE(registry.keyExists("HKLM\\SOFTWARE\\VARDEL\\Tools"));
  EXPECT_FALSE(registry.valueExists("HKLM\\SOFTWARE\\VARDEL\\Keep", "Stale"));
  EXPECT_TRUE(registry.valueExists("HKLM\\SOFTWARE\\VARDEL\\Keep", "Other"));
  EXPECT_FALSE(registry.keyExists("HKLM\\SOFTWARE\\VARDEL\\OEM0H\\ProgramGroups"));
  EXPECT_TRUE(registry.keyExists("HKLM\\SOFTWARE\\VARDEL\\OEM0H"));
  // Still holds Keep, so the key alone cannot go.
  EXPECT_TRUE(registry.keyExists("HKLM\\SOFTWARE\\VARDEL"));
  EXPECT_TRUE(t.journalled(ActionKind::kRegistryKey, "HKLM\\SOFTWARE\\VARDEL\\Tools\\Deep",
                           Outcome::kRemoved));
  EXPECT_EQ(t.machine.openHandleCount(), 0u);
}

TEST(RegistryRemoval, OnlyTheFirstUninstallEntryNamingTheProgramIsQueued) {
  SpoolerRemoval t;
  const std::string uninstall = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
  t.machine.registry().setString(uninstall + "A Other", "UninstallString", "C:\\x\\stripwell.exe");
  t.machine.registry().setString(uninstall + "B Vardel", "UninstallString",
                                 "C:\\V\\STRIPWELL.EXE /u\nsecond line");
  t.machine.registry().setString(uninstall + "C Vardel", "UninstallString", "C:\\V\\STRIPWELL.EXE");

  QueueOwnUninstallEntries(t.context, "STRIPWELL.EXE");

  const StringList& keys = t.profile.removeSet.slot(ItemCategory::RegistryKeys);
  ASSERT_EQ(keys.count(), 1u);
  EXPECT_STREQ(keys[0].c_str(),
               "HKLM,\"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\B Vardel\",\"\"");
}

struct IniCase {
  const char* before;
  const char* after;
};

TEST(IniRemoval, OnlyTheKeysOwnLineInItsFirstSectionGoes) {
  const IniCase cases[] = {
      // A longer key with the name inside it, and the name in a value, stay.
      {"[Vardel]\r\nReportMode=1\r\nName=Port\r\nPort=LPT1\r\nAfter=2\r\n",
       "[Vardel]\r\nReportMode=1\r\nName=Port\r\nAfter=2\r\n"},
      // A key that begins with the name is another key; a commented line stays.
      {"[Vardel]\r\nPortName=x\r\n;Port=old\r\n  port = LPT2\r\n",
       "[Vardel]\r\nPortName=x\r\n;Port=old\r\n"},
      // The last line without a line break.
      {"[Vardel]\r\nA=1\r\nPort=LPT1", "[Vardel]\r\nA=1\r\n"},
      // The key of the same name in another section stays.
      {"[Other]\r\nPort=1\r\n[Vardel]\r\nPort=2\r\n[Next]\r\nPort=3\r\n",
       "[Other]\r\nPort=1\r\n[Vardel]\r\n[Next]\r\nPort=3\r\n"},
  };
  for (const IniCase& c : cases) {
    SCOPED_TRACE(c.before);
    SpoolerRemoval t;
    t.machine.files().writeFile("C:\\Windows\\vardel.ini", c.before);
    t.list(ItemCategory::DeleteIni, "D:\\setup\\VARDEL.INI,Vardel,Port");

    RemoveIniEntries(t.context);

    EXPECT_EQ(t.machine.files().fileContents("C:\\Windows\\vardel.ini"), c.after);
  }
}

TEST(IniRemoval, KeyMissingFromItsSectionLeavesTheFileAlone) {
  SpoolerRemoval t;
  const char* text = "[Vardel]\r\nReport=1\r\n[Next]\r\nPort=3\r\n";
  t.machine.files().writeFile("C:\\Windows\\vardel.ini", text);
  EXPECT_EQ(FindIniKey(t.context, "C:\\Windows\\vardel.ini", "Vardel", "Port"), 0);
  EXPECT_EQ(DeleteIniKeyLine(t.context, "C:\\Windows\\vardel.ini", "Vardel", "Port"), 0);
  EXPECT_EQ(t.machine.files().fileContents("C:\\Windows\\vardel.ini"), text);
}

TEST(LoadRunRemoval, RunValueOnNtAndWholeWordOfTheLoadLineOnWin32s) {
  {
    SpoolerRemoval t("xp");
    const char* run = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
    t.machine.registry().setString(run, "Vardel Monitor", "vmon.exe");
    t.list(ItemCategory::DeleteLoadRun, "\"Vardel Monitor\",\"vmon.exe\"");
    RemoveLoadRunEntries(t.context);
    EXPECT_FALSE(t.machine.registry().valueExists(run, "Vardel Monitor"));
  }
  {
    SpoolerRemoval t("win32s");
    t.machine.ini().writeProfileString("windows", "load", "xvmon.exe VMON.EXE clock.exe");
    EXPECT_EQ(RemoveLoadRunEntry(t.context, "Vardel Monitor", "vmon.exe"), 1);
    char line[256] = {};
    t.machine.ini().getProfileString("windows", "load", "", line, sizeof line);
    EXPECT_STREQ(line, "xvmon.exe clock.exe");
    EXPECT_EQ(RemoveLoadRunEntry(t.context, "Vardel Monitor", "vmon.exe"), 0);
  }
}

TEST(LoadRunRemoval, LoadLineTooLongToReadWholeIsNotRewritten) {
  SpoolerRemoval t("win32s");
  const std::string line = "vmon.exe " + std::string(300, 'a');
  t.machine.ini().writeProfileString("windows", "load", line.c_str());

  EXPECT_EQ(RemoveLoadRunEntry(t.context, "Vardel Monitor", "vmon.exe"), 0);
  EXPECT_EQ(AddLoadRunEntry(t.context, nullptr, "pendinit.exe"), 0);

  char back[512] = {};
  t.machine.ini().getProfileString("windows", "load", "", back, sizeof back);
  EXPECT_EQ(std::string(back), line);
  EXPECT_TRUE(t.journalled(ActionKind::kRunEntry, "vmon.exe", Outcome::kKept));
}

TEST(ShortcutRemoval, ShortcutsThenTheirEmptiedGroup) {
  SpoolerRemoval t("xp");
  const std::string common = LocationDirectory(t.system, kLocCommonPrograms).c_str();
  const std::string user = LocationDirectory(t.system, kLocPrograms).c_str();
  const std::string startup = LocationDirectory(t.system, kLocStartup).c_str();
  t.machine.files().writeFile(common + "Vardel\\Setup.lnk", "L");
  t.machine.files().writeFile(user + "Vardel\\Setup.PIF", "P");
  t.machine.files().writeFile(startup + "Monitor.lnk", "L");
  t.machine.files().writeFile(startup + "Unrelated.lnk", "L");
  t.list(ItemCategory::Shortcuts, "\"Vardel\",\"\",\"\"");
  t.list(ItemCategory::Shortcuts, "\"Vardel\",\"C:\\old\\Setup\",\"\"");
  t.list(ItemCategory::Shortcuts, "\"Vardel\",\"Monitor\",\"STARTUP\"");

  RemoveShortcuts(t.context);

  EXPECT_FALSE(t.machine.files().exists(common + "Vardel"));
  EXPECT_FALSE(t.machine.files().exists(user + "Vardel\\Setup.PIF"));
  EXPECT_FALSE(t.machine.files().exists(startup + "Monitor.lnk"));
  EXPECT_TRUE(t.machine.files().exists(startup + "Unrelated.lnk"));
  EXPECT_FALSE(t.profile.rebootNeeded);
}

TEST(ShortcutRemoval, GroupStillHoldingAFileStaysAfterItsWait) {
  SpoolerRemoval t("xp");
  const std::string group =
      std::string(LocationDirectory(t.system, kLocCommonPrograms).c_str()) + "Vardel";
  t.machine.files().writeFile(group + "\\Readme.txt", "R");
  t.list(ItemCategory::Shortcuts, "\"Vardel\",\"\",\"\"");

  RemoveShortcuts(t.context);

  EXPECT_TRUE(t.machine.files().exists(group + "\\Readme.txt"));
  EXPECT_GE(t.machine.clock().totalSlept(), 3000u);
  EXPECT_LT(t.machine.clock().totalSlept(), 3500u);
  EXPECT_TRUE(t.journalled(ActionKind::kProgramGroup, group, Outcome::kKept));
}

TEST(ShortcutRemoval, Win32sAsksProgramManagerToDeleteTheItemOfItsGroup) {
  SpoolerRemoval t("win32s");
  sim::SimDesktop& desktop = t.machine.desktop();
  desktop.setProgmanRunning(true);
  desktop.addProgmanItem("Vardel", "Setup");
  desktop.addProgmanItem("Other", "Setup");
  t.list(ItemCategory::Shortcuts, "\"Vardel\",\"Setup\",\"\"");
  t.list(ItemCategory::Shortcuts, "\"Missing\",\"Setup\",\"\"");

  RemoveShortcuts(t.context);

  EXPECT_TRUE(desktop.progmanItems("Vardel").empty());
  EXPECT_EQ(desktop.progmanItems("Other").size(), 1u);
  // No deletion follows a group that Program Manager does not know.
  EXPECT_EQ(desktop.ddeCommands(),
            (std::vector<std::string>{"[ShowGroup(Vardel,1)]", "[DeleteItem(Setup)]",
                                      "[ShowGroup(Missing,1)]"}));
  EXPECT_EQ(desktop.openDdeCount(), 0u);
}

}  // namespace

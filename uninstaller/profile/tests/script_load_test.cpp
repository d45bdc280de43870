// Loading scripts through the file system, finding them, and interpreting
// them into the profile, on the simulated machine.
#include <gtest/gtest.h>

#include <string>

#include "profile/script_file.h"
#include "profile/script_finder.h"
#include "profile/uninstall_profile.h"
#include "profile_builders.h"
#include "shell/model_variant.h"
#include "test_machine.h"

namespace {

using test::Items;
using V = std::vector<std::string>;

constexpr const char kDir[] = "C:\\Windows\\System32\\spool\\drivers\\x64\\3\\";
constexpr const char kScript[] = "C:\\Windows\\System32\\spool\\drivers\\x64\\3\\Mainscr0.unm";
constexpr const char kOther[] = "C:\\Program Files\\Vardel\\Mainscr0.unm";

// Sets the process-wide model variant for one test.
class VariantScope {
 public:
  explicit VariantScope(std::int32_t variant) : saved_(ModelVariant) { ModelVariant = variant; }
  ~VariantScope() { ModelVariant = saved_; }
  VariantScope(const VariantScope&) = delete;
  VariantScope& operator=(const VariantScope&) = delete;

 private:
  std::int32_t saved_;
};

// ---- ScriptFile::Load ------------------------------------------------------

class ScriptLoad : public ::testing::Test {
 protected:
  test::TestMachine machine_;
};

TEST_F(ScriptLoad, ReadsTheWholeFileAndClosesIt) {
  machine_.writeFile(kScript, "[A]\r\nx = 1\r\n[B]\r\ny=2");
  ScriptFile script;
  ASSERT_TRUE(script.Load(machine_.system().files, kScript));
  EXPECT_STREQ(script.path().c_str(), kScript);
  EXPECT_EQ(script.GetInt("a", "X", 0), 1);
  EXPECT_EQ(script.GetInt("B", "y", 0), 2);
  EXPECT_EQ(machine_.openHandleCount(), 0u);
  // A second load into the same object is refused.
  EXPECT_FALSE(script.Load(machine_.system().files, kScript));
}

TEST_F(ScriptLoad, MissingEmptyAndLockedFilesFail) {
  ScriptFile missing;
  EXPECT_FALSE(missing.Load(machine_.system().files, kScript));
  EXPECT_TRUE(missing.sections().empty());

  machine_.writeFile(kScript, "");
  ScriptFile empty;
  EXPECT_FALSE(empty.Load(machine_.system().files, kScript));

  machine_.writeFile(kScript, "[A]\r\nx=1\r\n");
  machine_.holdOpenWithoutSharing(kScript);
  ScriptFile locked;
  EXPECT_FALSE(locked.Load(machine_.system().files, kScript));
  EXPECT_TRUE(locked.sections().empty());
  EXPECT_EQ(machine_.openHandleCount(), 0u);
}

// ---- FindScripts -----------------------------------------------------------

TEST_F(ScriptLoad, FindScriptsListsMatchingFilesByFullPath) {
  machine_.writeFile(std::string(kDir) + "Mainscr0.unm", "x");
  machine_.writeFile(std::string(kDir) + "Other.unm", "x");
  machine_.writeFile(std::string(kDir) + "notes.txt", "x");
  machine_.makeDirectory(std::string(kDir) + "Folder.unm");
  char before[260] = {};
  machine_.system().files.currentDirectory(before, sizeof before);

  StringList found;
  // The directory is that of the path given: the last part is a file name.
  FindScripts(machine_.system().files, found, (std::string(kDir) + "anything.exe").c_str(),
              "*.unm");
  EXPECT_EQ(Items(found), (V{std::string(kDir) + "Mainscr0.unm", std::string(kDir) + "Other.unm"}));

  FindScripts(machine_.system().files, found, kDir, "mainscr0.UNM");
  EXPECT_EQ(found.count(), 3u);
  EXPECT_STREQ(found[2].c_str(), kScript);

  char after[260] = {};
  machine_.system().files.currentDirectory(after, sizeof after);
  EXPECT_STREQ(before, after);
}

TEST_F(ScriptLoad, FindScriptsFindsNothingWhereThereIsNothing) {
  StringList found;
  FindScripts(machine_.system().files, found, "C:\\NoSuchDir\\", "Mainscr0.unm");
  FindScripts(machine_.system().files, found, "", "Mainscr0.unm");
  FindScripts(machine_.system().files, found, "C:\\Windows\\", "Mainscr0.unm");
  EXPECT_TRUE(found.isEmpty());
}

// ---- LoadScript ------------------------------------------------------------

class LoadScript : public ::testing::Test {
 protected:
  explicit LoadScript(const char* os = "10") : machine_(os), profile_(machine_.system()) {}

  int load(const char* path, const std::string& text) {
    machine_.writeFile(path, text);
    return profile_.LoadScript(path);
  }
  const ItemSet& entry(const char* name) const {
    for (const ItemSet& e : profile_.entries) {
      if (e.name.equals(name)) return e;
    }
    static const ItemSet none;
    ADD_FAILURE() << "no entry " << name;
    return none;
  }

  test::TestMachine machine_;
  UninstallProfile profile_;
};

TEST_F(LoadScript, StarterLinesBecomeEntriesFilledFromTheirSections) {
  EXPECT_EQ(load(kScript,
                 "[UnPrinterMfgs]\r\n"
                 "Vardel,VMaker,1\r\n"
                 "[UnPrinterDrivers]\r\n"
                 "\"Vardel TR820\",TR820,1\r\n"
                 "Vardel TR900, TR900,1\r\n"
                 "[VMaker.Files]\r\nmaker.dll\r\n"
                 "[TR820.Files]\r\nb.dll\r\nA.DLL\r\na.dll\r\nmodel.ini=copied\r\n"
                 "[TR820.RegistryKeys]\r\nHKLM,\"SOFTWARE\\VARDEL\\TR820\",\"\",1\r\n"
                 "[TR820.Shortcuts]\r\nVardel,Readme,PROGRAMS\r\n"
                 "[TR820.Drivers]\r\nnot read\r\n"
                 "[TR900.Files]\r\nwrong.dll\r\n"
                 "[ TR900.Files]\r\ntr900.dll\r\n"),
            1);
  ASSERT_EQ(profile_.entries.size(), 3u);
  // Sorted by name.
  EXPECT_STREQ(profile_.entries[0].name.c_str(), "Vardel");
  EXPECT_STREQ(profile_.entries[1].name.c_str(), "Vardel TR820");

  const ItemSet& maker = entry("Vardel");
  EXPECT_TRUE(maker.isManufacturer);
  EXPECT_EQ(Items(maker.slot(ItemCategory::Files)), V{"maker.dll"});
  EXPECT_TRUE(maker.slot(ItemCategory::Drivers).isEmpty());
  EXPECT_STREQ(maker.scriptPath.c_str(), kScript);

  const ItemSet& tr820 = entry("Vardel TR820");
  EXPECT_TRUE(tr820.isDriver());
  EXPECT_STREQ(tr820.sectionBase.c_str(), "TR820");
  EXPECT_EQ(Items(tr820.slot(ItemCategory::Files)), (V{"A.DLL", "b.dll", "model.ini=copied"}));
  EXPECT_EQ(Items(tr820.slot(ItemCategory::Drivers)), V{"Vardel TR820"});
  EXPECT_EQ(Items(tr820.slot(ItemCategory::RegistryKeys)),
            V{"HKLM,\"SOFTWARE\\VARDEL\\TR820\",\"\",1"});
  EXPECT_EQ(Items(tr820.slot(ItemCategory::Shortcuts)), V{"Vardel,Readme,PROGRAMS"});

  // A base written with a space after the comma keeps it.
  const ItemSet& tr900 = entry("Vardel TR900");
  EXPECT_STREQ(tr900.sectionBase.c_str(), " TR900");
  EXPECT_EQ(Items(tr900.slot(ItemCategory::Files)), V{"tr900.dll"});
}

TEST_F(LoadScript, AnEqualsSignStaysInMakerLinesAndEndsDriverLines) {
  load(kScript,
       "[UnPrinterMfgs]\r\nMaker=X,MB,1\r\n"
       "[UnPrinterDrivers]\r\nDrv,DB,1=ignored\r\n"
       "[Unz_CatchAll]\r\nCatch,CB,1=x\r\n"
       "[Unx_Ignore]\r\nIgn,IB\r\n"
       "[CB.Files]\r\ncatch.dll\r\n"
       "[.Files]\r\nnone.dll\r\n"
       "[Solo]\r\n");
  ASSERT_EQ(profile_.entries.size(), 4u);
  EXPECT_STREQ(entry("Catch").sectionBase.c_str(), "CB");
  EXPECT_TRUE(entry("Catch").isCatchAll);
  EXPECT_EQ(Items(entry("Catch").slot(ItemCategory::Drivers)), V{"Catch"});
  EXPECT_EQ(Items(entry("Catch").slot(ItemCategory::Files)), V{"catch.dll"});
  EXPECT_STREQ(entry("Drv").sectionBase.c_str(), "DB");
  EXPECT_TRUE(entry("Ign").isIgnore);
  EXPECT_STREQ(entry("Maker=X").sectionBase.c_str(), "MB");
}

TEST_F(LoadScript, ALineWithoutCommasHasAnEmptyBase) {
  load(kScript, "[UnPrinterDrivers]\r\nSolo\r\n[.Files]\r\nsolo.dll\r\n");
  ASSERT_EQ(profile_.entries.size(), 1u);
  EXPECT_TRUE(profile_.entries[0].sectionBase.isEmpty());
  EXPECT_EQ(Items(profile_.entries[0].slot(ItemCategory::Files)), V{"solo.dll"});
}

TEST_F(LoadScript, TheModelSwitchChoosesTheDriverSection) {
  const std::string both =
      "[UnPrinterDrivers]\r\nPlain,P,1\r\n"
      "[UNTR820Driver]\r\nA4 Model,A4,1\r\n"
      "[UNTR820-SDriver]\r\nA3 Model,A3,1\r\n";
  {
    VariantScope a4(kModelVariantA4);
    load(kScript, both);
    ASSERT_EQ(profile_.entries.size(), 1u);
    EXPECT_STREQ(profile_.entries[0].name.c_str(), "A4 Model");
    // A script with only the plain section has no driver starter section.
    const char* reason = nullptr;
    machine_.writeFile(kOther, "[UnPrinterDrivers]\r\nPlain,P,1\r\n");
    EXPECT_EQ(profile_.LoadScript(kOther, &reason), 0);
    EXPECT_STREQ(reason, "no starter sections");
  }
  {
    VariantScope a3(kModelVariantA3);
    load(kOther, both);
    EXPECT_EQ(profile_.entries.size(), 2u);
    EXPECT_STREQ(profile_.entries[0].name.c_str(), "A3 Model");
  }
  VariantScope none(0);
  load(kOther, both);
  EXPECT_STREQ(profile_.entries.back().name.c_str(), "Plain");
}

TEST_F(LoadScript, TheFirstEntryOfANameSurvives) {
  load(kScript,
       "[UnPrinterMfgs]\r\nVardel,M,1\r\n[UnPrinterDrivers]\r\nvardel,D,1\r\nTR820,T1,1\r\n"
       "[T1.Files]\r\nfirst.dll\r\n");
  load(kOther, "[UnPrinterDrivers]\r\nTR820,T2,1\r\n[T2.Files]\r\nsecond.dll\r\n");
  ASSERT_EQ(profile_.entries.size(), 2u);
  EXPECT_TRUE(entry("VARDEL").isManufacturer);
  EXPECT_EQ(Items(entry("TR820").slot(ItemCategory::Files)), V{"first.dll"});
}

TEST_F(LoadScript, AStarterSectionHoldsWhatFitsIn260Bytes) {
  std::string text = "[UnPrinterDrivers]\r\n";
  // Ten names of 30 characters: eight need 248 bytes with their
  // terminators, a ninth would need 279.
  for (char c = 'a'; c < 'a' + 10; ++c) text += std::string(26, c) + ",B,1\r\n";
  load(kScript, text);
  EXPECT_EQ(profile_.entries.size(), 8u);

  // A line that alone needs 260 bytes is left out; what follows is too.
  UninstallProfile second(machine_.system());
  machine_.writeFile(kOther,
                     "[UnPrinterMfgs]\r\n" + std::string(255, 'm') + ",B,1\r\nshort,B,1\r\n");
  EXPECT_EQ(second.LoadScript(kOther), 1);
  EXPECT_TRUE(second.entries.empty());
}

TEST_F(LoadScript, ACategorySectionHoldsWhatFitsIn4096Bytes) {
  std::string text = "[UnPrinterDrivers]\r\nD,B,1\r\n[B.Files]\r\n";
  // 31 bytes a line: 132 lines need 4092, the 133rd would make 4123.
  for (int i = 0; i < 200; ++i) {
    char line[40];
    std::snprintf(line, sizeof line, "file%026d\r\n", i);
    text += line;
  }
  load(kScript, text);
  ASSERT_EQ(profile_.entries.size(), 1u);
  EXPECT_EQ(profile_.entries[0].slot(ItemCategory::Files).count(), 132u);
}

TEST_F(LoadScript, AScriptWithoutStarterSectionsChangesNothing) {
  const char* reason = nullptr;
  machine_.writeFile(kScript,
                     "[CommandlineParam]\r\nNOPICK=1\r\nRemoveOEMInf=1\r\n"
                     "[UnFaxDriver]\r\nUninstallFax=1\r\nProductGUID_VISTA={F}\r\n");
  EXPECT_EQ(profile_.LoadScript(kScript, &reason), 0);
  EXPECT_STREQ(reason, "no starter sections");
  EXPECT_TRUE(profile_.allowPrinterChoice);
  EXPECT_FALSE(profile_.removeOemInf);
  EXPECT_FALSE(profile_.uninstallFax);

  EXPECT_EQ(profile_.LoadScript("C:\\missing\\Mainscr0.unm", &reason), 0);
  EXPECT_STREQ(reason, "failed to open file");
  EXPECT_TRUE(profile_.entries.empty());
}

TEST_F(LoadScript, SettingsAreReadAndLatchAcrossScripts) {
  const char* reason = "unset";
  machine_.writeFile(kScript,
                     "[UnPrinterDrivers]\r\nD,B,1\r\n"
                     "[CommandlineParam]\r\nNOPICK=1\r\nRemoveOEMInf=1\r\n"
                     "OEMInfMatchLineNumber=3\r\nOEMInfMatchLineString=  \"; Vardel TR820\"  \r\n"
                     "[UnFaxDriver]\r\nUninstallFax=1\r\nProductGUID_VISTA=\"{FAX-7}\"\r\n"
                     "ProductGUID_XP={FAX-XP}\r\n"
                     "[UnScannerDriver]\r\nUninstallScanner=2\r\nProductGUID_VISTA={SCAN}\r\n");
  EXPECT_EQ(profile_.LoadScript(kScript, &reason), 1);
  EXPECT_EQ(reason, nullptr);
  EXPECT_FALSE(profile_.allowPrinterChoice);
  EXPECT_TRUE(profile_.removeOemInf);
  EXPECT_EQ(profile_.oemInfLine, 3);
  // The text values follow the Windows profile rules: trimmed, one pair of
  // quotes removed, and ';' is no comment there.
  EXPECT_STREQ(profile_.oemInfString.c_str(), "; Vardel TR820");
  EXPECT_TRUE(profile_.uninstallFax);
  EXPECT_STREQ(profile_.faxProductGuid.c_str(), "{FAX-7}");
  EXPECT_TRUE(profile_.uninstallScanner);
  EXPECT_STREQ(profile_.scannerProductGuid.c_str(), "{SCAN}");

  // A later script: NOPICK=0 does not give the choice back, RemoveOEMInf=0
  // does not clear the match; the fax flag stays and its GUID is read
  // again; the scanner section without a GUID clears the scanner request.
  load(kOther,
       "[UnPrinterDrivers]\r\nE,B,1\r\n"
       "[CommandlineParam]\r\nNOPICK=0\r\nRemoveOEMInf=0\r\nOEMInfMatchLineNumber=9\r\n"
       "[UnFaxDriver]\r\nUninstallFax=0\r\nProductGUID_VISTA={FAX-NEW}\r\n"
       "[UnScannerDriver]\r\nUninstallScanner=1\r\n");
  EXPECT_FALSE(profile_.allowPrinterChoice);
  EXPECT_TRUE(profile_.removeOemInf);
  EXPECT_EQ(profile_.oemInfLine, 3);
  EXPECT_TRUE(profile_.uninstallFax);
  EXPECT_STREQ(profile_.faxProductGuid.c_str(), "{FAX-NEW}");
  EXPECT_FALSE(profile_.uninstallScanner);
}

TEST_F(LoadScript, AnEmptySettingsSectionIsNotConsulted) {
  load(kScript,
       "[UnPrinterDrivers]\r\nD,B,1\r\n[UnFaxDriver]\r\nUninstallFax=1\r\nProductGUID_VISTA={F}"
       "\r\n");
  load(kOther, "[UnPrinterDrivers]\r\nE,B,1\r\n[UnFaxDriver]\r\n");
  EXPECT_TRUE(profile_.uninstallFax);
  EXPECT_STREQ(profile_.faxProductGuid.c_str(), "{F}");
}

TEST_F(LoadScript, AnAbsentGuidClearsTheRequest) {
  load(kScript,
       "[UnPrinterDrivers]\r\nD,B,1\r\n[UnFaxDriver]\r\nUninstallFax=1\r\nProductGUID_XP={XP}\r\n"
       "ProductGUID_VISTA=\r\n");
  EXPECT_FALSE(profile_.uninstallFax);
}

class LoadScriptOnXp : public LoadScript {
 protected:
  LoadScriptOnXp() : LoadScript("xp") {}
};

TEST_F(LoadScriptOnXp, TheGuidComesFromTheXpKey) {
  load(kScript,
       "[UnPrinterDrivers]\r\nD,B,1\r\n[UnScannerDriver]\r\nUninstallScanner=1\r\n"
       "ProductGUID_XP={XP}\r\nProductGUID_VISTA={VISTA}\r\n");
  EXPECT_TRUE(profile_.uninstallScanner);
  EXPECT_STREQ(profile_.scannerProductGuid.c_str(), "{XP}");
}

}  // namespace

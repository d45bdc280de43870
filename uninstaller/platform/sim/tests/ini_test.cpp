// The profile functions over simulated files: the Windows reading rules,
// truncation results, writing and win.ini's registry mapping on NT.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "machine.h"

namespace {

constexpr const char* kIni = "C:\\Stripwell\\test.ini";

std::vector<std::string> MultiString(const char* buffer, std::uint32_t length) {
  std::vector<std::string> items;
  std::string current;
  for (std::uint32_t i = 0; i < length; ++i) {
    if (buffer[i] == '\0') {
      items.push_back(current);
      current.clear();
    } else {
      current += buffer[i];
    }
  }
  return items;
}

class IniTest : public ::testing::Test {
 protected:
  void SetUp() override {
    machine.files().writeFile(kIni,
                              "; leading comment\r\n"
                              "[Strings]\r\n"
                              "  Name  =   \"Quoted Value\"  \r\n"
                              "Single='x'\r\n"
                              "Half=\"open\r\n"
                              ";Hidden=1\r\n"
                              "name=second\r\n"
                              "NoEquals\r\n"
                              "Empty=\r\n"
                              "[ Other ]\n"
                              "Key=1\n"
                              "[strings]\r\n"
                              "Late=ignored\r\n");
  }

  std::string Get(const char* section, const char* key, const char* def = "",
                  std::uint32_t size = 260, std::uint32_t* result = nullptr) {
    char buffer[260];
    std::memset(buffer, 'z', sizeof buffer);
    const std::uint32_t n = machine.ini().getPrivateString(section, key, def, buffer, size, kIni);
    if (result != nullptr) *result = n;
    return std::string(buffer, n);
  }

  sim::Machine machine{"10"};
};

TEST_F(IniTest, ValuesAreTrimmedUnquotedAndFoundFirstMatchAnyCase) {
  EXPECT_EQ(Get("STRINGS", "name"), "Quoted Value");
  EXPECT_EQ(Get("Strings", "single"), "x");
  EXPECT_EQ(Get("Strings", "Half"), "\"open");
  EXPECT_EQ(Get("Strings", "Empty", "default"), "");
  EXPECT_EQ(Get("  other ", "KEY"), "1");
  EXPECT_EQ(Get("Strings", "Late", "none"), "none");  // only the first [strings] counts
  EXPECT_EQ(Get("Strings", "Hidden", "none"), "none");
  EXPECT_EQ(Get("Strings", "Missing", "dflt   "), "dflt");
  EXPECT_EQ(Get("Strings", "Missing", "'q'"), "q");
  EXPECT_EQ(Get("Strings", "Missing", nullptr), "");
}

TEST_F(IniTest, ValuesAreCutToSizeMinusOne) {
  std::uint32_t n = 0;
  EXPECT_EQ(Get("Strings", "Single", "", 260, &n), "x");
  EXPECT_EQ(Get("Other", "Key", "", 1, &n), "");
  EXPECT_EQ(n, 0u);
  EXPECT_EQ(Get("Strings", "Name", "", 6, &n), "Quote");
  EXPECT_EQ(n, 5u);
  // The closing quote of a value cut just before it costs one more character.
  EXPECT_EQ(Get("Strings", "Name", "", 13, &n), "Quoted Valu");
  EXPECT_EQ(Get("Strings", "Name", "", 14, &n), "Quoted Value");
}

TEST_F(IniTest, NullSectionListsSectionsAndNullKeyListsKeys) {
  char buffer[260];
  std::uint32_t n =
      machine.ini().getPrivateString(nullptr, nullptr, "", buffer, sizeof buffer, kIni);
  EXPECT_EQ(MultiString(buffer, n), (std::vector<std::string>{"Strings", "Other", "strings"}));
  EXPECT_EQ(buffer[n], '\0');

  n = machine.ini().getPrivateString("Strings", nullptr, "", buffer, sizeof buffer, kIni);
  EXPECT_EQ(MultiString(buffer, n),
            (std::vector<std::string>{"Name", "Single", "Half", "name", "Empty"}));

  // Too small: cut to size - 2, ended by two NULs.
  n = machine.ini().getPrivateString("Strings", nullptr, "", buffer, 9, kIni);
  EXPECT_EQ(n, 7u);
  EXPECT_EQ(std::memcmp(buffer, "Name\0Si\0\0", 9), 0);
  // Exactly the list and its NUL, without the final one: still cut.
  n = machine.ini().getPrivateString("Other", nullptr, "", buffer, 5, kIni);
  EXPECT_EQ(n, 3u);
  n = machine.ini().getPrivateString("Other", nullptr, "", buffer, 6, kIni);
  EXPECT_EQ(n, 4u);

  n = machine.ini().getPrivateString("Nothing", nullptr, "dflt", buffer, sizeof buffer, kIni);
  EXPECT_EQ(std::string(buffer, n), "dflt");
}

TEST_F(IniTest, WritingChangesOnlyTheLinesConcerned) {
  sim::SimIniFiles& ini = machine.ini();
  ASSERT_TRUE(ini.writePrivateString("strings", "NAME", "  new", kIni));
  ASSERT_TRUE(ini.writePrivateString("Other", "Added", "2", kIni));
  ASSERT_TRUE(ini.writePrivateString("Fresh", "K", "v", kIni));
  ASSERT_TRUE(ini.writePrivateString("Strings", "Single", nullptr, kIni));
  ASSERT_TRUE(ini.writePrivateString("strings", nullptr, nullptr, kIni));  // the first [Strings]
  ASSERT_TRUE(ini.writePrivateString("Strings", "Absent", nullptr, kIni));
  EXPECT_EQ(machine.files().fileContents(kIni),
            "; leading comment\r\n"
            "[ Other ]\r\n"
            "Key=1\r\n"
            "Added=2\r\n"
            "[strings]\r\n"
            "Late=ignored\r\n"
            "[Fresh]\r\n"
            "K=v\r\n");
  EXPECT_FALSE(ini.writePrivateString(nullptr, nullptr, nullptr, kIni));  // the cache flush
}

TEST_F(IniTest, BareFileNamesLiveInTheWindowsDirectoryAndAreCreatedOnWrite) {
  sim::SimIniFiles& ini = machine.ini();
  ASSERT_TRUE(ini.writePrivateString("RENAME", "C:\\x.dll", "NUL", "pendinit.ini"));
  EXPECT_EQ(machine.files().fileContents("C:\\Windows\\pendinit.ini"),
            "[RENAME]\r\nC:\\x.dll=NUL\r\n");
  char buffer[16];
  EXPECT_EQ(ini.getPrivateString("rename", "c:\\X.DLL", "", buffer, sizeof buffer, "PENDINIT.INI"),
            3u);
  EXPECT_STREQ(buffer, "NUL");
}

TEST_F(IniTest, LockedOrReadOnlyFilesFailToWriteAndReadAsMissing) {
  machine.files().setAttributesOf(kIni, platform::file_attr::kReadOnly);
  EXPECT_FALSE(machine.ini().writePrivateString("Strings", "Name", "x", kIni));
  machine.files().setAttributesOf(kIni, platform::file_attr::kArchive);
  const auto hold = machine.files().holdOpen(kIni, platform::file_access::kGenericWrite, 0);
  EXPECT_EQ(Get("Strings", "Single", "locked"), "locked");
  EXPECT_FALSE(machine.ini().writePrivateString("Strings", "Name", "x", kIni));
  machine.files().release(hold);
  EXPECT_EQ(machine.openHandleCount(), 0u);
}

TEST(WinIni, WindowsSectionLivesInTheRegistryOnNt) {
  sim::Machine machine("xp");
  ASSERT_TRUE(
      machine.ini().writeProfileString("windows", "device", "Vardel TR820,winspool,USB001"));
  EXPECT_EQ(machine.registry().getString(
                "HKCU\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows", "Device"),
            "Vardel TR820,winspool,USB001");
  const std::string winIni = *machine.files().fileContents("C:\\WINDOWS\\win.ini");
  EXPECT_EQ(winIni.find("device"), std::string::npos);

  char buffer[256];
  const std::uint32_t n =
      machine.ini().getProfileString("Windows", "DEVICE", "", buffer, sizeof buffer);
  EXPECT_EQ(std::string(buffer, n), "Vardel TR820,winspool,USB001");
  // Other sections of win.ini stay in the file.
  ASSERT_TRUE(machine.ini().writeProfileString("Vardel", "Key", "1"));
  EXPECT_NE(machine.files().fileContents("C:\\WINDOWS\\win.ini")->find("[Vardel]"),
            std::string::npos);
}

TEST(WinIni, IsAPlainFileOnWindows9x) {
  sim::Machine machine("98");
  ASSERT_TRUE(machine.ini().writeProfileString("windows", "device", "P,VDRV,LPT1:"));
  EXPECT_NE(machine.files().fileContents("C:\\WINDOWS\\win.ini")->find("device=P,VDRV,LPT1:"),
            std::string::npos);
  char buffer[256];
  EXPECT_EQ(machine.ini().getProfileString("windows", "load", "x", buffer, sizeof buffer), 0u);
}

}  // namespace

// The About box and the file version text.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "app/about_dlg.h"
#include "fake_dialog_views.h"
#include "machine.h"
#include "program_strings.h"
#include "shell/dialog_messages.h"

namespace {

class AboutBox : public ::testing::Test {
 protected:
  explicit AboutBox(const char* profile = "10") : machine(profile) {
    InstallProgramStrings(machine.desktop());
  }

  // One opening of the box; its rows as label and value.
  std::vector<std::vector<std::string>> open() {
    FakeAboutView fresh;
    view = fresh;
    CAboutDlg about(system, view);
    about.window = platform::WindowHandle{0x30040};
    EXPECT_EQ(about.HandleMessage(about.window, dlgmsg::kInitDialog, 0, 0), 1);
    std::vector<std::vector<std::string>> rows;
    for (const FakeRow& row : view.rows) rows.push_back(row.cells);
    return rows;
  }

  sim::Machine machine;
  platform::System system = machine.system();
  FakeAboutView view;
};

TEST_F(AboutBox, ShowsVersionBuildPlatformAndMemory) {
  machine.host().setFileVersion("C:\\Stripwell\\Stripwell.exe", {0x00020001, 0x00000003});
  platform::MemoryStatus memory;
  memory.availPhys = 3ull << 30;
  memory.availVirtual = 5ull << 20;
  memory.totalPageFile = 6ull << 40;  // above 2 TB in kb: no sign to lose
  machine.host().setMemoryStatus(memory);

  const auto rows = open();
  EXPECT_EQ(view.texts[0], "AboutBox");
  EXPECT_EQ(view.texts[1115], "  ");
  EXPECT_EQ(view.columns, (std::vector<std::string>{".", ".."}));
  EXPECT_EQ(view.widths, (std::vector<int>{200, 200}));
  ASSERT_EQ(rows.size(), 6u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"Version", "2.01.00.03"}));
  EXPECT_EQ(rows[1][0], "Build Stamp");
  EXPECT_TRUE(std::regex_match(rows[1][1], std::regex("[A-Z][a-z]{2} [ 123][0-9] [0-9]{4} "
                                                      "[0-9]{2}:[0-9]{2}:[0-9]{2}")))
      << rows[1][1];
  EXPECT_EQ(rows[2], (std::vector<std::string>{"OS Platform", "WinNT"}));
  EXPECT_EQ(rows[3], (std::vector<std::string>{"Free Physical RAM", "3145728 kb"}));
  EXPECT_EQ(rows[4], (std::vector<std::string>{"Free Virtual RAM", "5120 kb"}));
  EXPECT_EQ(rows[5], (std::vector<std::string>{"Swap File Size", "6442450944 kb"}));
  EXPECT_TRUE(view.centred);
  EXPECT_EQ(view.autosized, 2);

  // Every opening reads the figures afresh.
  memory.availPhys = 1ull << 30;
  machine.host().setMemoryStatus(memory);
  EXPECT_EQ(open()[3][1], "1048576 kb");
  std::size_t calls = 0;
  for (const sim::CallRecord& call : machine.faults().log()) {
    calls += call.call == "GlobalMemoryStatus" ? 1 : 0;
  }
  EXPECT_EQ(calls, 2u) << "one GlobalMemoryStatus for the three figures";
}

TEST_F(AboutBox, AProgramWithoutVersionInformationShowsAnEmptyVersion) {
  EXPECT_EQ(open()[0], (std::vector<std::string>{"Version", ""}));
}

TEST_F(AboutBox, OkEndsIt) {
  open();
  CAboutDlg about(system, view);
  about.HandleMessage(about.window, dlgmsg::kCommand, dlgmsg::kIdOk, 0);
  EXPECT_EQ(view.result, 1);
}

class AboutBoxOn98 : public AboutBox {
 protected:
  AboutBoxOn98() : AboutBox("98") {}
};

TEST_F(AboutBoxOn98, NamesTheWindows9xPlatform) { EXPECT_EQ(open()[2][1], "Win9x"); }

TEST(FileVersionText, GivesTwoDigitsToAllButTheFirstNumber) {
  sim::Machine machine;
  platform::System system = machine.system();
  machine.host().setFileVersion("C:\\A.exe", {0x00020001, 0x00000000});
  machine.host().setFileVersion("C:\\B.exe", {0x000C0010, 0x00630007});
  char text[64] = "unchanged";
  EXPECT_TRUE(GetFileVersionText(system, "c:\\a.exe", text, sizeof text));
  EXPECT_STREQ(text, "2.01.00.00");
  EXPECT_TRUE(GetFileVersionText(system, "C:\\B.exe", text, sizeof text));
  EXPECT_STREQ(text, "12.16.99.07");
  std::snprintf(text, sizeof text, "unchanged");
  EXPECT_FALSE(GetFileVersionText(system, "C:\\C.exe", text, sizeof text));
  EXPECT_STREQ(text, "unchanged");
  machine.faults().fail("GetFileVersionInfoSizeA", 2, "C:\\A.exe");
  EXPECT_FALSE(GetFileVersionText(system, "C:\\A.exe", text, sizeof text));
}

}  // namespace

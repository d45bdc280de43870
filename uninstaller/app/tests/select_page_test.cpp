// The printer selection page, message by message, on a simulated machine.
#include "app/select_page.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/notify.h"
#include "fake_dialog_views.h"
#include "fake_select_view.h"
#include "machine.h"
#include "profile/uninstall_profile.h"
#include "program_strings.h"
#include "shell/dialog_messages.h"
#include "shell/fill_counter.h"
#include "shell/model_variant.h"

namespace {

constexpr const char* kPrinters = "HKLM\\System\\CurrentControlSet\\Control\\Print\\Printers\\";

class SelectPage : public ::testing::Test {
 protected:
  SelectPage() {
    InstallProgramStrings(machine.desktop());
    SelectionFillCounter() = 0;
    profile.printers.reserve(16);  // add() hands out references
    page.setProfile(&profile);
    page.window = pageWindow;
    page.HandleMessage(pageWindow, dlgmsg::kInitDialog, 0, 0);
  }
  ~SelectPage() override { ModelVariant = variantBefore; }

  // A package printer; `model` 0 leaves its driver data without "ModelName".
  PrinterEntry& add(const char* name, std::uint32_t model = 8203) {
    PrinterEntry printer;
    printer.name.assign(name);
    printer.driver.assign("Vardel LX-300");
    printer.makerDriver = 1;
    printer.keep = 1;
    printer.listed = 1;
    const std::string key = std::string(kPrinters) + name + "\\PrinterDriverData";
    machine.registry().createKeyPath(key);
    if (model != 0) machine.registry().setDword(key, "ModelName", model);
    profile.printers.push_back(printer);
    return profile.printers.back();
  }
  void command(int id) {
    page.HandleMessage(pageWindow, dlgmsg::kCommand, static_cast<platform::WParam>(id), 0);
  }
  void notify(std::uint32_t code) {
    NotifyHeader header{0, 1020, code};
    page.HandleMessage(pageWindow, notify::kNotifyMessage, 0,
                       reinterpret_cast<platform::LParam>(&header));
  }
  std::vector<std::string> names() const { return view.column(0); }

  std::int32_t variantBefore = ModelVariant;
  sim::Machine machine{"10"};
  platform::System system = machine.system();
  UninstallProfile profile{system};
  FakeSelectView view;
  FakeExtraInfoView extraInfoView;
  platform::WindowHandle pageWindow{0x20000};
  CSelectPage page{system, view, extraInfoView};
};

TEST_F(SelectPage, StartsWithItsColumnsTextsAndALoadingItem) {
  EXPECT_EQ(view.columns, (std::vector<std::string>{"Name", "Driver", "Location", "Default",
                                                    "Rapidline", "Pavaned Printer Name"}));
  EXPECT_EQ(view.widths, std::vector<int>(6, 100));
  EXPECT_EQ(names(), std::vector<std::string>{"(loading)"});
  EXPECT_EQ(view.imageLoads, 1);
  EXPECT_TRUE(view.selectionAlwaysShown);
  EXPECT_EQ(view.texts[1084], "&Select the printer(s) to uninstall:");
  EXPECT_EQ(view.texts[1085].substr(0, 9), "WARNING!\n");
}

TEST_F(SelectPage, ListsThePackagePrintersOfTheRunsModel) {
  PrinterEntry& office = add("Office");
  office.isDefault = 1;
  add("Other model", 8204);
  add("No model value", 0);
  profile.printers.push_back(office);  // a connection: no local driver data
  profile.printers.back().name.assign("\\\\server\\Shared");
  profile.printers.back().server.assign("\\\\server");
  profile.printers.back().isDefault = 0;
  PrinterEntry& masked = add("Office (Pavane)");
  masked.makerDriver = 0;
  masked.pavaneName.assign("Office");
  add("Acme").foreign = 1;
  add("Removed").removed = 1;
  add("Filtered out").listed = 0;

  page.fill();
  EXPECT_EQ(names(), (std::vector<std::string>{"Office", "Office (Pavane)"}));
  EXPECT_EQ(view.rows[0].cells,
            (std::vector<std::string>{"Office", "Vardel LX-300", "Local", "Yes", "Yes", "(n/a)"}));
  EXPECT_EQ(view.rows[1].cells, (std::vector<std::string>{"Office (Pavane)", "Vardel LX-300",
                                                          "Local", "No", "No", "Office"}));
  EXPECT_EQ(view.rows[0].image, 1);
  EXPECT_EQ(view.rows[1].image, 4);
  EXPECT_EQ(view.rows[1].data, 4) << "the item data is the printer's position";
  EXPECT_EQ(view.modesSet, (std::vector<ListMode>{ListMode::kList}));
  EXPECT_TRUE(view.listFocused);
  EXPECT_TRUE(view.rows[0].focused);
  EXPECT_FALSE(view.rows[0].selected);
  EXPECT_EQ(view.autosized, 6);
  EXPECT_EQ(view.sent, (std::vector<std::pair<std::uint32_t, platform::WParam>>{{1127, 0}}));
  EXPECT_EQ(view.waitShown, 1);
  EXPECT_EQ(view.waitDepth, 0);
  EXPECT_EQ(machine.openHandleCount(), 0u);

  // The A4 variant offers the other model instead; a fill after the user
  // changed the view starts from details view and ends in list view again.
  ModelVariant = kModelVariantA4;
  view.mode = ListMode::kIcon;
  page.fill();
  EXPECT_EQ(names(), std::vector<std::string>{"Other model"});
  EXPECT_EQ(view.modesSet.back(), ListMode::kList);
  EXPECT_EQ(view.modesSet[view.modesSet.size() - 2], ListMode::kDetails);
}

TEST_F(SelectPage, WithoutOfferablePrintersTheListStaysEmptyAndUninstallAlone) {
  add("Acme").foreign = 1;
  page.fill();
  EXPECT_TRUE(view.rows.empty());
  EXPECT_TRUE(view.sent.empty());
  EXPECT_EQ(view.waitDepth, 0);
}

TEST_F(SelectPage, FillsAddToTheCounterAndCommitsDivideIt) {
  add("A");
  add("B");
  add("C");
  page.fill();
  page.fill();
  EXPECT_EQ(SelectionFillCounter(), 6);
  view.select({0, 2});
  page.commit();
  EXPECT_EQ(page.selectedCount(), 2);
  EXPECT_EQ(SelectionFillCounter(), 3);
  EXPECT_EQ(profile.printers[0].keep, 0);
  EXPECT_EQ(profile.printers[1].keep, 1);
  EXPECT_EQ(profile.printers[2].keep, 0);

  view.select({});
  page.commit();
  EXPECT_EQ(SelectionFillCounter(), 3) << "a commit without a selection leaves it";
}

TEST_F(SelectPage, CommitMarksTheFirstEntryOfEachNameIgnoringCase) {
  add("Office");
  add("OFFICE").keep = 1;
  page.fill();
  ASSERT_EQ(view.rows.size(), 2u);
  view.select({0});
  page.commit();
  // Both items name the first entry; the second item's state is the last
  // written, and the second entry is never touched.
  EXPECT_EQ(profile.printers[0].keep, 1);
  EXPECT_EQ(profile.printers[1].keep, 1);
  view.select({1});
  page.commit();
  EXPECT_EQ(profile.printers[0].keep, 0);
  EXPECT_EQ(profile.printers[1].keep, 1);
}

TEST_F(SelectPage, ItemChangesEnableUninstallOnlyWithASelection) {
  add("Office");
  page.fill();
  view.sent.clear();
  view.select({0});
  notify(notify::kItemChanged);
  view.select({});
  notify(notify::kItemChanged);
  EXPECT_EQ(view.sent,
            (std::vector<std::pair<std::uint32_t, platform::WParam>>{{1127, 1}, {1127, 0}}));
}

TEST_F(SelectPage, WithoutTheRegistryValueTheMenuHasNoOtherDetails) {
  add("Office");
  page.fill();
  notify(notify::kRightClick);
  // Read once: a value set later does not bring the entry back.
  machine.registry().setString("HKCU\\SOFTWARE\\VARDEL\\STRIPWELL", "", "on");
  notify(notify::kRightClick);
  EXPECT_EQ(view.menuLoads, 1);
  ASSERT_EQ(view.tracked.size(), 2u);
  for (const std::vector<FakeMenuEntry>& shown : view.tracked) {
    ASSERT_EQ(shown.size(), 8u);
    EXPECT_EQ(shown.back().command, 40010) << "Select All ends the menu";
  }
  EXPECT_FALSE(view.entry(40009)->enabled) << "nothing selected";
  EXPECT_TRUE(view.entry(40006)->checked) << "list view after a fill";
  EXPECT_FALSE(view.entry(40007)->checked);
  EXPECT_EQ(view.defaultCommand, 40009);
}

TEST_F(SelectPage, WithTheRegistryValueOtherDetailsIsGreyedUntilASelection) {
  machine.registry().setString("HKCU\\SOFTWARE\\VARDEL\\STRIPWELL", "", "QA");
  add("Office");
  page.fill();
  notify(notify::kRightClick);
  ASSERT_NE(view.entry(40012), nullptr);
  EXPECT_FALSE(view.entry(40012)->enabled);
  view.select({0});
  notify(notify::kRightClick);
  EXPECT_TRUE(view.entry(40012)->enabled);
  EXPECT_TRUE(view.entry(40009)->enabled);

  // An empty default value is no permission.
  sim::Machine other("10");
  platform::System otherSystem = other.system();
  other.registry().setString("HKCU\\SOFTWARE\\VARDEL\\STRIPWELL", "", "");
  FakeSelectView otherView;
  CSelectPage otherPage(otherSystem, otherView, extraInfoView);
  otherPage.HandleMessage(pageWindow, dlgmsg::kInitDialog, 0, 0);
  NotifyHeader header{0, 1020, notify::kRightClick};
  otherPage.HandleMessage(pageWindow, notify::kNotifyMessage, 0,
                          reinterpret_cast<platform::LParam>(&header));
  EXPECT_EQ(otherView.entry(40012), nullptr);
}

TEST_F(SelectPage, MenuCommandsChangeTheViewSelectAndStartTheRemoval) {
  add("Office");
  add("Lab");
  page.fill();
  const int waits = view.waitShown;
  command(40004);
  EXPECT_EQ(view.mode, ListMode::kIcon);
  command(40004);
  EXPECT_EQ(view.waitShown, waits + 1) << "the view it already has changes nothing";
  command(40005);
  EXPECT_EQ(view.mode, ListMode::kSmallIcon);
  command(40007);
  EXPECT_EQ(view.mode, ListMode::kDetails);

  command(40010);
  EXPECT_EQ(view.selectedCount(pageWindow), 2);
  command(40009);
  EXPECT_EQ(profile.printers[0].keep, 0);
  EXPECT_EQ(profile.printers[1].keep, 0);
  EXPECT_EQ(view.posted, (std::vector<std::pair<std::uint32_t, platform::WParam>>{{1128, 0}}));
}

TEST_F(SelectPage, OtherDetailsCommitsAndOpensExtraInfoSoUninstallDividesTwice) {
  for (const char* name : {"A", "B", "C", "D"}) add(name);
  page.fill();
  view.select({1, 2});
  command(40012);
  EXPECT_EQ(view.extraInfoRuns, 1);
  EXPECT_FALSE(extraInfoView.enabledControls[1017]) << "two printers selected";
  EXPECT_EQ(SelectionFillCounter(), 2);
  page.commit();  // as Uninstall does
  EXPECT_EQ(SelectionFillCounter(), 1);
}

TEST_F(SelectPage, KeepsTheVisibleStateAndLetsItsImagesAndMenuGo) {
  page.HandleMessage(pageWindow, dlgmsg::kShowWindow, 1, 0);
  EXPECT_TRUE(page.isVisible());
  page.HandleMessage(pageWindow, dlgmsg::kShowWindow, 0, 0);
  EXPECT_FALSE(page.isVisible());

  FakeSelectView ownView;
  {
    CSelectPage own(system, ownView, extraInfoView);
    own.setProfile(&profile);
    own.HandleMessage(pageWindow, dlgmsg::kInitDialog, 0, 0);
    NotifyHeader header{0, 1020, notify::kRightClick};
    own.HandleMessage(pageWindow, notify::kNotifyMessage, 0,
                      reinterpret_cast<platform::LParam>(&header));
  }
  EXPECT_EQ(ownView.imageDestructions, 1);
  EXPECT_EQ(ownView.menuDestructions, 1);
}

}  // namespace

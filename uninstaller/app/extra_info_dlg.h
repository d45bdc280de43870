// The Extra Info dialog: shows, category by category, what a removal of the
// printers selected on the selection page would take away, or for a single
// selected printer the items its own script entry names. It only reads the
// profile (and builds its removal plan); it removes nothing.
#pragma once

#include <cstdint>

#include "app/extra_info_view.h"
#include "platform/system.h"
#include "shell/dialog_base.h"

class UninstallProfile;
class ItemSet;

class CExtraInfoDlg : public CDialogBase {
 public:
  static constexpr std::int32_t kCategoryCount = 12;
  static constexpr std::int32_t kDirectoriesCategory = 12;

  CExtraInfoDlg(platform::System& system, ExtraInfoView& view);

  // The application's profile and the number of printers selected for
  // removal when the dialog was opened.
  void setProfile(UninstallProfile* profile, std::int32_t selectedCount) {
    profile_ = profile;
    selectedCount_ = selectedCount;
  }

  platform::LResult HandleMessage(platform::WindowHandle window, std::uint32_t message,
                                  platform::WParam wParam, platform::LParam lParam) override;

  // Rebuilds the title, the columns and the rows for the current category.
  void FillList();

  std::int32_t category() const { return category_; }

 private:
  void onInitDialog();
  bool onCommand(int id, int notification);
  const ItemSet& chooseShownSet(ItemSet& work);
  void planKeepingTheSelection();
  void insertColumns();
  void addItemRows(const ItemSet& shown);
  void addDirectoryRows();

  platform::System& system_;
  ExtraInfoView& view_;
  UninstallProfile* profile_ = nullptr;
  std::int32_t selectedCount_ = 0;
  std::int32_t columnCount_ = 0;
  bool ownSettingsOnly_ = false;
  std::int32_t category_ = 1;
};

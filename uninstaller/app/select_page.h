// The printer selection page, a child of the main dialog: lists the
// package's printers that may be removed and takes the user's choice into
// their keep marks.
#pragma once

#include <cstdint>

#include "app/extra_info_view.h"
#include "app/select_view.h"
#include "platform/system.h"
#include "shell/dialog_base.h"
#include "shell/os_info.h"
#include "shell/string_res.h"

class UninstallProfile;
struct PrinterEntry;

class CSelectPage : public CDialogBase {
 public:
  static constexpr int kColumnCount = 6;

  CSelectPage(platform::System& system, SelectView& view, ExtraInfoView& extraInfoView);
  ~CSelectPage() override;
  CSelectPage(const CSelectPage&) = delete;
  CSelectPage& operator=(const CSelectPage&) = delete;

  void setProfile(UninstallProfile* profile) { profile_ = profile; }

  platform::LResult HandleMessage(platform::WindowHandle window, std::uint32_t message,
                                  platform::WParam wParam, platform::LParam lParam) override;

  // Rebuilds the list from the profile's printers; every printer listed
  // adds one to the fill counter.
  void fill();
  // Writes the selection into the printers' keep marks: 0 for a selected
  // printer, 1 for one listed but not selected.
  void commit();
  // The state of the last WM_SHOWWINDOW.
  bool isVisible() const { return visible_; }
  std::int32_t selectedCount() const { return selectedCount_; }

 private:
  void onInitDialog();
  void onNotify(std::uint32_t code);
  void onCommand(int id);
  void insertColumns();
  void listPrinter(const PrinterEntry& printer, int position);
  bool modelMatches(const PrinterEntry& printer);
  void openContextMenu();
  bool otherDetailsWanted();
  void changeListMode(ListMode mode);
  void openExtraInfo();

  platform::System& system_;
  SelectView& view_;
  ExtraInfoView& extraInfoView_;
  UninstallProfile* profile_ = nullptr;
  std::int32_t columnCount_ = 0;
  bool menuLoaded_ = false;
  bool visible_ = false;
  COSInfo osInfo_;
  std::int32_t selectedCount_ = 0;
  CStringRes strings_;
};

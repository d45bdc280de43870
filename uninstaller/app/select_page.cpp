#include "app/select_page.h"

#include <cstdio>
#include <cstring>

#include "app/extra_info_dlg.h"
#include "app/notify.h"
#include "platform/registry.h"
#include "profile/uninstall_profile.h"
#include "resource_ids.h"
#include "shell/dialog_messages.h"
#include "shell/fill_counter.h"
#include "shell/model_variant.h"
#include "string_ids.h"

namespace {

constexpr int kColumnWidth = 100;
constexpr int kItemTextSize = 256;  // an item's text: up to 255 characters
constexpr std::uint32_t kGateValueSize = 64;

constexpr std::uint32_t kColumnTitles[CSelectPage::kColumnCount] = {
    IDS_COLUMN_NAME,    IDS_COLUMN_DRIVER,    IDS_COLUMN_LOCATION,
    IDS_COLUMN_DEFAULT, IDS_COLUMN_RAPIDLINE, IDS_COLUMN_PAVANED};

constexpr const char* kPrintersKey = "System\\CurrentControlSet\\control\\Print\\Printers";
// Whoever sets a non-empty default value here sees "Other Details..." in
// the context menu.
constexpr const char* kStripwellKey = "SOFTWARE\\VARDEL\\STRIPWELL";

struct ModeCommand {
  ListMode mode;
  int command;
};
constexpr ModeCommand kModeCommands[] = {{ListMode::kIcon, IDM_VIEW_LARGE_ICONS},
                                         {ListMode::kSmallIcon, IDM_VIEW_SMALL_ICONS},
                                         {ListMode::kList, IDM_VIEW_LIST},
                                         {ListMode::kDetails, IDM_VIEW_DETAILS}};

// 1 for the default printer, 2 for a connection, 4 for a masked printer.
int ImageOf(const PrinterEntry& printer) {
  return (printer.isDefault != 0 ? 1 : 0) + (printer.server.isEmpty() ? 0 : 2) +
         (printer.pavaneName.isEmpty() ? 0 : 4);
}

}  // namespace

CSelectPage::CSelectPage(platform::System& system, SelectView& view, ExtraInfoView& extraInfoView)
    : system_(system),
      view_(view),
      extraInfoView_(extraInfoView),
      osInfo_(system.host),
      strings_(system) {}

CSelectPage::~CSelectPage() {
  view_.destroyImageLists();
  if (menuLoaded_) view_.destroyContextMenu();
}

platform::LResult CSelectPage::HandleMessage(platform::WindowHandle, std::uint32_t message,
                                             platform::WParam wParam, platform::LParam lParam) {
  switch (message) {
    case dlgmsg::kInitDialog:
      onInitDialog();
      return 1;
    case dlgmsg::kShowWindow:
      visible_ = wParam != 0;
      return 0;
    case notify::kNotifyMessage: {
      const auto* header = reinterpret_cast<const NotifyHeader*>(lParam);
      if (header != nullptr && header->id == IDC_SELECT_LIST) onNotify(header->code);
      return 0;
    }
    case dlgmsg::kCommand:
      onCommand(dlgmsg::LowWord(wParam));
      return 1;
    default:
      return 0;
  }
}

void CSelectPage::onInitDialog() {
  strings_.setModule(view_.moduleOf(window));
  insertColumns();
  view_.deleteAllItems(window);
  view_.insertItem(window, strings_.text(IDS_LOADING_ITEM), -1, -1, 0);
  view_.loadImageLists(window);
  view_.showSelectionAlways(window);
  for (auto [control, id] : {std::pair{IDC_SELECT_PROMPT, IDS_SELECT_PROMPT},
                             std::pair{IDC_SELECT_WARNING, IDS_SELECT_WARNING}}) {
    if (const char* text = strings_.text(id); text[0] != '\0') view_.setText(window, control, text);
  }
}

void CSelectPage::insertColumns() {
  for (int column = 0; column < kColumnCount; ++column) {
    if (view_.insertColumn(window, column, strings_.text(kColumnTitles[column]), kColumnWidth)) {
      ++columnCount_;
    }
  }
}

void CSelectPage::onNotify(std::uint32_t code) {
  if (code == notify::kItemChanged) {
    view_.sendToParent(window, WM_APP_ENABLE_UNINSTALL, view_.selectedCount(window) > 0 ? 1 : 0);
  } else if (code == notify::kRightClick) {
    openContextMenu();
  }
}

void CSelectPage::onCommand(int id) {
  switch (id) {
    case dlgmsg::kIdOk:
    case dlgmsg::kIdCancel:
    case IDC_MAIN_CANCEL:
      view_.endDialog(window, 1);
      break;
    case IDM_REMOVE_PRINTERS:
      commit();
      view_.postToParent(window, WM_APP_START_REMOVAL, 0);
      break;
    case IDM_SELECT_ALL:
      view_.selectAll(window);
      break;
    case IDM_OTHER_DETAILS:
      openExtraInfo();
      break;
    default:
      for (const ModeCommand& entry : kModeCommands) {
        if (entry.command == id) changeListMode(entry.mode);
      }
      break;
  }
}

void CSelectPage::fill() {
  WaitCursor wait(view_);
  if (view_.listMode(window) != ListMode::kDetails) view_.setListMode(window, ListMode::kDetails);
  view_.deleteAllItems(window);
  if (profile_ == nullptr || OfferableCount(profile_->printers) == 0) return;

  int position = 0;
  for (const PrinterEntry& printer : profile_->printers) {
    if (printer.isOfferable() && modelMatches(printer)) listPrinter(printer, position);
    ++position;
  }
  view_.autosizeColumns(window, kColumnCount);
  view_.setListMode(window, ListMode::kList);
  view_.focusList(window);
  view_.focusItem(window, 0);
  view_.sendToParent(window, WM_APP_ENABLE_UNINSTALL, 0);
}

void CSelectPage::listPrinter(const PrinterEntry& printer, int position) {
  ++SelectionFillCounter();
  const int item = view_.insertItem(window, printer.name.c_str(), position, ImageOf(printer),
                                    static_cast<platform::LParam>(position));
  if (item == -1) return;
  view_.setSubItemText(window, item, 1, printer.driver.c_str());
  view_.setSubItemText(
      window, item, 2,
      printer.server.isEmpty() ? strings_.text(IDS_LOCAL) : printer.server.c_str());
  view_.setSubItemText(window, item, 3, strings_.text(printer.isDefault ? IDS_YES : IDS_NO));
  view_.setSubItemText(window, item, 4, strings_.text(printer.makerDriver ? IDS_YES : IDS_NO));
  view_.setSubItemText(window, item, 5,
                       printer.pavaneName.isEmpty() ? strings_.text(IDS_NOT_APPLICABLE)
                                                    : printer.pavaneName.c_str());
}

// The package's drivers record the model they serve in the printer's
// driver data; only printers of the model this run was started for are
// offered. Connections have no local driver data and never match.
bool CSelectPage::modelMatches(const PrinterEntry& printer) {
  const char* name = printer.name.c_str();
  if (name[0] == '\\' && name[1] == '\\') name += 2;
  char path[platform::kMaxPath];
  const int length =
      std::snprintf(path, sizeof path, "%s\\%s\\PrinterDriverData\\", kPrintersKey, name);
  if (length < 0 || length >= static_cast<int>(sizeof path)) return false;

  platform::RegKey key(system_.registry);
  if (system_.registry.openKey(platform::hkey::kLocalMachine, path, platform::regsam::kAllAccess,
                               key.out()) != platform::error::kSuccess) {
    return false;
  }
  std::uint32_t type = 0;
  std::uint32_t model = 0;
  std::uint32_t size = sizeof model;
  if (system_.registry.queryValue(key.get(), "ModelName", &type, &model, &size) !=
          platform::error::kSuccess ||
      type != platform::regtype::kDword || size != sizeof model) {
    return false;
  }
  if (ModelVariant == kModelVariantA4) return model == static_cast<std::uint32_t>(kModelVariantA4);
  return model == static_cast<std::uint32_t>(kModelVariantA3);
}

void CSelectPage::commit() {
  selectedCount_ = 0;
  if (profile_ == nullptr) return;
  const int count = view_.itemCount(window);
  for (int item = 0; item < count; ++item) {
    char text[kItemTextSize] = {};
    view_.itemText(window, item, text, sizeof text);
    for (PrinterEntry& printer : profile_->printers) {
      if (!printer.name.equals(text)) continue;
      if (view_.isItemSelected(window, item)) {
        printer.keep = 0;
        ++selectedCount_;
      } else {
        printer.keep = 1;
      }
      break;
    }
  }
  if (selectedCount_ != 0) SelectionFillCounter() /= selectedCount_;
}

void CSelectPage::openContextMenu() {
  if (!menuLoaded_) {
    if (!view_.loadContextMenu(window)) return;
    menuLoaded_ = true;
    if (!otherDetailsWanted()) {
      // "Other Details..." and the separator before it.
      const int count = view_.menuItemCount();
      view_.deleteMenuEntry(count - 1);
      view_.deleteMenuEntry(count - 2);
    }
  }
  const ListMode current = view_.listMode(window);
  for (const ModeCommand& entry : kModeCommands) {
    view_.checkMenuCommand(entry.command, entry.mode == current);
  }
  const bool anySelected = view_.selectedCount(window) > 0;
  view_.enableMenuCommand(IDM_REMOVE_PRINTERS, anySelected);
  view_.enableMenuCommand(IDM_OTHER_DETAILS, anySelected);
  view_.setDefaultMenuCommand(IDM_REMOVE_PRINTERS);
  view_.trackContextMenu(window);
}

bool CSelectPage::otherDetailsWanted() {
  platform::RegKey key(system_.registry);
  if (system_.registry.openKey(platform::hkey::kCurrentUser, kStripwellKey,
                               platform::regsam::kQueryValue,
                               key.out()) != platform::error::kSuccess) {
    return false;
  }
  char value[kGateValueSize] = {};
  std::uint32_t type = 0;
  std::uint32_t size = sizeof value;
  if (system_.registry.queryValue(key.get(), "", &type, value, &size) !=
      platform::error::kSuccess) {
    return false;
  }
  const bool isString = type == platform::regtype::kSz || type == platform::regtype::kExpandSz;
  return isString && size > 0 && value[0] != '\0';
}

void CSelectPage::changeListMode(ListMode mode) {
  if (view_.listMode(window) == mode) return;
  WaitCursor wait(view_);
  view_.setListMode(window, mode);
}

void CSelectPage::openExtraInfo() {
  CExtraInfoDlg extraInfo(system_, extraInfoView_);
  commit();
  extraInfo.setProfile(profile_, selectedCount_);
  view_.runExtraInfo(window, extraInfo);
}

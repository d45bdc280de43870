#include "app/extra_info_dlg.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "profile/uninstall_profile.h"
#include "resource_ids.h"
#include "shell/dialog_messages.h"
#include "shell/locations.h"

namespace {

constexpr int kColumnWidth = 200;
constexpr int kMaxColumns = 4;

// One category button: the item slot it shows and how an item is cut into
// the columns. An item is cut at its first commas, one column per field;
// the last column takes the whole rest, or only the rest up to its next
// comma when the category drops what follows.
struct Category {
  int button;
  int slot;  // -1: the directories
  int columnCount;
  const char* columns[kMaxColumns];
  bool dropsRest;
};

constexpr Category kCategories[CExtraInfoDlg::kCategoryCount] = {
    {1097, 0, 3, {"file", "section", "entry"}, true},
    {1098, 1, 2, {"Display", "File Name"}, true},
    {1099, 8, 1, {"driver"}, false},
    {1100, 7, 1, {"file"}, false},
    {1101, 6, 2, {"file", "export"}, false},
    {1102, 4, 1, {"Monitor Name"}, false},
    {1103, 11, 4, {"Base Key", "Sub Key", "Value Name", "Deltree"}, false},
    {1104, 3, 1, {"Print Processor Name"}, false},
    {1105, 5, 1, {"NT Service Name"}, false},
    {1106, 9, 3, {"Program Group", "Shortcut Description", "Special Location"}, false},
    {1107, 2, 2, {"FileName", "Function Export"}, false},
    {IDC_EXTRA_DIRECTORIES, -1, 2, {"Dir Variable", "Dir Location"}, false},
};

struct DirectoryRow {
  const char* name;
  LocationId location;
};
constexpr DirectoryRow kDirectoryRows[] = {
    {"WINDIR", kLocWindowsDir},
    {"SYSDIR", kLocSystemDir},
    {"COLORDIR", kLocColorDir},
    {"PRINTPROCDIR", kLocPrintProcessorDir},
    {"PRINTPROCDIR_W40", kLocPrintProcessorDirW40},
    {"PRINTDRIVERDIR", kLocPrinterDriverDir},
    {"PRINTDRIVERDIR_W40", kLocPrinterDriverDirW40},
};

const Category& CategoryOf(std::int32_t category) { return kCategories[category - 1]; }

// Cuts `text` (changed in place) into at most `count` fields. Quotes are
// not looked at: a comma inside quotes cuts too. Missing fields are null.
void CutFields(char* text, const Category& category, const char* (&fields)[kMaxColumns]) {
  for (const char*& field : fields) field = nullptr;
  char* rest = text;
  for (int column = 0; column < category.columnCount && rest != nullptr; ++column) {
    fields[column] = rest;
    const bool last = column == category.columnCount - 1;
    char* comma = (last && !category.dropsRest) ? nullptr : std::strchr(rest, ',');
    if (comma != nullptr) *comma = '\0';
    rest = comma != nullptr ? comma + 1 : nullptr;
  }
}

}  // namespace

CExtraInfoDlg::CExtraInfoDlg(platform::System& system, ExtraInfoView& view)
    : system_(system), view_(view) {}

platform::LResult CExtraInfoDlg::HandleMessage(platform::WindowHandle, std::uint32_t message,
                                               platform::WParam wParam, platform::LParam) {
  switch (message) {
    case dlgmsg::kInitDialog:
      onInitDialog();
      return 1;
    case dlgmsg::kCommand:
      return onCommand(dlgmsg::LowWord(wParam), dlgmsg::HighWord(wParam)) ? 1 : 0;
    default:
      return 0;
  }
}

void CExtraInfoDlg::onInitDialog() {
  view_.checkRadioButton(window, IDC_EXTRA_CATEGORY_FIRST, IDC_EXTRA_DIRECTORIES,
                         IDC_EXTRA_CATEGORY_FIRST);
  FillList();
  view_.enableControl(window, IDC_EXTRA_OWN_ONLY, selectedCount_ == 1);
  view_.centre(window);
}

bool CExtraInfoDlg::onCommand(int id, int notification) {
  if (id == dlgmsg::kIdOk || id == dlgmsg::kIdCancel || id == IDC_MAIN_CANCEL) {
    view_.endDialog(window, 1);
    return true;
  }
  if (id == IDC_EXTRA_OWN_ONLY) {
    ownSettingsOnly_ = view_.isChecked(window, IDC_EXTRA_OWN_ONLY) && selectedCount_ == 1;
    FillList();
    return true;
  }
  for (std::int32_t category = 1; category <= kCategoryCount; ++category) {
    if (CategoryOf(category).button != id) continue;
    if (notification != 0) return false;  // only BN_CLICKED
    category_ = category;
    FillList();
    return true;
  }
  return false;
}

void CExtraInfoDlg::FillList() {
  WaitCursor wait(view_);
  ItemSet work;
  while (columnCount_ > 0) {
    if (!view_.deleteColumn(window, 0)) break;
    --columnCount_;
  }
  if (profile_ == nullptr) return;
  planKeepingTheSelection();
  view_.deleteAllItems(window);

  const ItemSet& shown = chooseShownSet(work);
  insertColumns();
  if (CategoryOf(category_).slot < 0) {
    addDirectoryRows();
  } else {
    addItemRows(shown);
  }
  view_.autosizeColumns(window, columnCount_);
}

// The plan marks the printers that mask a selected printer for removal
// too. Those marks belong to the plan of a removal, not to the user's
// selection: left in place, a masking printer that the list does not offer
// would stay marked after the user changed the selection, and the removal
// would take it although the printer it masks stays.
void CExtraInfoDlg::planKeepingTheSelection() {
  std::vector<std::int32_t> keep;
  keep.reserve(profile_->printers.size());
  for (const PrinterEntry& printer : profile_->printers) keep.push_back(printer.keep);
  profile_->BuildRemovalPlan();
  for (std::size_t i = 0; i < keep.size(); ++i) profile_->printers[i].keep = keep[i];
}

// The selected printer's own entry (its driver's, else its manufacturer's)
// when the box asks for it, else the remove set; sets the title to match.
const ItemSet& CExtraInfoDlg::chooseShownSet(ItemSet& work) {
  char title[platform::kMaxPath + 64];
  if (!ownSettingsOnly_) {
    view_.setText(window, 0, "Extra Info - Multiple Printers");
    return profile_->removeSet;
  }
  // Another maker's printers carry no keep mark either: only a printer the
  // removal would take is the selected one.
  const char* driver = "";
  for (const PrinterEntry& printer : profile_->printers) {
    if (printer.isToBeRemoved()) driver = printer.driver.c_str();
  }
  if (profile_->FindEntry(work, driver)) {
    std::snprintf(title, sizeof title, "Extra Info - Printer: %s", work.name.c_str());
  } else if (profile_->FindManufacturerEntry(work, driver)) {
    std::snprintf(title, sizeof title, "Extra Info - Mfg: %s", work.name.c_str());
  } else {
    view_.setText(window, 0, "Extra Info - EMPTY AND UNKNOWN SETTINGS!!!");
    return profile_->removeSet;
  }
  view_.setText(window, 0, title);
  return work;
}

void CExtraInfoDlg::insertColumns() {
  const Category& category = CategoryOf(category_);
  for (int column = 0; column < category.columnCount; ++column) {
    if (view_.insertColumn(window, column, category.columns[column], kColumnWidth)) {
      ++columnCount_;
    }
  }
}

void CExtraInfoDlg::addItemRows(const ItemSet& shown) {
  const Category& category = CategoryOf(category_);
  const StringList& items = shown.items[static_cast<std::size_t>(category.slot)];
  if (items.isEmpty()) {
    view_.insertItem(window, "(empty)", -1, -1, 0);
    return;
  }
  for (const PathString& item : items) {
    char text[platform::kMaxPath];
    std::snprintf(text, sizeof text, "%s", item.c_str());
    const char* fields[kMaxColumns];
    CutFields(text, category, fields);
    const int row = view_.insertItem(window, fields[0], -1, -1, 0);
    if (row == -1) continue;
    for (int column = 1; column < category.columnCount; ++column) {
      if (fields[column] != nullptr) view_.setSubItemText(window, row, column, fields[column]);
    }
  }
}

void CExtraInfoDlg::addDirectoryRows() {
  for (const DirectoryRow& entry : kDirectoryRows) {
    CPathParts parts;
    parts.init(system_, entry.location);
    const int row = view_.insertItem(window, entry.name, -1, -1, 0);
    if (row != -1) view_.setSubItemText(window, row, 1, parts.directory());
  }
}

#include "unattended/headless_views.h"

#include <algorithm>
#include <cstring>

#include "app/about_view.h"
#include "discovery/loading_dlg.h"
#include "resource_ids.h"
#include "shell/dialog_messages.h"

template <typename View>
int HeadlessListOf<View>::insertItem(platform::WindowHandle, const char* text, int index, int,
                                     platform::LParam) {
  const std::size_t at = index < 0 || static_cast<std::size_t>(index) > items.size()
                             ? items.size()
                             : static_cast<std::size_t>(index);
  items.insert(items.begin() + static_cast<std::ptrdiff_t>(at),
               Item{{text != nullptr ? text : ""}, false});
  return static_cast<int>(at);
}

template <typename View>
bool HeadlessListOf<View>::setSubItemText(platform::WindowHandle, int item, int subItem,
                                          const char* text) {
  if (item < 0 || static_cast<std::size_t>(item) >= items.size() || subItem < 0) return false;
  std::vector<std::string>& cells = items[static_cast<std::size_t>(item)].cells;
  if (cells.size() <= static_cast<std::size_t>(subItem)) cells.resize(subItem + 1);
  cells[static_cast<std::size_t>(subItem)] = text != nullptr ? text : "";
  return true;
}

template class HeadlessListOf<SelectView>;
template class HeadlessListOf<ExtraInfoView>;
template class HeadlessListOf<AboutView>;

void HeadlessMainView::enableControl(platform::WindowHandle, int controlId, bool enabled) {
  if (controlId == IDC_MAIN_UNINSTALL) uninstallEnabled_ = enabled;
}

platform::WindowHandle HeadlessMainView::createPage(platform::WindowHandle, const char*,
                                                    CDialogBase& page) {
  const platform::WindowHandle window = desk_.add(page);
  desk_.send(window, dlgmsg::kInitDialog, 0, 0);
  return window;
}

// As USER32 does, a page hears WM_SHOWWINDOW only when its state changes.
void HeadlessMainView::showPage(platform::WindowHandle page, bool visible) {
  bool& shown = pagesShown_[page];
  if (shown == visible) return;
  shown = visible;
  desk_.send(page, dlgmsg::kShowWindow, visible ? 1 : 0, 0);
}

int HeadlessMainView::runLoadingDialog(platform::WindowHandle, CLoadingDlg& loading) {
  const platform::WindowHandle window = desk_.add(loading);
  desk_.send(window, dlgmsg::kInitDialog, 0, 0);
  desk_.send(window, dlgmsg::kShowWindow, 1, 0);
  desk_.runUntil([&] { return desk_.result(window).has_value(); });
  return desk_.result(window).value_or(-1);
}

void HeadlessSelectView::itemText(platform::WindowHandle, int item, char* buffer, int size) {
  if (size <= 0) return;
  buffer[0] = '\0';
  if (item < 0 || static_cast<std::size_t>(item) >= items.size()) return;
  const std::string& text = items[static_cast<std::size_t>(item)].cells.front();
  const std::size_t length = std::min(text.size(), static_cast<std::size_t>(size - 1));
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
}

bool HeadlessSelectView::isItemSelected(platform::WindowHandle, int item) {
  return item >= 0 && static_cast<std::size_t>(item) < items.size() &&
         items[static_cast<std::size_t>(item)].selected;
}

int HeadlessSelectView::selectedCount(platform::WindowHandle) {
  return static_cast<int>(
      std::count_if(items.begin(), items.end(), [](const Item& item) { return item.selected; }));
}

void HeadlessSelectView::selectAll(platform::WindowHandle) {
  for (Item& item : items) item.selected = true;
}

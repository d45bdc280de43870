#include "win32_ui/remove_view_win32.h"

#include <windows.h>

#include "resource_ids.h"
#include "win32_ui/dialog_proc.h"
#include "win32_ui/window_helpers.h"

namespace {

constexpr COLORREF kTransparent = RGB(255, 0, 255);
constexpr int kTickSize = 16;
constexpr int kGrowBy = 10;

}  // namespace

Win32RemoveView::~Win32RemoveView() {
  DestroyImageList(ticks_);
  deleteBoldFont();
  restoreCursor();
}

platform::ModuleHandle Win32RemoveView::moduleOf(platform::WindowHandle page) {
  return FromInstance(InstanceOf(ToHwnd(page)));
}

platform::WindowHandle Win32RemoveView::parentOf(platform::WindowHandle page) {
  return FromHwnd(GetParent(ToHwnd(page)));
}

void Win32RemoveView::setText(platform::WindowHandle page, int controlId, const char* text) {
  SetDialogText(ToHwnd(page), controlId, text);
}

void Win32RemoveView::enableControl(platform::WindowHandle dialog, int controlId, bool enabled) {
  EnableWindow(GetDlgItem(ToHwnd(dialog), controlId), enabled ? TRUE : FALSE);
}

void Win32RemoveView::setTimer(platform::WindowHandle page, std::uint32_t id,
                               std::uint32_t periodMs) {
  SetTimer(ToHwnd(page), id, periodMs, nullptr);
}

void Win32RemoveView::killTimer(platform::WindowHandle page, std::uint32_t id) {
  KillTimer(ToHwnd(page), id);
}

void Win32RemoveView::endDialog(platform::WindowHandle page, int result) {
  EndDialog(ToHwnd(page), result);
}

void Win32RemoveView::deleteBoldFont() {
  if (boldFont_ != nullptr && boldFont_ != normalFont_) DeleteObject(boldFont_);
  boldFont_ = nullptr;
}

void Win32RemoveView::prepareRows(platform::WindowHandle page) {
  HWND hwnd = ToHwnd(page);
  DestroyImageList(ticks_);
  ticks_ = ImageList_LoadImageA(InstanceOf(hwnd), MAKEINTRESOURCEA(IDB_TICKS), kTickSize, kGrowBy,
                                kTransparent, IMAGE_BITMAP, LR_CREATEDIBSECTION);
  deleteBoldFont();
  normalFont_ = reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
  LOGFONTA font{};
  if (normalFont_ != nullptr && GetObjectA(normalFont_, sizeof font, &font) == sizeof font) {
    font.lfWeight = FW_BOLD;
    font.lfQuality = PROOF_QUALITY;
    boldFont_ = CreateFontIndirectA(&font);
  }
  if (boldFont_ == nullptr) boldFont_ = normalFont_;
}

void Win32RemoveView::drawRow(platform::WindowHandle page, int textControl, int iconControl,
                              int image, bool bold) {
  HWND hwnd = ToHwnd(page);
  HFONT font = bold ? boldFont_ : normalFont_;
  HWND text = GetDlgItem(hwnd, textControl);
  // Only a change of font is sent: WM_SETFONT repaints the control, which
  // would come back here through WM_CTLCOLORSTATIC.
  if (text != nullptr && reinterpret_cast<HFONT>(SendMessageA(text, WM_GETFONT, 0, 0)) != font) {
    SendMessageA(text, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    // The text is drawn on the page's background (NULL_BRUSH): the wider
    // bold glyphs stay unless the page erases under the control.
    RECT area;
    GetWindowRect(text, &area);
    MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&area), 2);
    InvalidateRect(hwnd, &area, TRUE);
  }
  HWND icon = GetDlgItem(hwnd, iconControl);
  if (icon == nullptr || ticks_ == nullptr) return;
  if (HDC dc = GetDC(icon)) {
    ImageList_Draw(ticks_, image, dc, 0, 0, ILD_NORMAL);
    ReleaseDC(icon, dc);
  }
}

platform::LResult Win32RemoveView::transparentBrush() {
  return reinterpret_cast<platform::LResult>(GetStockObject(NULL_BRUSH));
}

void Win32RemoveView::redraw(platform::WindowHandle page) {
  RedrawWindow(ToHwnd(page), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void Win32RemoveView::showWaitCursor() {
  HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  if (!cursorSaved_) {
    savedCursor_ = previous;
    cursorSaved_ = true;
  }
}

void Win32RemoveView::restoreCursor() {
  if (!cursorSaved_) return;
  SetCursor(savedCursor_);
  cursorSaved_ = false;
}

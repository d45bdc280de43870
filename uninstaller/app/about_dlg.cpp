#include "app/about_dlg.h"

#include <cinttypes>
#include <cstdio>

#include "resource_ids.h"
#include "shell/dialog_messages.h"
#include "shell/locations.h"
#include "string_ids.h"

namespace {

constexpr int kColumnWidth = 200;
constexpr std::size_t kValueSize = 128;

// The build's compile date and time, as the compiler gives them
// ("Apr  2 2013 13:57:35").
constexpr const char* kBuildDate = __DATE__;
constexpr const char* kBuildTime = __TIME__;

// A size in bytes as "<kilobytes> kb". The figure is unsigned and 64-bit:
// a machine with more than 2 TB must not show a negative number.
void FormatKilobytes(std::uint64_t bytes, char* text) {
  std::snprintf(text, kValueSize, "%" PRIu64 " kb", bytes >> 10);
}

}  // namespace

bool GetFileVersionText(platform::System& system, const char* path, char* text, std::size_t size) {
  platform::FileVersion version;
  if (system.host.fileVersion(path, version) != platform::error::kSuccess) return false;
  std::snprintf(text, size, "%u.%02u.%02u.%02u", version.mostSignificant >> 16,
                version.mostSignificant & 0xFFFFu, version.leastSignificant >> 16,
                version.leastSignificant & 0xFFFFu);
  return true;
}

CAboutDlg::CAboutDlg(platform::System& system, AboutView& view)
    : system_(system), view_(view), strings_(system), osInfo_(system.host) {}

platform::LResult CAboutDlg::HandleMessage(platform::WindowHandle, std::uint32_t message,
                                           platform::WParam wParam, platform::LParam) {
  switch (message) {
    case dlgmsg::kInitDialog:
      onInitDialog();
      return 1;
    case dlgmsg::kCommand:
      switch (dlgmsg::LowWord(wParam)) {
        case dlgmsg::kIdOk:
        case dlgmsg::kIdCancel:
        case IDC_MAIN_CANCEL:
          view_.endDialog(window, 1);
          return 1;
        default:
          return 0;
      }
    default:
      return 0;
  }
}

void CAboutDlg::onInitDialog() {
  strings_.setModule(view_.moduleOf(window));
  osInfo_.refresh();
  if (const char* title = strings_.text(IDS_ABOUT_TITLE); title[0] != '\0') {
    view_.setText(window, 0, title);
  }
  if (const char* spacer = strings_.text(IDS_ABOUT_SPACER); spacer[0] != '\0') {
    view_.setText(window, IDC_ABOUT_SPACER, spacer);
  }
  for (const char* title : {".", ".."}) {
    if (view_.insertColumn(window, columnCount_, title, kColumnWidth)) ++columnCount_;
  }

  // A program file without version information shows an empty version.
  char version[kValueSize] = {};
  CPathParts program;
  program.init(system_, kLocProgramFile);
  GetFileVersionText(system_, program.appendSubdirectory(""), version, sizeof version);
  addRow(strings_.plainText(IDS_ABOUT_VERSION), version);

  char stamp[kValueSize];
  std::snprintf(stamp, sizeof stamp, "%s %s", kBuildDate, kBuildTime);
  addRow(strings_.plainText(IDS_ABOUT_BUILD_STAMP), stamp);
  addRow(strings_.plainText(IDS_ABOUT_PLATFORM), platformName());

  platform::MemoryStatus memory;
  system_.host.globalMemoryStatus(memory);
  char figure[kValueSize];
  FormatKilobytes(memory.availPhys, figure);
  addRow("Free Physical RAM", figure);
  FormatKilobytes(memory.availVirtual, figure);
  addRow("Free Virtual RAM", figure);
  FormatKilobytes(memory.totalPageFile, figure);
  addRow("Swap File Size", figure);

  view_.centre(window);
  view_.autosizeColumns(window, columnCount_);
}

void CAboutDlg::addRow(const char* label, const char* value) {
  const int row = view_.insertItem(window, label, -1, -1, 0);
  if (row != -1) view_.setSubItemText(window, row, 1, value);
}

const char* CAboutDlg::platformName() const {
  switch (osInfo_.platformCode()) {
    case COSInfo::kPlatformWin32s:
      return "Win32s";
    case COSInfo::kPlatform9x:
      return "Win9x";
    case COSInfo::kPlatformNt:
      return "WinNT";
    default:
      return "Windows";
  }
}

// Printer discovery: every printer the local spooler knows, local and
// connected, with what tells the package's printers apart from others.
#include <cstring>
#include <new>
#include <vector>

#include "discovery/loading_dlg.h"
#include "platform/crt.h"
#include "profile/text_utils.h"
#include "shell/message.h"
#include "string_ids.h"

namespace {

namespace error = platform::error;
using QuickException = CLoadingDlg::_QuickExceptionInfo;

constexpr std::uint32_t kEnumFlags =
    platform::printer_enum::kLocal | platform::printer_enum::kConnections;
constexpr std::uint32_t kOpenAccess =
    platform::printer_access::kUse | platform::printer_access::kReadControl;

// The options' value lists are read into buffers of this size; a list that
// does not fit is not read at all.
constexpr std::uint32_t kFilterBuffer = 256;
constexpr std::uint32_t kDataBuffer = 256;

std::uint32_t EnumerationLevel(const COSInfo& os) {
  if (os.isNT()) return 4;
  if (os.isWin9x()) return 5;
  return 2;
}

// The values of one option, stripped of surrounding quotes. Empty values
// count: "/MFG:" lets every driver pass.
std::vector<std::string> FilterValues(const OptionList& options, const char* name) {
  char buffer[kFilterBuffer];
  std::uint32_t size = sizeof buffer;
  std::vector<std::string> values;
  if (!options.values(name, buffer, &size) || size == 0) return values;
  for (const char* p = buffer; p < buffer + size - 1; p += std::strlen(p) + 1) {
    char value[kFilterBuffer];
    crt::CopyTruncated(value, sizeof value, p);
    TrimChar(value, '"');
    values.emplace_back(value);
  }
  return values;
}

// The default printer's name: the device entry of win.ini's [windows]
// section up to its first comma.
void DefaultPrinterName(platform::IniFiles& ini, char (&name)[256]) {
  ini.getProfileString("windows", "device", "", name, sizeof name);
  if (char* comma = std::strchr(name, ',')) *comma = '\0';
}

}  // namespace

int CLoadingDlg::BuildListOfInstalledPrinters(PrinterList& printers) {
  try {
    return enumerate(printers);
  } catch (const _QuickExceptionInfo&) {
    // Discovery stops; what it appended so far stays, and nobody is told.
    return 0;
  }
}

int CLoadingDlg::enumerate(PrinterList& printers) {
  const std::uint32_t level = EnumerationLevel(osInfo_);
  std::vector<platform::EnumeratedPrinter> found;
  std::uint32_t needed = 0;
  const platform::Win32Error sizeError =
      system_.spooler.enumPrinters(kEnumFlags, level, 0, found, needed);
  if (needed == 0) {
    if (sizeError == error::kRpcServerUnavailable) {
      Message(system_.desktop, window, strings_.text(IDS_SPOOLER_NOT_RESPONDING),
              strings_.text(IDS_CAPTION), platform::mb::kIconError);
      end(0);
    }
    return 0;
  }

  const platform::Win32Error enumError =
      system_.spooler.enumPrinters(kEnumFlags, level, needed, found, needed);
  if (enumError == error::kNotEnoughMemory || enumError == error::kOutOfMemory) {
    throw _QuickExceptionInfo{enumError, "_alloca", "FAILED to ALLOCA!!!", "Bytes needed", needed,
                              "",        0};
  }
  if (enumError != error::kSuccess) {
    throw _QuickExceptionInfo{enumError,
                              "EnumPrinters",
                              "failed to enum printers",
                              "Bytes needed",
                              needed,
                              "bytes returned",
                              static_cast<std::uint32_t>(found.size())};
  }

  char defaultPrinter[256] = {};
  DefaultPrinterName(system_.ini, defaultPrinter);
  char computerName[16] = {};
  if (!osInfo_.isWin32s()) {
    std::uint32_t size = sizeof computerName;
    if (system_.host.computerName(computerName, &size) != error::kSuccess) computerName[0] = '\0';
  }

  int count = 0;
  std::uint32_t level2Buffer = 0;  // reused from one printer to the next
  for (const platform::EnumeratedPrinter& printer : found) {
    if (readPrinter(printer.name.c_str(), defaultPrinter, computerName, level2Buffer, printers)) {
      ++count;
    }
  }
  return count;
}

// Reads one printer into a new entry at the end of `printers`; false when
// it cannot be opened (it is then not counted).
bool CLoadingDlg::readPrinter(const char* name, const char* defaultPrinter,
                              const char* computerName, std::uint32_t& level2Buffer,
                              PrinterList& printers) {
  platform::Printer printer(system_.spooler);
  if (system_.spooler.openPrinter(name, kOpenAccess, printer.out()) != error::kSuccess)
    return false;

  PrinterEntry entry;
  entry.listed = 1;

  char data[kDataBuffer];
  std::uint32_t needed = 0;
  entry.makerDriver = (osInfo_.isWin32s() ||
                       system_.spooler.getPrinterData(printer.get(), "VardelDriver0H", nullptr,
                                                      data, sizeof data, needed) == error::kSuccess)
                          ? 1
                          : 0;
  char masked[platform::kMaxPath] = {};
  if (system_.spooler.getPrinterData(printer.get(), "PavanePrinter", nullptr, masked,
                                     sizeof masked - 1, needed) == error::kSuccess) {
    // The value need not end in a NUL: it is cut at what was read.
    masked[needed < sizeof masked ? needed : sizeof masked - 1] = '\0';
    entry.pavaneName.assign(masked);
  }

  platform::PrinterInfo2 info;
  std::uint32_t infoNeeded = 0;
  if (system_.spooler.getPrinter2(printer.get(), level2Buffer, info, infoNeeded) !=
          error::kSuccess &&
      infoNeeded != 0) {
    level2Buffer = infoNeeded;
  }
  if (level2Buffer == 0) return true;  // counted, but no entry
  const platform::Win32Error infoError =
      system_.spooler.getPrinter2(printer.get(), level2Buffer, info, infoNeeded);
  if (infoError != error::kSuccess) {
    throw _QuickExceptionInfo{
        infoError,   "GetPrinter",          "unable to GetPrinter level 2 data",
        "hPrinter",  printer.get().value(), "Buffer",
        level2Buffer};
  }

  entry.isDefault = ((info.attributes & platform::printer_attr::kDefault) != 0 ||
                     std::strcmp(info.printerName.c_str(), defaultPrinter) == 0)
                        ? 1
                        : 0;
  entry.name.assign(info.printerName.c_str());
  entry.driver.assign(info.driverName.c_str());
  if (!osInfo_.isWin32s() && info.serverName && !info.serverName->empty() &&
      crt::StrCmpI(info.serverName->c_str(), computerName) != 0) {
    entry.server.assign(info.serverName->c_str());
  }

  if (entry.makerDriver != 0 || !entry.pavaneName.isEmpty()) {
    entry.keep = 1;
  } else {
    entry.foreign = 1;
  }

  // With UNPAVANE only masking printers stay listed, whatever the other
  // filters say.
  const bool passes = passesFilters(entry);
  if (options_.present("UNPAVANE") ? entry.pavaneName.isEmpty() : !passes) {
    entry.listed = 0;
    entry.keep = 1;
  }

  printers.push_back(entry);
  return true;
}

// MFG values are driver-name prefixes, PRN values whole driver names, both
// compared without regard to case. Without either option every printer passes.
bool CLoadingDlg::passesFilters(const PrinterEntry& entry) const {
  if (!options_.present("MFG") && !options_.present("PRN")) return true;
  const char* driver = entry.driver.c_str();
  for (const std::string& prefix : FilterValues(options_, "MFG")) {
    if (crt::StrNCmpI(driver, prefix.c_str(), prefix.size()) == 0) return true;
  }
  for (const std::string& name : FilterValues(options_, "PRN")) {
    if (crt::StrCmpI(driver, name.c_str()) == 0) return true;
  }
  return false;
}

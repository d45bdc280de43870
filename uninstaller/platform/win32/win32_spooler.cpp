#include "platform/win32/win32_spooler.h"

#include "platform/win32/convert.h"
// After windows.h (through convert.h).
#include <winspool.h>

namespace win32 {
namespace {

using platform::Win32Error;

HANDLE ToPrinter(platform::PrinterHandle printer) { return NativeOf<HANDLE>(printer); }

std::string Text(const char* text) { return text != nullptr ? text : ""; }
std::optional<std::string> OptionalText(const char* text) {
  if (text == nullptr) return std::nullopt;
  return std::string(text);
}

// A buffer of the caller's size for the spooler to fill with records and
// the strings they point to; 8-byte cells keep the records aligned.
class RecordBuffer {
 public:
  explicit RecordBuffer(std::uint32_t bytes) : cells_((bytes + 7) / 8), bytes_(bytes) {}
  BYTE* data() { return cells_.empty() ? nullptr : reinterpret_cast<BYTE*>(cells_.data()); }
  DWORD size() const { return bytes_; }
  template <typename Record>
  const Record* records() const {
    return reinterpret_cast<const Record*>(cells_.data());
  }

 private:
  std::vector<std::uint64_t> cells_;
  DWORD bytes_;
};

}  // namespace

Win32Error Win32Spooler::enumPrinters(std::uint32_t flags, std::uint32_t level,
                                      std::uint32_t bufferBytes,
                                      std::vector<platform::EnumeratedPrinter>& printers,
                                      std::uint32_t& bytesNeeded) {
  printers.clear();
  if (level != 1 && level != 2 && level != 4 && level != 5) return ERROR_INVALID_LEVEL;
  RecordBuffer buffer(bufferBytes);
  DWORD needed = 0;
  DWORD count = 0;
  const BOOL ok =
      ::EnumPrintersA(flags, nullptr, level, buffer.data(), buffer.size(), &needed, &count);
  const Win32Error error = ResultOf(ok);
  bytesNeeded = needed;
  if (!ok) return error;
  for (DWORD i = 0; i < count; ++i) {
    platform::EnumeratedPrinter printer;
    switch (level) {
      case 1: {
        const PRINTER_INFO_1A& record = buffer.records<PRINTER_INFO_1A>()[i];
        printer.name = Text(record.pName);
        printer.attributes = record.Flags;
        break;
      }
      case 2: {
        const PRINTER_INFO_2A& record = buffer.records<PRINTER_INFO_2A>()[i];
        printer.name = Text(record.pPrinterName);
        printer.serverName = OptionalText(record.pServerName);
        printer.attributes = record.Attributes;
        break;
      }
      case 4: {
        const PRINTER_INFO_4A& record = buffer.records<PRINTER_INFO_4A>()[i];
        printer.name = Text(record.pPrinterName);
        printer.serverName = OptionalText(record.pServerName);
        printer.attributes = record.Attributes;
        break;
      }
      default: {
        const PRINTER_INFO_5A& record = buffer.records<PRINTER_INFO_5A>()[i];
        printer.name = Text(record.pPrinterName);
        printer.attributes = record.Attributes;
        break;
      }
    }
    printers.push_back(std::move(printer));
  }
  return ERROR_SUCCESS;
}

Win32Error Win32Spooler::openPrinter(const char* name, std::uint32_t access,
                                     platform::PrinterHandle& printer) {
  PRINTER_DEFAULTSA defaults{};
  defaults.DesiredAccess = access;
  HANDLE opened = nullptr;
  // The name parameter is declared writable but only read.
  const BOOL ok = ::OpenPrinterA(const_cast<char*>(name), &opened, &defaults);
  const Win32Error error = ResultOf(ok);
  printer = ok ? HandleOf<platform::PrinterHandle>(opened) : platform::PrinterHandle{};
  return error;
}

Win32Error Win32Spooler::closePrinter(platform::PrinterHandle printer) {
  return ResultOf(::ClosePrinter(ToPrinter(printer)));
}

Win32Error Win32Spooler::getPrinterData(platform::PrinterHandle printer, const char* valueName,
                                        std::uint32_t* type, void* data, std::uint32_t size,
                                        std::uint32_t& needed) {
  DWORD valueType = 0;
  DWORD valueSize = 0;
  const DWORD error = ::GetPrinterDataA(ToPrinter(printer), const_cast<char*>(valueName),
                                        &valueType, static_cast<BYTE*>(data), size, &valueSize);
  if (type != nullptr) *type = valueType;
  needed = valueSize;
  return error;
}

Win32Error Win32Spooler::getPrinter2(platform::PrinterHandle printer, std::uint32_t bufferBytes,
                                     platform::PrinterInfo2& info, std::uint32_t& bytesNeeded) {
  RecordBuffer buffer(bufferBytes);
  DWORD needed = 0;
  const BOOL ok = ::GetPrinterA(ToPrinter(printer), 2, buffer.data(), buffer.size(), &needed);
  const Win32Error error = ResultOf(ok);
  bytesNeeded = needed;
  if (!ok) return error;
  const PRINTER_INFO_2A& record = *buffer.records<PRINTER_INFO_2A>();
  info.serverName = OptionalText(record.pServerName);
  info.printerName = Text(record.pPrinterName);
  info.shareName = Text(record.pShareName);
  info.portName = Text(record.pPortName);
  info.driverName = Text(record.pDriverName);
  info.comment = Text(record.pComment);
  info.location = Text(record.pLocation);
  info.printProcessor = Text(record.pPrintProcessor);
  info.datatype = Text(record.pDatatype);
  info.attributes = record.Attributes;
  info.status = record.Status;
  info.jobs = record.cJobs;
  return ERROR_SUCCESS;
}

}  // namespace win32

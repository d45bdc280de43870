#include "platform/win32/win32_spooler.h"

#include "platform/win32/convert.h"
// After windows.h (through convert.h).
#include <winspool.h>

namespace win32 {
namespace {

using platform::Win32Error;

HANDLE ToPrinter(platform::PrinterHandle printer) { return NativeOf<HANDLE>(printer); }

std::string Text(const char* text) { return text != nullptr ? text : ""; }
// The spooler's parameters are declared writable but only read.
char* Writable(const char* text) { return const_cast<char*>(text); }
char* Writable(const std::string& text) { return const_cast<char*>(text.c_str()); }
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
        printer.printProcessor = Text(record.pPrintProcessor);
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

Win32Error Win32Spooler::setPrinter2(platform::PrinterHandle printer,
                                     const platform::PrinterInfo2& info) {
  DWORD needed = 0;
  ::GetPrinterA(ToPrinter(printer), 2, nullptr, 0, &needed);
  if (needed == 0) return ::GetLastError();
  RecordBuffer buffer(needed);
  if (!::GetPrinterA(ToPrinter(printer), 2, buffer.data(), buffer.size(), &needed))
    return ::GetLastError();
  PRINTER_INFO_2A record = *buffer.records<PRINTER_INFO_2A>();
  record.pShareName = Writable(info.shareName);
  record.pPortName = Writable(info.portName);
  record.pDriverName = Writable(info.driverName);
  record.pComment = Writable(info.comment);
  record.pLocation = Writable(info.location);
  record.pPrintProcessor = Writable(info.printProcessor);
  record.pDatatype = Writable(info.datatype);
  record.Attributes = info.attributes;
  return ResultOf(::SetPrinterA(ToPrinter(printer), 2, reinterpret_cast<BYTE*>(&record), 0));
}

Win32Error Win32Spooler::deletePrinter(platform::PrinterHandle printer) {
  return ResultOf(::DeletePrinter(ToPrinter(printer)));
}

Win32Error Win32Spooler::deletePrinterConnection(const char* name) {
  return ResultOf(::DeletePrinterConnectionA(Writable(name)));
}

Win32Error Win32Spooler::enumJobs(platform::PrinterHandle printer, std::uint32_t firstJob,
                                  std::uint32_t count, std::uint32_t bufferBytes,
                                  std::vector<platform::JobInfo1>& jobs,
                                  std::uint32_t& bytesNeeded) {
  jobs.clear();
  RecordBuffer buffer(bufferBytes);
  DWORD needed = 0;
  DWORD returned = 0;
  const BOOL ok = ::EnumJobsA(ToPrinter(printer), firstJob, count, 1, buffer.data(), buffer.size(),
                              &needed, &returned);
  const Win32Error error = ResultOf(ok);
  bytesNeeded = needed;
  if (!ok) return error;
  for (DWORD i = 0; i < returned; ++i) {
    const JOB_INFO_1A& record = buffer.records<JOB_INFO_1A>()[i];
    jobs.push_back(platform::JobInfo1{record.JobId, Text(record.pDocument), record.Status});
  }
  return ERROR_SUCCESS;
}

Win32Error Win32Spooler::setJob(platform::PrinterHandle printer, std::uint32_t jobId,
                                std::uint32_t command) {
  return ResultOf(::SetJobA(ToPrinter(printer), jobId, 0, nullptr, command));
}

namespace {

platform::DriverInfo2 DriverOf(const DRIVER_INFO_2A& record) {
  return platform::DriverInfo2{record.cVersion,           Text(record.pName),
                               Text(record.pEnvironment), Text(record.pDriverPath),
                               Text(record.pDataFile),    Text(record.pConfigFile)};
}

}  // namespace

Win32Error Win32Spooler::enumPrinterDrivers(const char* environment, std::uint32_t bufferBytes,
                                            std::vector<platform::DriverInfo2>& drivers,
                                            std::uint32_t& bytesNeeded) {
  drivers.clear();
  RecordBuffer buffer(bufferBytes);
  DWORD needed = 0;
  DWORD returned = 0;
  const BOOL ok = ::EnumPrinterDriversA(nullptr, Writable(environment), 2, buffer.data(),
                                        buffer.size(), &needed, &returned);
  const Win32Error error = ResultOf(ok);
  bytesNeeded = needed;
  if (!ok) return error;
  for (DWORD i = 0; i < returned; ++i)
    drivers.push_back(DriverOf(buffer.records<DRIVER_INFO_2A>()[i]));
  return ERROR_SUCCESS;
}

Win32Error Win32Spooler::deletePrinterDriver(const char* environment, const char* name) {
  return ResultOf(::DeletePrinterDriverA(nullptr, Writable(environment), Writable(name)));
}

Win32Error Win32Spooler::getPrinterDriver2(platform::PrinterHandle printer, const char* environment,
                                           std::uint32_t bufferBytes, platform::DriverInfo2& info,
                                           std::uint32_t& bytesNeeded) {
  RecordBuffer buffer(bufferBytes);
  DWORD needed = 0;
  const BOOL ok = ::GetPrinterDriverA(ToPrinter(printer), Writable(environment), 2, buffer.data(),
                                      buffer.size(), &needed);
  const Win32Error error = ResultOf(ok);
  bytesNeeded = needed;
  if (!ok) return error;
  info = DriverOf(*buffer.records<DRIVER_INFO_2A>());
  return ERROR_SUCCESS;
}

Win32Error Win32Spooler::deleteMonitor(const char* environment, const char* name) {
  return ResultOf(::DeleteMonitorA(nullptr, Writable(environment), Writable(name)));
}

Win32Error Win32Spooler::enumPrintProcessors(const char* environment, std::uint32_t bufferBytes,
                                             std::vector<std::string>& names,
                                             std::uint32_t& bytesNeeded) {
  names.clear();
  RecordBuffer buffer(bufferBytes);
  DWORD needed = 0;
  DWORD returned = 0;
  const BOOL ok = ::EnumPrintProcessorsA(nullptr, Writable(environment), 1, buffer.data(),
                                         buffer.size(), &needed, &returned);
  const Win32Error error = ResultOf(ok);
  bytesNeeded = needed;
  if (!ok) return error;
  for (DWORD i = 0; i < returned; ++i)
    names.push_back(Text(buffer.records<PRINTPROCESSOR_INFO_1A>()[i].pName));
  return ERROR_SUCCESS;
}

Win32Error Win32Spooler::deletePrintProcessor(const char* environment, const char* name) {
  return ResultOf(::DeletePrintProcessorA(nullptr, Writable(environment), Writable(name)));
}

}  // namespace win32

// The print spooler (WINSPOOL), as far as printer discovery and the removal
// of printers, jobs, drivers, monitors and print processors need it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "win32_types.h"

namespace platform {

namespace printer_enum {
inline constexpr std::uint32_t kLocal = 0x2;        // PRINTER_ENUM_LOCAL
inline constexpr std::uint32_t kConnections = 0x4;  // PRINTER_ENUM_CONNECTIONS
}  // namespace printer_enum

namespace printer_access {
inline constexpr std::uint32_t kUse = 0x8;              // PRINTER_ACCESS_USE
inline constexpr std::uint32_t kAdminister = 0x4;       // PRINTER_ACCESS_ADMINISTER
inline constexpr std::uint32_t kReadControl = 0x20000;  // READ_CONTROL
inline constexpr std::uint32_t kAllAccess = 0xF000C;    // PRINTER_ALL_ACCESS
}  // namespace printer_access

namespace printer_attr {
inline constexpr std::uint32_t kDefault = 0x4;   // PRINTER_ATTRIBUTE_DEFAULT
inline constexpr std::uint32_t kShared = 0x8;    // PRINTER_ATTRIBUTE_SHARED
inline constexpr std::uint32_t kNetwork = 0x10;  // PRINTER_ATTRIBUTE_NETWORK
inline constexpr std::uint32_t kLocal = 0x40;    // PRINTER_ATTRIBUTE_LOCAL
}  // namespace printer_attr

namespace job_control {
inline constexpr std::uint32_t kCancel = 3;  // JOB_CONTROL_CANCEL
inline constexpr std::uint32_t kDelete = 5;  // JOB_CONTROL_DELETE
}  // namespace job_control

// One record of EnumPrintersA at level 2, 4 or 5: the fields the program
// reads. The server name exists at levels 2 and 4 only (and is null for
// local printers).
struct EnumeratedPrinter {
  std::string name;
  std::optional<std::string> serverName;
  std::uint32_t attributes = 0;
  std::string printProcessor;  // level 2 only
};

// PRINTER_INFO_2A, the fields the program reads; a null server name stays
// empty-optional.
struct PrinterInfo2 {
  std::optional<std::string> serverName;
  std::string printerName;
  std::string shareName;
  std::string portName;
  std::string driverName;
  std::string comment;
  std::string location;
  std::string printProcessor;
  std::string datatype;
  std::uint32_t attributes = 0;
  std::uint32_t status = 0;
  std::uint32_t jobs = 0;
};

// JOB_INFO_1A, the fields the program reads.
struct JobInfo1 {
  std::uint32_t jobId = 0;
  std::string document;
  std::uint32_t status = 0;
};

// DRIVER_INFO_2A.
struct DriverInfo2 {
  std::uint32_t version = 0;
  std::string name;
  std::string environment;
  std::string driverPath;
  std::string dataFile;
  std::string configFile;
};

// Each operation mirrors the Win32 function named beside it. The byte
// counts are those Windows reports for its own record layouts, so that the
// program's size queries and buffer reuse behave as on Windows.
class Spooler {
 public:
  virtual ~Spooler() = default;

  // EnumPrintersA(flags, no name, level, buffer of `bufferBytes`): a buffer
  // that is too small (0 for the size query) gives kInsufficientBuffer with
  // `bytesNeeded` set; kRpcServerUnavailable when the spooler is not running.
  virtual Win32Error enumPrinters(std::uint32_t flags, std::uint32_t level,
                                  std::uint32_t bufferBytes,
                                  std::vector<EnumeratedPrinter>& printers,
                                  std::uint32_t& bytesNeeded) = 0;
  // OpenPrinterA(name, no data type, no device mode, access).
  virtual Win32Error openPrinter(const char* name, std::uint32_t access,
                                 PrinterHandle& printer) = 0;
  // ClosePrinter.
  virtual Win32Error closePrinter(PrinterHandle printer) = 0;
  // GetPrinterDataA: `size` is the buffer size, `needed` receives the value's size.
  virtual Win32Error getPrinterData(PrinterHandle printer, const char* valueName,
                                    std::uint32_t* type, void* data, std::uint32_t size,
                                    std::uint32_t& needed) = 0;
  // GetPrinterA at level 2 into a buffer of `bufferBytes`: kInsufficientBuffer
  // with `bytesNeeded` when it is too small.
  virtual Win32Error getPrinter2(PrinterHandle printer, std::uint32_t bufferBytes,
                                 PrinterInfo2& info, std::uint32_t& bytesNeeded) = 0;
  // SetPrinterA at level 2 with `info`'s fields; what PrinterInfo2 does not
  // carry (device mode, security, separator file, priorities, times) stays
  // as the printer has it.
  virtual Win32Error setPrinter2(PrinterHandle printer, const PrinterInfo2& info) = 0;
  // DeletePrinter: the printer goes once its last job has gone.
  virtual Win32Error deletePrinter(PrinterHandle printer) = 0;
  // DeletePrinterConnectionA.
  virtual Win32Error deletePrinterConnection(const char* name) = 0;

  // EnumJobsA(printer, firstJob, count, level 1), conventions as enumPrinters.
  virtual Win32Error enumJobs(PrinterHandle printer, std::uint32_t firstJob, std::uint32_t count,
                              std::uint32_t bufferBytes, std::vector<JobInfo1>& jobs,
                              std::uint32_t& bytesNeeded) = 0;
  // SetJobA(printer, jobId, level 0, no data, command).
  virtual Win32Error setJob(PrinterHandle printer, std::uint32_t jobId, std::uint32_t command) = 0;

  // EnumPrinterDriversA(no server, environment, level 2); a null
  // environment is the running one. Conventions as enumPrinters.
  virtual Win32Error enumPrinterDrivers(const char* environment, std::uint32_t bufferBytes,
                                        std::vector<DriverInfo2>& drivers,
                                        std::uint32_t& bytesNeeded) = 0;
  // DeletePrinterDriverA(no server, environment, name): the driver's files
  // stay. kPrinterDriverInUse while a printer uses it.
  virtual Win32Error deletePrinterDriver(const char* environment, const char* name) = 0;
  // GetPrinterDriverA(printer, environment, level 2), conventions as getPrinter2.
  virtual Win32Error getPrinterDriver2(PrinterHandle printer, const char* environment,
                                       std::uint32_t bufferBytes, DriverInfo2& info,
                                       std::uint32_t& bytesNeeded) = 0;

  // DeleteMonitorA(no server, environment, name).
  virtual Win32Error deleteMonitor(const char* environment, const char* name) = 0;

  // EnumPrintProcessorsA(no server, environment, level 1): the names.
  virtual Win32Error enumPrintProcessors(const char* environment, std::uint32_t bufferBytes,
                                         std::vector<std::string>& names,
                                         std::uint32_t& bytesNeeded) = 0;
  // DeletePrintProcessorA(no server, environment, name).
  virtual Win32Error deletePrintProcessor(const char* environment, const char* name) = 0;
};

// Owns one open printer handle.
using Printer = Owner<Spooler, PrinterHandle, &Spooler::closePrinter>;

}  // namespace platform

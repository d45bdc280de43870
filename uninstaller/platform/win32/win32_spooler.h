// The print spooler through WINSPOOL.
#pragma once

#include "platform/spooler.h"

namespace win32 {

class Win32Spooler final : public platform::Spooler {
 public:
  // Levels 1, 2, 4 and 5 are read; any other gives ERROR_INVALID_LEVEL
  // without a call, since its records could not be read back.
  platform::Win32Error enumPrinters(std::uint32_t flags, std::uint32_t level,
                                    std::uint32_t bufferBytes,
                                    std::vector<platform::EnumeratedPrinter>& printers,
                                    std::uint32_t& bytesNeeded) override;
  platform::Win32Error openPrinter(const char* name, std::uint32_t access,
                                   platform::PrinterHandle& printer) override;
  platform::Win32Error closePrinter(platform::PrinterHandle printer) override;
  platform::Win32Error getPrinterData(platform::PrinterHandle printer, const char* valueName,
                                      std::uint32_t* type, void* data, std::uint32_t size,
                                      std::uint32_t& needed) override;
  platform::Win32Error getPrinter2(platform::PrinterHandle printer, std::uint32_t bufferBytes,
                                   platform::PrinterInfo2& info,
                                   std::uint32_t& bytesNeeded) override;
  // GetPrinterA at level 2 for the fields PrinterInfo2 does not carry, then
  // SetPrinterA with the given ones over them. Wine takes an unregistered
  // print processor (Windows refuses with 1798).
  platform::Win32Error setPrinter2(platform::PrinterHandle printer,
                                   const platform::PrinterInfo2& info) override;
  platform::Win32Error deletePrinter(platform::PrinterHandle printer) override;
  platform::Win32Error deletePrinterConnection(const char* name) override;
  // Wine's EnumJobsA always fails.
  platform::Win32Error enumJobs(platform::PrinterHandle printer, std::uint32_t firstJob,
                                std::uint32_t count, std::uint32_t bufferBytes,
                                std::vector<platform::JobInfo1>& jobs,
                                std::uint32_t& bytesNeeded) override;
  platform::Win32Error setJob(platform::PrinterHandle printer, std::uint32_t jobId,
                              std::uint32_t command) override;
  platform::Win32Error enumPrinterDrivers(const char* environment, std::uint32_t bufferBytes,
                                          std::vector<platform::DriverInfo2>& drivers,
                                          std::uint32_t& bytesNeeded) override;
  // Wine deletes a driver that is still in use (Windows refuses with 3001).
  platform::Win32Error deletePrinterDriver(const char* environment, const char* name) override;
  platform::Win32Error getPrinterDriver2(platform::PrinterHandle printer, const char* environment,
                                         std::uint32_t bufferBytes, platform::DriverInfo2& info,
                                         std::uint32_t& bytesNeeded) override;
  platform::Win32Error deleteMonitor(const char* environment, const char* name) override;
  platform::Win32Error enumPrintProcessors(const char* environment, std::uint32_t bufferBytes,
                                           std::vector<std::string>& names,
                                           std::uint32_t& bytesNeeded) override;
  // Wine's DeletePrintProcessorA succeeds and removes nothing.
  platform::Win32Error deletePrintProcessor(const char* environment, const char* name) override;
};

}  // namespace win32

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
};

}  // namespace win32

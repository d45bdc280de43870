// The simulated print spooler. Like Windows NT it keeps its printers in the
// registry, so that what the program writes through the spooler can be read
// back from the registry and the other way round:
//
//   HKLM\SYSTEM\CurrentControlSet\Control\Print\Printers\<name>
//       "Name", "Printer Driver", "Port", "Print Processor", "Datatype",
//       "Share Name", "Description", "Location", "Attributes", "Status"
//       \PrinterDriverData    the printer data (GetPrinterDataA)
//   HKCU\Printers\Connections\,,<server>,<printer>
//       "Server", "Provider"
//
// Simplified: a connection's printer lives on another computer, which the
// machine does not model. Its driver, attributes and data are kept in the
// connection key itself ("Printer Driver", "Attributes", PrinterDriverData).
// Level-2 records carry no device mode, so their sizes are a little smaller
// than on Windows; every size the spooler reports is still computed as
// Windows lays the records out on x64 (fixed part plus the strings).
//
// When the "Spooler" service is not running (on the NT family), every call
// fails with RPC_S_SERVER_UNAVAILABLE (1722), as on Windows.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/spooler.h"
#include "sim_registry.h"
#include "sim_services.h"
#include "sim_text.h"

namespace sim {

struct PrinterSetup {
  PrinterSetup(std::string printerName, std::string driverName,
               std::uint32_t printerAttributes = platform::printer_attr::kLocal)
      : name(std::move(printerName)),
        driver(std::move(driverName)),
        attributes(printerAttributes) {}

  std::string name;
  std::string driver;
  std::string port = "LPT1:";
  std::uint32_t attributes = platform::printer_attr::kLocal;
  std::string printProcessor = "winprint";
  std::string datatype = "RAW";
  std::string shareName;
  std::string comment;
  std::string location;
};

class SimSpooler final : public platform::Spooler {
 public:
  static constexpr const char* kPrintersKey =
      "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers";
  static constexpr const char* kConnectionsKey = "HKCU\\Printers\\Connections";

  SimSpooler(SimRegistry& registry, SimServices& services, bool isNt);

  // Seeding.
  void addPrinter(const PrinterSetup& setup);
  // A connection to \\<server>\<share>; its name is "\\server\share".
  void addConnection(std::string_view server, std::string_view share, std::string_view driver,
                     std::uint32_t attributes = platform::printer_attr::kNetwork);
  void setPrinterData(std::string_view printer, std::string_view valueName, std::uint32_t type,
                      std::vector<std::uint8_t> data);
  void setPrinterString(std::string_view printer, std::string_view valueName,
                        std::string_view text);
  void setPrinterDword(std::string_view printer, std::string_view valueName, std::uint32_t value);
  bool printerExists(std::string_view printer) const;
  // The registry key of a printer or connection, "" when there is none.
  std::string printerKey(std::string_view printer) const;

  // Faults to inject.
  // Every call answers 1722, whatever the service's state.
  void setNotResponding(bool notResponding) { notResponding_ = notResponding; }
  // The enumeration into a buffer of the right size fails with `error`.
  void failEnumeration(platform::Win32Error error) { enumerationError_ = error; }
  void failOpen(std::string_view printer, platform::Win32Error error);
  // The level-2 read into a buffer of the right size fails with `error`.
  void failLevel2(std::string_view printer, platform::Win32Error error);

  std::size_t openHandleCount() const { return handles_.size(); }

  // platform::Spooler
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

 private:
  bool responding() const;
  // Every printer of the machine (local ones first, as the registry lists
  // them, then the connections) with its registry key.
  struct Known {
    std::string name;
    std::string key;
    bool connection = false;
    std::string server;
  };
  std::vector<Known> knownPrinters(std::uint32_t flags) const;
  std::optional<Known> findPrinter(std::string_view name) const;
  platform::PrinterInfo2 readInfo(const Known& printer) const;

  SimRegistry& registry_;
  SimServices& services_;
  bool isNt_;
  bool notResponding_ = false;
  platform::Win32Error enumerationError_ = 0;
  std::map<std::string, platform::Win32Error, LessNoCase> openErrors_;
  std::map<std::string, platform::Win32Error, LessNoCase> level2Errors_;
  std::map<platform::PrinterHandle, std::string> handles_;
  std::uintptr_t nextHandle_ = 0x5000;
};

}  // namespace sim

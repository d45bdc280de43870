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
//   HKLM\SYSTEM\CurrentControlSet\Control\Print\Environments\<environment>
//       \Drivers\Version-<n>\<driver>  (Windows 9x: \Drivers\<driver>)
//           "Driver", "Data File", "Configuration File", "Version"
//       \Print Processors\<processor>   "Driver"
//   HKLM\SYSTEM\CurrentControlSet\Control\Print\Monitors\<monitor>   "Driver"
//
// As on Windows: a driver that a local printer uses cannot be deleted
// (ERROR_PRINTER_DRIVER_IN_USE, 3001), nor a print processor that one uses
// (ERROR_CAN_NOT_COMPLETE, 1003, the answer of the local spooler's use
// count); SetPrinterA takes only a print processor registered in the
// running environment (ERROR_UNKNOWN_PRINTPROCESSOR, 1798); a printer
// deleted while jobs are queued is pending deletion until its last job
// goes. JOB_CONTROL_CANCEL leaves a job listed as deleting until
// JOB_CONTROL_DELETE removes it. A driver is in use only in the running
// environment, where the printers take their drivers from; DeletePrinterDriverA
// deletes the newest version of the name and leaves older ones.
//
// Every call of the removal asks the machine's faults first (by its Win32
// name, with the printer, driver, monitor or processor as the subject).
//
// Simplified: a connection's printer lives on another computer, which the
// machine does not model. Its driver, attributes and data are kept in the
// connection key itself ("Printer Driver", "Attributes", PrinterDriverData).
// Level-2 records carry no device mode, so their sizes are a little smaller
// than on Windows; every size the spooler reports is still computed as
// Windows lays the records out on x64 (fixed part plus the strings). Jobs
// live in memory (Windows keeps them in spool files); their records carry
// the printer name, document and data type as strings. Driver paths are
// given back as seeded.
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

#include "faults.h"
#include "os_profiles.h"
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

struct DriverSetup {
  DriverSetup(std::string driverName, std::string driverEnvironment = "")
      : name(std::move(driverName)), environment(std::move(driverEnvironment)) {}

  std::string name;
  std::string environment;  // empty: the running one
  int version = -1;         // -1: the running Windows' own driver version
  std::string driverPath = "driver.dll";
  std::string dataFile = "data.ppd";
  std::string configFile = "ui.dll";
};

// One SetJobA the program made.
struct JobControl {
  std::string printer;
  std::uint32_t jobId = 0;
  std::uint32_t command = 0;
};

class SimSpooler final : public platform::Spooler {
 public:
  static constexpr const char* kPrintersKey =
      "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers";
  static constexpr const char* kConnectionsKey = "HKCU\\Printers\\Connections";

  static constexpr const char* kEnvironmentsKey =
      "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Environments";
  static constexpr const char* kMonitorsKey =
      "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors";

  SimSpooler(SimRegistry& registry, SimServices& services, Faults& faults,
             const OsProfile& profile);

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
  void addDriver(const DriverSetup& setup);
  void addMonitor(std::string_view name, std::string_view dll = "monitor.dll");
  // A print processor in an environment ("": the running one).
  void addPrintProcessor(std::string_view name, std::string_view environment = "",
                         std::string_view dll = "processor.dll");
  // Queues a job; its id.
  std::uint32_t addJob(std::string_view printer, std::string_view document);

  bool printerExists(std::string_view printer) const;
  bool driverExists(std::string_view name, std::string_view environment = "") const;
  bool monitorExists(std::string_view name) const;
  bool printProcessorExists(std::string_view name, std::string_view environment = "") const;
  // The jobs queued for a printer, in order.
  std::vector<platform::JobInfo1> jobs(std::string_view printer) const;
  const std::vector<JobControl>& jobControls() const { return jobControls_; }
  // The registry key of an environment's drivers ("": the running one).
  std::string driversKey(std::string_view environment = "") const;
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
  platform::Win32Error setPrinter2(platform::PrinterHandle printer,
                                   const platform::PrinterInfo2& info) override;
  platform::Win32Error deletePrinter(platform::PrinterHandle printer) override;
  platform::Win32Error deletePrinterConnection(const char* name) override;
  platform::Win32Error enumJobs(platform::PrinterHandle printer, std::uint32_t firstJob,
                                std::uint32_t count, std::uint32_t bufferBytes,
                                std::vector<platform::JobInfo1>& jobs,
                                std::uint32_t& bytesNeeded) override;
  platform::Win32Error setJob(platform::PrinterHandle printer, std::uint32_t jobId,
                              std::uint32_t command) override;
  platform::Win32Error enumPrinterDrivers(const char* environment, std::uint32_t bufferBytes,
                                          std::vector<platform::DriverInfo2>& drivers,
                                          std::uint32_t& bytesNeeded) override;
  platform::Win32Error deletePrinterDriver(const char* environment, const char* name) override;
  platform::Win32Error getPrinterDriver2(platform::PrinterHandle printer, const char* environment,
                                         std::uint32_t bufferBytes, platform::DriverInfo2& info,
                                         std::uint32_t& bytesNeeded) override;
  platform::Win32Error deleteMonitor(const char* environment, const char* name) override;
  platform::Win32Error enumPrintProcessors(const char* environment, std::uint32_t bufferBytes,
                                           std::vector<std::string>& names,
                                           std::uint32_t& bytesNeeded) override;
  platform::Win32Error deletePrintProcessor(const char* environment, const char* name) override;

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
  // The printer behind an open handle; kInvalidHandle, or 1722 when the
  // spooler does not answer.
  platform::Win32Error printerOf(platform::PrinterHandle printer, Known& known) const;
  // The environment a call names (null or empty: the running one), or the
  // error Windows gives for one it does not serve.
  platform::Win32Error environmentOf(const char* environment, std::string& resolved) const;
  std::vector<platform::DriverInfo2> driversIn(const std::string& environment) const;
  // The key of the newest version of a driver, "" when it is not installed.
  std::string driverKey(const std::string& environment, std::string_view name) const;
  std::string processorsKey(const std::string& environment) const;
  // Whether a local printer uses the driver (the processor) in `environment`.
  bool localPrinterUses(const std::string& environment, std::string_view value,
                        std::string_view name) const;
  void removePrinterKey(const std::string& name);

  SimRegistry& registry_;
  SimServices& services_;
  Faults& faults_;
  bool isNt_;
  std::string runningEnvironment_;
  int ownDriverVersion_;
  bool notResponding_ = false;
  platform::Win32Error enumerationError_ = 0;
  std::map<std::string, platform::Win32Error, LessNoCase> openErrors_;
  std::map<std::string, platform::Win32Error, LessNoCase> level2Errors_;
  std::map<platform::PrinterHandle, std::string> handles_;
  std::uintptr_t nextHandle_ = 0x5000;
  std::map<std::string, std::vector<platform::JobInfo1>, LessNoCase> jobs_;
  std::set<std::string, LessNoCase> pendingDeletion_;
  std::vector<JobControl> jobControls_;
  std::uint32_t nextJobId_ = 2;
};

}  // namespace sim

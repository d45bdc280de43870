#include "sim_spooler.h"

#include <algorithm>
#include <cstring>

#include "sim_errors.h"
#include "sim_folders.h"

namespace sim {
namespace {

namespace err = platform::error;
constexpr platform::Win32Error kInvalidLevel = 124;  // ERROR_INVALID_LEVEL
constexpr std::uint32_t kPendingDeletion = 0x4;      // PRINTER_STATUS_PENDING_DELETION
constexpr std::uint32_t kJobDeleting = 0x4;          // JOB_STATUS_DELETING

// Sizes of the fixed parts of the x64 records.
constexpr std::uint32_t kInfo2Fixed = 13 * 8 + 8 * 4;  // 13 pointers, 8 DWORDs
constexpr std::uint32_t kInfo4Fixed = 2 * 8 + 8;       // 2 pointers, a DWORD and padding
constexpr std::uint32_t kInfo5Fixed = 2 * 8 + 16;      // 2 pointers, 3 DWORDs and padding
constexpr std::uint32_t kJob1Fixed = 96;               // a DWORD, 6 pointers, 5 DWORDs, SYSTEMTIME
constexpr std::uint32_t kDriver2Fixed = 8 + 5 * 8;     // a DWORD and padding, 5 pointers
constexpr std::uint32_t kProcessor1Fixed = 8;          // 1 pointer

std::uint32_t StringBytes(std::string_view text) { return Count32(text.size() + 1); }

std::uint32_t Info2Bytes(const platform::PrinterInfo2& info) {
  std::uint32_t bytes = kInfo2Fixed;
  if (info.serverName) bytes += StringBytes(*info.serverName);
  for (const std::string* text :
       {&info.printerName, &info.shareName, &info.portName, &info.driverName, &info.comment,
        &info.location, &info.printProcessor, &info.datatype}) {
    bytes += StringBytes(*text);
  }
  return bytes;
}

std::string Text(const SimRegistry& registry, const std::string& key, std::string_view name) {
  return registry.getString(key, name).value_or("");
}

// The driver version a Windows installs its own drivers as: 0 on Windows
// 9x, 1 on NT 3.x, 2 on NT 4, 3 from Windows 2000 on.
int OwnDriverVersion(const OsProfile& profile) {
  if (!profile.isNt()) return 0;
  if (profile.majorVersion <= 3) return 1;
  return profile.majorVersion == 4 ? 2 : 3;
}

}  // namespace

SimSpooler::SimSpooler(SimRegistry& registry, SimServices& services, Faults& faults,
                       const OsProfile& profile)
    : registry_(registry),
      services_(services),
      faults_(faults),
      isNt_(profile.isNt()),
      // Win32s has no Win32 spooler environment; its drivers are kept as
      // Windows 9x keeps them, under a name of their own.
      runningEnvironment_(profile.spoolerEnvironment.empty() ? "Windows 3.1"
                                                             : profile.spoolerEnvironment),
      ownDriverVersion_(OwnDriverVersion(profile)) {}

void SimSpooler::addPrinter(const PrinterSetup& setup) {
  const std::string key = std::string(kPrintersKey) + "\\" + setup.name;
  registry_.setString(key, "Name", setup.name);
  registry_.setString(key, "Printer Driver", setup.driver);
  registry_.setString(key, "Port", setup.port);
  registry_.setString(key, "Print Processor", setup.printProcessor);
  registry_.setString(key, "Datatype", setup.datatype);
  registry_.setString(key, "Share Name", setup.shareName);
  registry_.setString(key, "Description", setup.comment);
  registry_.setString(key, "Location", setup.location);
  registry_.setDword(key, "Attributes", setup.attributes);
  registry_.setDword(key, "Status", 0);
  registry_.createKeyPath(key + "\\PrinterDriverData");
}

void SimSpooler::addConnection(std::string_view server, std::string_view share,
                               std::string_view driver, std::uint32_t attributes) {
  const std::string key =
      std::string(kConnectionsKey) + "\\,," + std::string(server) + "," + std::string(share);
  registry_.setString(key, "Server", "\\\\" + std::string(server));
  registry_.setString(key, "Provider", "win32spl.dll");
  registry_.setString(key, "Printer Driver", driver);
  registry_.setDword(key, "Attributes", attributes);
  registry_.createKeyPath(key + "\\PrinterDriverData");
}

std::vector<SimSpooler::Known> SimSpooler::knownPrinters(std::uint32_t flags) const {
  std::vector<Known> printers;
  if (flags & platform::printer_enum::kLocal) {
    for (const std::string& name : registry_.subkeyNames(kPrintersKey)) {
      const std::string key = std::string(kPrintersKey) + "\\" + name;
      printers.push_back(
          {Text(registry_, key, "Name").empty() ? name : Text(registry_, key, "Name"), key, false,
           ""});
    }
  }
  if (flags & platform::printer_enum::kConnections) {
    for (const std::string& entry : registry_.subkeyNames(kConnectionsKey)) {
      // ",,server,printer"
      const std::vector<std::string> parts = SplitNonEmpty(entry, ',');
      if (parts.size() != 2) continue;
      printers.push_back({"\\\\" + parts[0] + "\\" + parts[1],
                          std::string(kConnectionsKey) + "\\" + entry, true, "\\\\" + parts[0]});
    }
  }
  return printers;
}

std::optional<SimSpooler::Known> SimSpooler::findPrinter(std::string_view name) const {
  for (const Known& printer :
       knownPrinters(platform::printer_enum::kLocal | platform::printer_enum::kConnections)) {
    if (EqualNoCase(printer.name, name)) return printer;
  }
  return std::nullopt;
}

bool SimSpooler::printerExists(std::string_view printer) const {
  return findPrinter(printer).has_value();
}

std::string SimSpooler::printerKey(std::string_view printer) const {
  const std::optional<Known> known = findPrinter(printer);
  return known ? known->key : std::string();
}

void SimSpooler::setPrinterData(std::string_view printer, std::string_view valueName,
                                std::uint32_t type, std::vector<std::uint8_t> data) {
  registry_.setValueBytes(printerKey(printer) + "\\PrinterDriverData", valueName, type,
                          std::move(data));
}

void SimSpooler::setPrinterString(std::string_view printer, std::string_view valueName,
                                  std::string_view text) {
  registry_.setString(printerKey(printer) + "\\PrinterDriverData", valueName, text);
}

void SimSpooler::setPrinterDword(std::string_view printer, std::string_view valueName,
                                 std::uint32_t value) {
  registry_.setDword(printerKey(printer) + "\\PrinterDriverData", valueName, value);
}

void SimSpooler::failOpen(std::string_view printer, platform::Win32Error error) {
  openErrors_[std::string(printer)] = error;
}

void SimSpooler::failLevel2(std::string_view printer, platform::Win32Error error) {
  level2Errors_[std::string(printer)] = error;
}

bool SimSpooler::responding() const {
  if (notResponding_) return false;
  // Windows 9x runs its spooler inside the system, not as a service.
  if (!isNt_) return true;
  return services_.state("Spooler") == platform::scm::kRunning;
}

platform::PrinterInfo2 SimSpooler::readInfo(const Known& printer) const {
  platform::PrinterInfo2 info;
  if (printer.connection) info.serverName = printer.server;
  info.printerName = printer.name;
  info.driverName = Text(registry_, printer.key, "Printer Driver");
  info.portName = Text(registry_, printer.key, "Port");
  info.shareName = Text(registry_, printer.key, "Share Name");
  info.comment = Text(registry_, printer.key, "Description");
  info.location = Text(registry_, printer.key, "Location");
  info.printProcessor = Text(registry_, printer.key, "Print Processor");
  info.datatype = Text(registry_, printer.key, "Datatype");
  info.attributes = registry_.getDword(printer.key, "Attributes").value_or(0);
  info.status = registry_.getDword(printer.key, "Status").value_or(0);
  if (pendingDeletion_.count(printer.name) != 0) info.status |= kPendingDeletion;
  if (auto queued = jobs_.find(printer.name); queued != jobs_.end())
    info.jobs = Count32(queued->second.size());
  return info;
}

platform::Win32Error SimSpooler::enumPrinters(std::uint32_t flags, std::uint32_t level,
                                              std::uint32_t bufferBytes,
                                              std::vector<platform::EnumeratedPrinter>& printers,
                                              std::uint32_t& bytesNeeded) {
  printers.clear();
  bytesNeeded = 0;
  if (auto injected = faults_.check("EnumPrintersA")) return *injected;
  if (!responding()) return err::kRpcServerUnavailable;
  if (level != 2 && level != 4 && level != 5) return kInvalidLevel;

  std::vector<platform::EnumeratedPrinter> records;
  for (const Known& known : knownPrinters(flags)) {
    const platform::PrinterInfo2 info = readInfo(known);
    platform::EnumeratedPrinter record{known.name, info.serverName, info.attributes, ""};
    switch (level) {
      case 2:
        record.printProcessor = info.printProcessor;
        bytesNeeded += Info2Bytes(info);
        break;
      case 4:
        bytesNeeded += kInfo4Fixed + StringBytes(known.name) +
                       (info.serverName ? StringBytes(*info.serverName) : 0);
        break;
      default:
        record.serverName.reset();  // level 5 has no server field
        bytesNeeded += kInfo5Fixed + StringBytes(known.name) + StringBytes(info.portName);
        break;
    }
    records.push_back(std::move(record));
  }
  if (bufferBytes < bytesNeeded) return err::kInsufficientBuffer;
  if (enumerationError_ != 0) return enumerationError_;
  printers = std::move(records);
  return err::kSuccess;
}

platform::Win32Error SimSpooler::openPrinter(const char* name, std::uint32_t,
                                             platform::PrinterHandle& printer) {
  printer = {};
  if (auto injected = faults_.check("OpenPrinterA", View(name))) return *injected;
  if (!responding()) return err::kRpcServerUnavailable;
  const std::optional<Known> known = findPrinter(View(name));
  if (!known) return err::kInvalidPrinterName;
  if (auto failure = openErrors_.find(known->name); failure != openErrors_.end()) {
    return failure->second;
  }
  printer = platform::PrinterHandle{nextHandle_++};
  handles_[printer] = known->name;
  return err::kSuccess;
}

platform::Win32Error SimSpooler::closePrinter(platform::PrinterHandle printer) {
  return handles_.erase(printer) == 1 ? err::kSuccess : err::kInvalidHandle;
}

platform::Win32Error SimSpooler::getPrinterData(platform::PrinterHandle printer,
                                                const char* valueName, std::uint32_t* type,
                                                void* data, std::uint32_t size,
                                                std::uint32_t& needed) {
  needed = 0;
  const auto handle = handles_.find(printer);
  if (handle == handles_.end()) return err::kInvalidHandle;
  if (auto injected = faults_.check("GetPrinterDataA", handle->second)) return *injected;
  if (!responding()) return err::kRpcServerUnavailable;
  const std::string key = printerKey(handle->second);
  const std::optional<RegValue> value =
      registry_.value(key + "\\PrinterDriverData", View(valueName));
  if (!value) return err::kFileNotFound;
  needed = Count32(value->data.size());
  if (type != nullptr) *type = value->type;
  if (size < needed) return err::kMoreData;
  if (needed > 0) std::memcpy(data, value->data.data(), needed);
  return err::kSuccess;
}

platform::Win32Error SimSpooler::getPrinter2(platform::PrinterHandle printer,
                                             std::uint32_t bufferBytes,
                                             platform::PrinterInfo2& info,
                                             std::uint32_t& bytesNeeded) {
  bytesNeeded = 0;
  const auto handle = handles_.find(printer);
  if (handle == handles_.end()) return err::kInvalidHandle;
  if (auto injected = faults_.check("GetPrinterA", handle->second)) return *injected;
  if (!responding()) return err::kRpcServerUnavailable;
  const std::optional<Known> known = findPrinter(handle->second);
  if (!known) return err::kInvalidPrinterName;
  platform::PrinterInfo2 read = readInfo(*known);
  bytesNeeded = Info2Bytes(read);
  if (bufferBytes < bytesNeeded) return err::kInsufficientBuffer;
  if (auto failure = level2Errors_.find(known->name); failure != level2Errors_.end()) {
    return failure->second;
  }
  info = std::move(read);
  return err::kSuccess;
}

// ---- Seeding and inspection of drivers, monitors, processors and jobs ----

std::string SimSpooler::driversKey(std::string_view environment) const {
  const std::string env = environment.empty() ? runningEnvironment_ : std::string(environment);
  return std::string(kEnvironmentsKey) + "\\" + env + "\\Drivers";
}

std::string SimSpooler::processorsKey(const std::string& environment) const {
  return std::string(kEnvironmentsKey) + "\\" + environment + "\\Print Processors";
}

void SimSpooler::addDriver(const DriverSetup& setup) {
  const int version = setup.version < 0 ? ownDriverVersion_ : setup.version;
  std::string key = driversKey(setup.environment);
  if (isNt_) key += "\\Version-" + std::to_string(version);
  key += "\\" + setup.name;
  registry_.setString(key, "Driver", setup.driverPath);
  registry_.setString(key, "Data File", setup.dataFile);
  registry_.setString(key, "Configuration File", setup.configFile);
  registry_.setDword(key, "Version", static_cast<std::uint32_t>(version));
}

void SimSpooler::addMonitor(std::string_view name, std::string_view dll) {
  registry_.setString(std::string(kMonitorsKey) + "\\" + std::string(name), "Driver", dll);
}

void SimSpooler::addPrintProcessor(std::string_view name, std::string_view environment,
                                   std::string_view dll) {
  const std::string env = environment.empty() ? runningEnvironment_ : std::string(environment);
  registry_.setString(processorsKey(env) + "\\" + std::string(name), "Driver", dll);
}

std::uint32_t SimSpooler::addJob(std::string_view printer, std::string_view document) {
  const std::optional<Known> known = findPrinter(printer);
  const std::string name = known ? known->name : std::string(printer);
  platform::JobInfo1 job;
  job.jobId = nextJobId_++;
  job.document = std::string(document);
  jobs_[name].push_back(job);
  return job.jobId;
}

bool SimSpooler::driverExists(std::string_view name, std::string_view environment) const {
  const std::string env = environment.empty() ? runningEnvironment_ : std::string(environment);
  return !driverKey(env, name).empty();
}

bool SimSpooler::monitorExists(std::string_view name) const {
  return registry_.keyExists(std::string(kMonitorsKey) + "\\" + std::string(name));
}

bool SimSpooler::printProcessorExists(std::string_view name, std::string_view environment) const {
  const std::string env = environment.empty() ? runningEnvironment_ : std::string(environment);
  return registry_.keyExists(processorsKey(env) + "\\" + std::string(name));
}

std::vector<platform::JobInfo1> SimSpooler::jobs(std::string_view printer) const {
  const auto queued = jobs_.find(std::string(printer));
  return queued == jobs_.end() ? std::vector<platform::JobInfo1>{} : queued->second;
}

// ---- Helpers --------------------------------------------------------------

platform::Win32Error SimSpooler::printerOf(platform::PrinterHandle printer, Known& known) const {
  const auto handle = handles_.find(printer);
  if (handle == handles_.end()) return err::kInvalidHandle;
  if (!responding()) return err::kRpcServerUnavailable;
  const std::optional<Known> found = findPrinter(handle->second);
  if (!found) return err::kInvalidPrinterName;
  known = *found;
  return err::kSuccess;
}

platform::Win32Error SimSpooler::environmentOf(const char* environment,
                                               std::string& resolved) const {
  resolved = (environment == nullptr || environment[0] == '\0') ? runningEnvironment_
                                                                : std::string(environment);
  // Windows 9x serves only its own environment; the NT family every one it
  // knows a directory for.
  const bool served = isNt_ ? SimFolders::EnvironmentDirectory(resolved)[0] != '\0'
                            : EqualNoCase(resolved, runningEnvironment_);
  return served ? err::kSuccess : error::kInvalidEnvironment;
}

std::vector<platform::DriverInfo2> SimSpooler::driversIn(const std::string& environment) const {
  std::vector<platform::DriverInfo2> drivers;
  const std::string base = driversKey(environment);
  auto read = [&](const std::string& key, const std::string& name) {
    platform::DriverInfo2 info;
    info.version = registry_.getDword(key, "Version").value_or(0);
    info.name = name;
    info.environment = environment;
    info.driverPath = Text(registry_, key, "Driver");
    info.dataFile = Text(registry_, key, "Data File");
    info.configFile = Text(registry_, key, "Configuration File");
    drivers.push_back(std::move(info));
  };
  if (!isNt_) {
    for (const std::string& name : registry_.subkeyNames(base)) read(base + "\\" + name, name);
    return drivers;
  }
  for (const std::string& version : registry_.subkeyNames(base)) {
    if (!StartsWithNoCase(version, "Version-")) continue;
    const std::string versionKey = base + "\\" + version;
    for (const std::string& name : registry_.subkeyNames(versionKey))
      read(versionKey + "\\" + name, name);
  }
  return drivers;
}

std::string SimSpooler::driverKey(const std::string& environment, std::string_view name) const {
  const std::string base = driversKey(environment);
  if (!isNt_) {
    const std::string key = base + "\\" + std::string(name);
    return registry_.keyExists(key) ? key : std::string();
  }
  std::vector<std::string> versions = registry_.subkeyNames(base);
  // "Version-3" before "Version-2": the newest first.
  std::reverse(versions.begin(), versions.end());
  for (const std::string& version : versions) {
    const std::string key = base + "\\" + version + "\\" + std::string(name);
    if (StartsWithNoCase(version, "Version-") && registry_.keyExists(key)) return key;
  }
  return std::string();
}

bool SimSpooler::localPrinterUses(const std::string& environment, std::string_view value,
                                  std::string_view name) const {
  if (!EqualNoCase(environment, runningEnvironment_)) return false;
  for (const Known& printer : knownPrinters(platform::printer_enum::kLocal)) {
    if (EqualNoCase(Text(registry_, printer.key, value), name)) return true;
  }
  return false;
}

void SimSpooler::removePrinterKey(const std::string& name) {
  const std::string key = printerKey(name);
  if (!key.empty()) registry_.deleteTree(key);
  pendingDeletion_.erase(name);
  jobs_.erase(name);
}

// ---- Printers and jobs ----------------------------------------------------

platform::Win32Error SimSpooler::setPrinter2(platform::PrinterHandle printer,
                                             const platform::PrinterInfo2& info) {
  const auto handle = handles_.find(printer);
  if (handle == handles_.end()) return err::kInvalidHandle;
  if (auto injected = faults_.check("SetPrinterA", handle->second)) return *injected;
  Known known;
  if (platform::Win32Error e = printerOf(printer, known)) return e;
  if (!registry_.keyExists(processorsKey(runningEnvironment_) + "\\" + info.printProcessor))
    return err::kUnknownPrintProcessor;
  registry_.setString(known.key, "Port", info.portName);
  registry_.setString(known.key, "Printer Driver", info.driverName);
  registry_.setString(known.key, "Print Processor", info.printProcessor);
  registry_.setString(known.key, "Datatype", info.datatype);
  registry_.setString(known.key, "Share Name", info.shareName);
  registry_.setString(known.key, "Description", info.comment);
  registry_.setString(known.key, "Location", info.location);
  std::uint32_t attributes = info.attributes;
  if (isNt_) {
    // The NT family keeps its default printer in the user's profile, not
    // in the printer: the attribute is not stored.
    attributes &= ~platform::printer_attr::kDefault;
  } else if (attributes & platform::printer_attr::kDefault) {
    for (const Known& other : knownPrinters(platform::printer_enum::kLocal)) {
      const std::uint32_t old = registry_.getDword(other.key, "Attributes").value_or(0);
      registry_.setDword(other.key, "Attributes", old & ~platform::printer_attr::kDefault);
    }
  }
  registry_.setDword(known.key, "Attributes", attributes);
  return err::kSuccess;
}

platform::Win32Error SimSpooler::deletePrinter(platform::PrinterHandle printer) {
  const auto handle = handles_.find(printer);
  if (handle == handles_.end()) return err::kInvalidHandle;
  if (auto injected = faults_.check("DeletePrinter", handle->second)) return *injected;
  Known known;
  if (platform::Win32Error e = printerOf(printer, known)) return e;
  if (auto queued = jobs_.find(known.name); queued != jobs_.end() && !queued->second.empty()) {
    pendingDeletion_.insert(known.name);
    return err::kSuccess;
  }
  removePrinterKey(known.name);
  return err::kSuccess;
}

platform::Win32Error SimSpooler::deletePrinterConnection(const char* name) {
  if (auto injected = faults_.check("DeletePrinterConnectionA", View(name))) return *injected;
  if (!responding()) return err::kRpcServerUnavailable;
  const std::optional<Known> known = findPrinter(View(name));
  if (!known || !known->connection) return err::kInvalidPrinterName;
  registry_.deleteTree(known->key);
  return err::kSuccess;
}

platform::Win32Error SimSpooler::enumJobs(platform::PrinterHandle printer, std::uint32_t firstJob,
                                          std::uint32_t count, std::uint32_t bufferBytes,
                                          std::vector<platform::JobInfo1>& jobs,
                                          std::uint32_t& bytesNeeded) {
  jobs.clear();
  bytesNeeded = 0;
  const auto handle = handles_.find(printer);
  if (handle == handles_.end()) return err::kInvalidHandle;
  if (auto injected = faults_.check("EnumJobsA", handle->second)) return *injected;
  Known known;
  if (platform::Win32Error e = printerOf(printer, known)) return e;
  std::vector<platform::JobInfo1> records;
  if (auto queued = jobs_.find(known.name); queued != jobs_.end()) {
    for (std::size_t i = firstJob; i < queued->second.size() && records.size() < count; ++i) {
      const platform::JobInfo1& job = queued->second[i];
      bytesNeeded +=
          kJob1Fixed + StringBytes(known.name) + StringBytes(job.document) + StringBytes("RAW");
      records.push_back(job);
    }
  }
  if (bufferBytes < bytesNeeded) return err::kInsufficientBuffer;
  jobs = std::move(records);
  return err::kSuccess;
}

platform::Win32Error SimSpooler::setJob(platform::PrinterHandle printer, std::uint32_t jobId,
                                        std::uint32_t command) {
  const auto handle = handles_.find(printer);
  if (handle == handles_.end()) return err::kInvalidHandle;
  if (auto injected = faults_.check("SetJobA", handle->second)) return *injected;
  Known known;
  if (platform::Win32Error e = printerOf(printer, known)) return e;
  jobControls_.push_back(JobControl{known.name, jobId, command});
  auto queued = jobs_.find(known.name);
  if (queued == jobs_.end()) return err::kInvalidParameter;
  std::vector<platform::JobInfo1>& list = queued->second;
  auto job = std::find_if(list.begin(), list.end(),
                          [jobId](const platform::JobInfo1& j) { return j.jobId == jobId; });
  if (job == list.end()) return err::kInvalidParameter;
  switch (command) {
    case platform::job_control::kCancel:
      job->status |= kJobDeleting;
      return err::kSuccess;
    case platform::job_control::kDelete:
      list.erase(job);
      if (list.empty() && pendingDeletion_.count(known.name) != 0) removePrinterKey(known.name);
      return err::kSuccess;
    default:
      return err::kInvalidParameter;
  }
}

// ---- Drivers --------------------------------------------------------------

platform::Win32Error SimSpooler::enumPrinterDrivers(const char* environment,
                                                    std::uint32_t bufferBytes,
                                                    std::vector<platform::DriverInfo2>& drivers,
                                                    std::uint32_t& bytesNeeded) {
  drivers.clear();
  bytesNeeded = 0;
  if (auto injected = faults_.check("EnumPrinterDriversA", View(environment))) return *injected;
  if (!responding()) return err::kRpcServerUnavailable;
  std::string env;
  if (platform::Win32Error e = environmentOf(environment, env)) return e;
  std::vector<platform::DriverInfo2> records = driversIn(env);
  for (const platform::DriverInfo2& info : records) {
    bytesNeeded += kDriver2Fixed + StringBytes(info.name) + StringBytes(info.environment) +
                   StringBytes(info.driverPath) + StringBytes(info.dataFile) +
                   StringBytes(info.configFile);
  }
  if (bufferBytes < bytesNeeded) return err::kInsufficientBuffer;
  drivers = std::move(records);
  return err::kSuccess;
}

platform::Win32Error SimSpooler::deletePrinterDriver(const char* environment, const char* name) {
  if (auto injected = faults_.check("DeletePrinterDriverA", View(name))) return *injected;
  if (!responding()) return err::kRpcServerUnavailable;
  std::string env;
  if (platform::Win32Error e = environmentOf(environment, env)) return e;
  const std::string key = driverKey(env, View(name));
  if (key.empty()) return err::kUnknownPrinterDriver;
  if (localPrinterUses(env, "Printer Driver", View(name))) return err::kPrinterDriverInUse;
  registry_.deleteTree(key);
  return err::kSuccess;
}

platform::Win32Error SimSpooler::getPrinterDriver2(platform::PrinterHandle printer,
                                                   const char* environment,
                                                   std::uint32_t bufferBytes,
                                                   platform::DriverInfo2& info,
                                                   std::uint32_t& bytesNeeded) {
  bytesNeeded = 0;
  const auto handle = handles_.find(printer);
  if (handle == handles_.end()) return err::kInvalidHandle;
  if (auto injected = faults_.check("GetPrinterDriverA", handle->second)) return *injected;
  Known known;
  if (platform::Win32Error e = printerOf(printer, known)) return e;
  std::string env;
  if (platform::Win32Error e = environmentOf(environment, env)) return e;
  const std::string driver = Text(registry_, known.key, "Printer Driver");
  for (platform::DriverInfo2& candidate : driversIn(env)) {
    if (!EqualNoCase(candidate.name, driver)) continue;
    bytesNeeded = kDriver2Fixed + StringBytes(candidate.name) + StringBytes(candidate.environment) +
                  StringBytes(candidate.driverPath) + StringBytes(candidate.dataFile) +
                  StringBytes(candidate.configFile);
    if (bufferBytes < bytesNeeded) return err::kInsufficientBuffer;
    info = std::move(candidate);
    return err::kSuccess;
  }
  return err::kUnknownPrinterDriver;
}

// ---- Monitors and print processors ----------------------------------------

platform::Win32Error SimSpooler::deleteMonitor(const char* environment, const char* name) {
  if (auto injected = faults_.check("DeleteMonitorA", View(name))) return *injected;
  if (!responding()) return err::kRpcServerUnavailable;
  std::string env;
  if (platform::Win32Error e = environmentOf(environment, env)) return e;
  const std::string key = std::string(kMonitorsKey) + "\\" + std::string(View(name));
  if (View(name).empty() || !registry_.keyExists(key)) return err::kUnknownPrintMonitor;
  registry_.deleteTree(key);
  return err::kSuccess;
}

platform::Win32Error SimSpooler::enumPrintProcessors(const char* environment,
                                                     std::uint32_t bufferBytes,
                                                     std::vector<std::string>& names,
                                                     std::uint32_t& bytesNeeded) {
  names.clear();
  bytesNeeded = 0;
  if (auto injected = faults_.check("EnumPrintProcessorsA", View(environment))) return *injected;
  if (!responding()) return err::kRpcServerUnavailable;
  std::string env;
  if (platform::Win32Error e = environmentOf(environment, env)) return e;
  std::vector<std::string> found = registry_.subkeyNames(processorsKey(env));
  for (const std::string& name : found) bytesNeeded += kProcessor1Fixed + StringBytes(name);
  if (bufferBytes < bytesNeeded) return err::kInsufficientBuffer;
  names = std::move(found);
  return err::kSuccess;
}

platform::Win32Error SimSpooler::deletePrintProcessor(const char* environment, const char* name) {
  if (auto injected = faults_.check("DeletePrintProcessorA", View(name))) return *injected;
  if (!responding()) return err::kRpcServerUnavailable;
  std::string env;
  if (platform::Win32Error e = environmentOf(environment, env)) return e;
  const std::string key = processorsKey(env) + "\\" + std::string(View(name));
  if (View(name).empty() || !registry_.keyExists(key)) return err::kUnknownPrintProcessor;
  if (localPrinterUses(env, "Print Processor", View(name))) return error::kCanNotComplete;
  registry_.deleteTree(key);
  return err::kSuccess;
}

}  // namespace sim

#include "sim_spooler.h"

#include <cstring>

namespace sim {
namespace {

namespace error = platform::error;
constexpr platform::Win32Error kInvalidLevel = 124;  // ERROR_INVALID_LEVEL

// Sizes of the fixed parts of the x64 records.
constexpr std::uint32_t kInfo2Fixed = 13 * 8 + 8 * 4;  // 13 pointers, 8 DWORDs
constexpr std::uint32_t kInfo4Fixed = 2 * 8 + 8;       // 2 pointers, a DWORD and padding
constexpr std::uint32_t kInfo5Fixed = 2 * 8 + 16;      // 2 pointers, 3 DWORDs and padding

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

}  // namespace

SimSpooler::SimSpooler(SimRegistry& registry, SimServices& services, bool isNt)
    : registry_(registry), services_(services), isNt_(isNt) {}

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
  return info;
}

platform::Win32Error SimSpooler::enumPrinters(std::uint32_t flags, std::uint32_t level,
                                              std::uint32_t bufferBytes,
                                              std::vector<platform::EnumeratedPrinter>& printers,
                                              std::uint32_t& bytesNeeded) {
  printers.clear();
  bytesNeeded = 0;
  if (!responding()) return error::kRpcServerUnavailable;
  if (level != 2 && level != 4 && level != 5) return kInvalidLevel;

  std::vector<platform::EnumeratedPrinter> records;
  for (const Known& known : knownPrinters(flags)) {
    const platform::PrinterInfo2 info = readInfo(known);
    platform::EnumeratedPrinter record{known.name, info.serverName, info.attributes};
    switch (level) {
      case 2:
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
  if (bufferBytes < bytesNeeded) return error::kInsufficientBuffer;
  if (enumerationError_ != 0) return enumerationError_;
  printers = std::move(records);
  return error::kSuccess;
}

platform::Win32Error SimSpooler::openPrinter(const char* name, std::uint32_t,
                                             platform::PrinterHandle& printer) {
  printer = {};
  if (!responding()) return error::kRpcServerUnavailable;
  const std::optional<Known> known = findPrinter(View(name));
  if (!known) return error::kInvalidPrinterName;
  if (auto failure = openErrors_.find(known->name); failure != openErrors_.end()) {
    return failure->second;
  }
  printer = platform::PrinterHandle{nextHandle_++};
  handles_[printer] = known->name;
  return error::kSuccess;
}

platform::Win32Error SimSpooler::closePrinter(platform::PrinterHandle printer) {
  return handles_.erase(printer) == 1 ? error::kSuccess : error::kInvalidHandle;
}

platform::Win32Error SimSpooler::getPrinterData(platform::PrinterHandle printer,
                                                const char* valueName, std::uint32_t* type,
                                                void* data, std::uint32_t size,
                                                std::uint32_t& needed) {
  needed = 0;
  const auto handle = handles_.find(printer);
  if (handle == handles_.end()) return error::kInvalidHandle;
  if (!responding()) return error::kRpcServerUnavailable;
  const std::string key = printerKey(handle->second);
  const std::optional<RegValue> value =
      registry_.value(key + "\\PrinterDriverData", View(valueName));
  if (!value) return error::kFileNotFound;
  needed = Count32(value->data.size());
  if (type != nullptr) *type = value->type;
  if (size < needed) return error::kMoreData;
  if (needed > 0) std::memcpy(data, value->data.data(), needed);
  return error::kSuccess;
}

platform::Win32Error SimSpooler::getPrinter2(platform::PrinterHandle printer,
                                             std::uint32_t bufferBytes,
                                             platform::PrinterInfo2& info,
                                             std::uint32_t& bytesNeeded) {
  bytesNeeded = 0;
  const auto handle = handles_.find(printer);
  if (handle == handles_.end()) return error::kInvalidHandle;
  if (!responding()) return error::kRpcServerUnavailable;
  const std::optional<Known> known = findPrinter(handle->second);
  if (!known) return error::kInvalidPrinterName;
  platform::PrinterInfo2 read = readInfo(*known);
  bytesNeeded = Info2Bytes(read);
  if (bufferBytes < bytesNeeded) return error::kInsufficientBuffer;
  if (auto failure = level2Errors_.find(known->name); failure != level2Errors_.end()) {
    return failure->second;
  }
  info = std::move(read);
  return error::kSuccess;
}

}  // namespace sim

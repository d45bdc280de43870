// The printers the user selected, with their jobs, settings, class keys and
// USB device nodes, and the new default printer.
#include "removal/printer_removal.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/crt.h"
#include "profile/text_utils.h"
#include "shell/locations.h"
#include "shell/message.h"
#include "string_ids.h"

namespace {

namespace error = platform::error;
using platform::Win32Error;

constexpr std::uint32_t kWinIniChange = 0x001A;  // WM_WININICHANGE
constexpr std::uint32_t kMaxJobs = 100;
// A UniqueID longer than this is not read.
constexpr std::uint32_t kUniqueIdBytes = 32;
constexpr std::uint32_t kHardwareIdChars = 256;

constexpr const char* kUserPrinterValueKeys[] = {
    "Printers\\DevModes2",
    "Printers\\Settings",
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\Devices",
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\PrinterPorts",
};
constexpr char k9xPrintersKey[] = "System\\CurrentControlSet\\control\\Print\\Printers\\";

// ---- Print jobs -------------------------------------------------------------

void CancelAndDeleteJobs(RemovalContext& context, platform::PrinterHandle printer,
                         const char* printerName) {
  platform::Spooler& spooler = context.system.spooler;
  std::vector<platform::JobInfo1> jobs;
  std::uint32_t needed = 0;
  spooler.enumJobs(printer, 0, kMaxJobs, 0, jobs, needed);
  if (needed == 0) return;
  if (spooler.enumJobs(printer, 0, kMaxJobs, needed, jobs, needed) != error::kSuccess) return;
  for (const platform::JobInfo1& job : jobs) {
    const std::string item = std::string(printerName) + ", job " + std::to_string(job.jobId);
    spooler.setJob(printer, job.jobId, platform::job_control::kCancel);
    const Win32Error deleted = spooler.setJob(printer, job.jobId, platform::job_control::kDelete);
    if (deleted == error::kSuccess) {
      context.journal.removed(ActionKind::kPrintJob, item);
    } else {
      context.journal.failed(ActionKind::kPrintJob, item, deleted);
    }
  }
}

// ---- The class registration -------------------------------------------------

// The printer's "UniqueID"; none when it cannot be read whole.
std::optional<std::string> ReadUniqueId(RemovalContext& context, platform::PrinterHandle printer,
                                        const char* printerName) {
  char id[kUniqueIdBytes + 1] = {};
  std::uint32_t size = kUniqueIdBytes;
  if (context.os.isWin9x()) {
    PathString key(k9xPrintersKey);
    if (!key.append(printerName) || !key.append("\\PrinterDriverData")) return std::nullopt;
    platform::RegKey opened(context.system.registry);
    if (context.system.registry.openKey(platform::hkey::kLocalMachine, key.c_str(),
                                        platform::regsam::kQueryValue,
                                        opened.out()) != error::kSuccess ||
        context.system.registry.queryValue(opened.get(), "UniqueID", nullptr, id, &size) !=
            error::kSuccess) {
      return std::nullopt;
    }
  } else if (context.system.spooler.getPrinterData(printer, "UniqueID", nullptr, id, size, size) !=
             error::kSuccess) {
    return std::nullopt;
  }
  id[size < sizeof id ? size : kUniqueIdBytes] = '\0';
  return std::string(id);
}

// Empties the class key of its direct subkeys and deletes it. Only a single
// key name is taken: an empty id would name HKEY_CLASSES_ROOT itself and one
// with a backslash a key deeper down, both other programs' registrations.
// The emptying stops at the first subkey that cannot be deleted (one with
// subkeys of its own, on NT), since asking for index 0 again would find the
// same one for ever.
void RemoveClassKey(RemovalContext& context, const std::string& id) {
  if (id.empty() || id.find('\\') != std::string::npos) {
    context.journal.kept(ActionKind::kClassKey, id, KeptReason::kUnsafeName);
    return;
  }
  platform::Registry& registry = context.system.registry;
  platform::RegKey classKey(registry);
  const Win32Error opened = registry.openKey(platform::hkey::kClassesRoot, id.c_str(),
                                             platform::regsam::kAllAccess, classKey.out());
  if (opened != error::kSuccess) {
    context.journal.deletion(ActionKind::kClassKey, id.c_str(), opened);
    return;
  }
  for (;;) {
    char subkey[platform::kMaxPath] = {};
    std::uint32_t length = sizeof subkey;
    if (registry.enumKey(classKey.get(), 0, subkey, &length) != error::kSuccess) break;
    if (registry.deleteKey(classKey.get(), subkey, 0) != error::kSuccess) break;
  }
  classKey.reset();
  context.journal.deletion(ActionKind::kClassKey, id.c_str(),
                           registry.deleteKey(platform::hkey::kClassesRoot, id.c_str(), 0));
}

// ---- The USB device ---------------------------------------------------------

// GetPrivateProfileIntA: the number at the start of the value (decimal, or
// hexadecimal after "0x"), 0 when there is none or it is negative.
std::uint32_t ProfileNumber(platform::IniFiles& ini, const char* key, const char* file) {
  char text[64] = {};
  ini.getPrivateString("Strings", key, "", text, sizeof text, file);
  const char* p = text;
  while (*p == ' ' || *p == '\t') ++p;
  if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
    return static_cast<std::uint32_t>(std::strtoul(p + 2, nullptr, 16));
  }
  const int value = AtoI(p);
  return value > 0 ? static_cast<std::uint32_t>(value) : 0;
}

void RemovePrintersUsbDevice(RemovalContext& context) {
  CPathParts program;
  program.init(context.system, kLocProgramDir);
  PathString script(program.directory());
  if (!script.append("Mainscr0.unm")) return;
  char hardwareId[kHardwareIdChars] = {};
  context.system.ini.getPrivateString("Strings", "HARDWARE_ID_1", "", hardwareId, sizeof hardwareId,
                                      script.c_str());
  const std::uint32_t product = ProfileNumber(context.system.ini, "USB_PID", script.c_str());
  const std::uint32_t vendor = ProfileNumber(context.system.ini, "USB_VID", script.c_str());
  if (hardwareId[0] != '\0' && product != 0 && vendor != 0) {
    RemoveUsbDevice(context, hardwareId, vendor, product);
  }
}

// ---- One printer ------------------------------------------------------------

void RemoveUserSettings(RemovalContext& context, const PrinterEntry& entry) {
  platform::Registry& registry = context.system.registry;
  if (context.os.isNT()) {
    for (const char* keyPath : kUserPrinterValueKeys) {
      platform::RegKey key(registry);
      const std::string item = std::string("HKCU\\") + keyPath + "\\" + entry.name.c_str();
      Win32Error result = registry.openKey(platform::hkey::kCurrentUser, keyPath,
                                           platform::regsam::kSetValue, key.out());
      if (result == error::kSuccess) result = registry.deleteValue(key.get(), entry.name.c_str());
      context.journal.deletion(ActionKind::kUserSetting, item.c_str(), result);
    }
  }
  if (context.os.isWin9x()) {
    for (const char* tail : {"\\PrinterDriverData", ""}) {
      PathString key(k9xPrintersKey);
      PathString item("HKLM,\"");
      if (!key.append(entry.name.c_str()) || !key.append(tail) || !item.append(key.c_str()) ||
          !item.append("\",\"\"")) {
        context.journal.kept(ActionKind::kRegistryKey, entry.name.c_str(), KeptReason::kTooLong);
        continue;
      }
      context.profile.removeSet.slot(ItemCategory::RegistryKeys).append(item);
    }
  }
  PathString key("SOFTWARE\\VARDEL\\");
  if (!key.append(entry.name.c_str())) {
    context.journal.kept(ActionKind::kUserSetting, entry.name.c_str(), KeptReason::kTooLong);
    return;
  }
  const std::string item = std::string("HKCU\\") + key.c_str();
  context.journal.deletion(ActionKind::kUserSetting, item.c_str(),
                           registry.deleteKey(platform::hkey::kCurrentUser, key.c_str(), 0));
}

// True when the default printer went with it.
bool RemoveLocalPrinter(RemovalContext& context, PrinterEntry& entry) {
  platform::Spooler& spooler = context.system.spooler;
  bool defaultDeleted = false;
  {
    platform::Printer printer(spooler);
    const Win32Error opened = spooler.openPrinter(
        entry.name.c_str(), platform::printer_access::kAllAccess, printer.out());
    if (opened != error::kSuccess) {
      // It no longer exists.
      entry.removed = 1;
      context.journal.notPresent(ActionKind::kPrinter, entry.name.c_str());
    } else if (printer.isOpen()) {
      CancelAndDeleteJobs(context, printer.get(), entry.name.c_str());
      if (const std::optional<std::string> uniqueId =
              ReadUniqueId(context, printer.get(), entry.name.c_str())) {
        RemoveClassKey(context, *uniqueId);
      }
      const Win32Error deleted = spooler.deletePrinter(printer.get());
      if (deleted == error::kSuccess) {
        entry.removed = 1;
        defaultDeleted = entry.isDefault != 0;
        context.journal.removed(ActionKind::kPrinter, entry.name.c_str());
      } else {
        context.journal.failed(ActionKind::kPrinter, entry.name.c_str(), deleted);
      }
      RemovePrintersUsbDevice(context);
    }
  }
  RemoveUserSettings(context, entry);
  return defaultDeleted;
}

}  // namespace

void RemovePrinters(RemovalContext& context) {
  PathString replacement;
  bool defaultDeleted = false;
  for (PrinterEntry& entry : context.profile.printers) {
    if (!entry.isToBeRemoved()) {
      // A printer deleted by an earlier pass stays in the list: it must
      // never be named as the new default.
      if (entry.removed == 0) replacement = entry.name;
      continue;
    }
    if (!entry.server.isEmpty()) {
      const Win32Error deleted = context.system.spooler.deletePrinterConnection(entry.name.c_str());
      if (deleted == error::kSuccess) {
        entry.removed = 1;
        defaultDeleted = defaultDeleted || entry.isDefault != 0;
        context.journal.removed(ActionKind::kConnection, entry.name.c_str());
      } else {
        context.journal.failed(ActionKind::kConnection, entry.name.c_str(), deleted);
      }
      continue;
    }
    if (RemoveLocalPrinter(context, entry)) defaultDeleted = true;
  }
  if (!defaultDeleted) return;

  CStringRes& strings = context.strings;
  if (replacement.isEmpty()) {
    Message(context.system.desktop, context.page, strings.text(IDS_DEFAULT_DELETED_NONE_LEFT),
            strings.text(IDS_CAPTION), platform::mb::kOk);
    return;
  }
  char name[platform::kMaxPath] = {};
  crt::CopyTruncated(name, sizeof name, replacement.c_str());
  if (MakeDefaultPrinter(context, name)) {
    for (PrinterEntry& entry : context.profile.printers) {
      entry.isDefault = entry.name.equals(replacement.c_str()) ? 1 : 0;
    }
    context.journal.done(ActionKind::kDefaultPrinter, replacement.c_str());
  } else {
    // MakeDefaultPrinter gives no error code.
    context.journal.failed(ActionKind::kDefaultPrinter, replacement.c_str(), 0);
  }
  std::vector<char> text(std::strlen(strings.text(IDS_DEFAULT_DELETED_NEW)) + sizeof name);
  std::snprintf(text.data(), text.size(), strings.text(IDS_DEFAULT_DELETED_NEW),
                replacement.c_str());
  Message(context.system.desktop, context.page, text.data(), strings.text(IDS_CAPTION),
          platform::mb::kOk);
}

// ---- The default printer ----------------------------------------------------

namespace {

// The first printer the spooler lists, local or connected; empty when none.
std::string FirstPrinter(platform::Spooler& spooler) {
  constexpr std::uint32_t kFlags =
      platform::printer_enum::kLocal | platform::printer_enum::kConnections;
  std::vector<platform::EnumeratedPrinter> printers;
  std::uint32_t needed = 0;
  spooler.enumPrinters(kFlags, 2, 0, printers, needed);
  if (needed == 0 || spooler.enumPrinters(kFlags, 2, needed, printers, needed) != error::kSuccess ||
      printers.empty()) {
    return "";
  }
  return printers.front().name;
}

// The middle field of win.ini's "device" entry on Win32s: the driver
// file's name without directory and extension.
std::string DriverFileTitle(platform::Spooler& spooler, platform::PrinterHandle printer) {
  platform::DriverInfo2 driver;
  std::uint32_t needed = 0;
  spooler.getPrinterDriver2(printer, nullptr, 0, driver, needed);
  if (needed == 0 ||
      spooler.getPrinterDriver2(printer, nullptr, needed, driver, needed) != error::kSuccess) {
    return "";
  }
  char title[platform::kMaxPath] = {};
  crt::SplitPath(driver.driverPath.c_str(), nullptr, nullptr, title, nullptr, sizeof title);
  return title;
}

void BroadcastWinIniChange(RemovalContext& context) {
  platform::Desktop& desktop = context.system.desktop;
  if (context.os.isWin32s()) {
    desktop.sendMessage(platform::kBroadcast, kWinIniChange, 0, 0);
    return;
  }
  // Windows 9x programs look at the section name; the NT family sends none.
  static const char kSection[] = "windows";
  const platform::LParam section =
      context.os.isWin9x() ? reinterpret_cast<platform::LParam>(kSection) : 0;
  platform::LResult result = 0;
  desktop.sendMessageTimeout(platform::kBroadcast, kWinIniChange, 0, section, 0, 1000, &result);
}

}  // namespace

int MakeDefaultPrinter(RemovalContext& context, char* name) {
  platform::Spooler& spooler = context.system.spooler;
  std::string printerName = name != nullptr ? name : "";
  if (printerName.empty()) {
    printerName = FirstPrinter(spooler);
    if (name != nullptr) crt::CopyTruncated(name, platform::kMaxPath, printerName.c_str());
  }
  platform::Printer printer(spooler);
  if (spooler.openPrinter(printerName.c_str(), platform::printer_access::kAllAccess,
                          printer.out()) != error::kSuccess) {
    return 0;
  }
  int made = 0;
  platform::PrinterInfo2 info;
  std::uint32_t needed = 0;
  spooler.getPrinter2(printer.get(), 0, info, needed);
  const bool read =
      needed != 0 && spooler.getPrinter2(printer.get(), needed, info, needed) == error::kSuccess;
  if (read) {
    info.attributes |= platform::printer_attr::kDefault;
    spooler.setPrinter2(printer.get(), info);
    made = 1;
  }
  if (read && !context.os.isWin9x()) {
    std::string middle;
    if (context.os.isNT()) {
      middle = "winspool";
    } else if (context.os.isWin32s()) {
      middle = DriverFileTitle(spooler, printer.get());
    } else {
      middle = info.printProcessor;
    }
    const std::string device = printerName + "," + middle + "," + info.portName;
    context.system.ini.writeProfileString("windows", "device", device.c_str());
    made = 1;
  }
  BroadcastWinIniChange(context);
  return made;
}

// ---- USB device nodes -------------------------------------------------------

namespace {

constexpr std::uint32_t kMaxDevices = 10000;
constexpr std::uint32_t kMaxHardwareIds = 10;
constexpr std::uint32_t kDevicePropertyBytes = 512;
constexpr std::uint32_t kNodePropertyBytes = 256;

bool StartsWith(const char* text, const char* prefix) {
  return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

// The first hardware id of a device node; empty when it cannot be read.
std::string NodeHardwareId(platform::Devices& devices, std::uint32_t devInst) {
  char buffer[kNodePropertyBytes + 1] = {};
  std::uint32_t length = kNodePropertyBytes;
  if (devices.getDevNodeRegistryProperty(devInst, platform::kCmDrpHardwareId, nullptr, buffer,
                                         &length) != platform::cr::kSuccess) {
    return "";
  }
  return buffer;
}

// Whether one of the device's first ten hardware ids begins with `target`
// (bytes compared, case-sensitive).
bool DeviceMatches(platform::Devices& devices, platform::DeviceListHandle list,
                   const platform::DeviceInfoData& device, const char* target) {
  char buffer[kDevicePropertyBytes + 2] = {};
  if (devices.getDeviceRegistryProperty(list, device, platform::kSpdrpHardwareId, nullptr, buffer,
                                        kDevicePropertyBytes, nullptr) != error::kSuccess) {
    return false;
  }
  const char* id = buffer;
  for (std::uint32_t i = 0; i < kMaxHardwareIds && *id != '\0'; ++i) {
    if (StartsWith(id, target)) return true;
    id += std::strlen(id) + 1;
  }
  return false;
}

void RecordDeviceRemoval(Journal& journal, const std::string& id, Win32Error result) {
  if (result == error::kSuccess) {
    journal.removed(ActionKind::kUsbDevice, id);
  } else {
    journal.failed(ActionKind::kUsbDevice, id, result);
  }
}

// The second pass: removes the remembered USB node.
void RemoveRememberedNode(RemovalContext& context, platform::DeviceListHandle list,
                          std::uint32_t remembered) {
  platform::Devices& devices = context.system.devices;
  for (std::uint32_t index = 0; index < kMaxDevices; ++index) {
    platform::DeviceInfoData device;
    if (devices.enumDeviceInfo(list, index, device) != error::kSuccess) return;
    if (device.devInst != remembered) continue;
    const std::string id = NodeHardwareId(devices, device.devInst);
    if (StartsWith(id.c_str(), "USB\\")) {
      RecordDeviceRemoval(context.journal, id, devices.removeDevice(list, device));
    }
    return;
  }
}

}  // namespace

void RemoveUsbDevice(RemovalContext& context, const char* hardwareId, std::uint32_t vendor,
                     std::uint32_t product) {
  platform::Devices& devices = context.system.devices;
  char target[platform::kMaxPath] = {};
  if (hardwareId != nullptr && hardwareId[0] != '\0') {
    // A cut identifier would match other devices.
    if (std::strlen(hardwareId) >= sizeof target) {
      context.journal.kept(ActionKind::kUsbDevice, hardwareId, KeptReason::kTooLong);
      return;
    }
    crt::CopyTruncated(target, sizeof target, hardwareId);
  } else {
    std::snprintf(target, sizeof target, "USB\\VID_%04X&PID_%04X", vendor, product);
  }
  const bool usbTarget = StartsWith(target, "USB\\");

  bool matched = false;
  platform::DeviceList list(devices);
  if (devices.getClassDevs(platform::kDigcfAllClasses, list.out()) == error::kSuccess) {
    std::uint32_t remembered = 0;
    bool childHandled = false;
    for (std::uint32_t index = 0; index < kMaxDevices; ++index) {
      platform::DeviceInfoData device;
      if (devices.enumDeviceInfo(list.get(), index, device) != error::kSuccess) break;
      if (!DeviceMatches(devices, list.get(), device, target)) continue;
      matched = true;
      if (usbTarget) {
        // The physical USB device: its printing function goes first.
        std::uint32_t child = 0;
        const std::string childId =
            devices.getChild(device.devInst, child) == platform::cr::kSuccess
                ? NodeHardwareId(devices, child)
                : std::string();
        if (StartsWith(childId.c_str(), "USBPRINT")) {
          RemoveUsbDevice(context, childId.c_str(), 0, 0);
          childHandled = true;
        } else if (!childHandled) {
          remembered = device.devInst;
        }
      } else {
        // The printing function: its USB parent goes after the pass.
        std::uint32_t parent = 0;
        if (devices.getParent(device.devInst, parent) == platform::cr::kSuccess &&
            StartsWith(NodeHardwareId(devices, parent).c_str(), "USB\\")) {
          remembered = parent;
        }
        RecordDeviceRemoval(context.journal, target, devices.removeDevice(list.get(), device));
      }
    }
    if (remembered != 0) RemoveRememberedNode(context, list.get(), remembered);
  }
  list.reset();
  if (hardwareId != nullptr && !matched) RemoveUsbDevice(context, nullptr, vendor, product);
}

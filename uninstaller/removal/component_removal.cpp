// The spooler's port monitors and print processors, the package's services,
// and the uninstall hooks of its libraries.
#include "removal/component_removal.h"

#include <string>
#include <vector>

#include "platform/crt.h"
#include "profile/text_utils.h"
#include "shell/locations.h"

namespace {

namespace error = platform::error;
using platform::Win32Error;

constexpr char kMonitorsKey[] = "System\\CurrentControlSet\\control\\Print\\Monitors\\";
constexpr char k9xProcessorsKey[] =
    "System\\CurrentControlSet\\control\\Print\\Environments\\Windows 4.0\\Print Processors\\";
constexpr char kEnvironmentsKey[] = "System\\CurrentControlSet\\control\\Print\\Environments\\";
constexpr std::uint32_t kManagerCreateService = 0x0002;  // SC_MANAGER_CREATE_SERVICE
constexpr std::uint32_t kHookPause = 1000;               // ms after each hook call

// RegDeleteKeyA on HKLM\<prefix><name>, journalled; a key too long for its
// buffer is left alone.
void DeleteMachineKey(RemovalContext& context, const char* prefix, const char* middle,
                      const char* name) {
  PathString key(prefix);
  if (!key.append(middle) || !key.append(name)) {
    context.journal.kept(ActionKind::kRegistryKey, name, KeptReason::kTooLong);
    return;
  }
  const std::string item = std::string("HKLM\\") + key.c_str();
  context.journal.deletion(
      ActionKind::kRegistryKey, item.c_str(),
      context.system.registry.deleteKey(platform::hkey::kLocalMachine, key.c_str(), 0),
      error::kFileNotFound);
}

// Changes one field of a printer's level-2 information.
template <typename Change>
int ChangePrinter(RemovalContext& context, const char* printerName, Change change) {
  platform::Spooler& spooler = context.system.spooler;
  platform::Printer printer(spooler);
  if (spooler.openPrinter(printerName, platform::printer_access::kAllAccess, printer.out()) !=
      error::kSuccess) {
    return 0;
  }
  platform::PrinterInfo2 info;
  std::uint32_t needed = 0;
  spooler.getPrinter2(printer.get(), 0, info, needed);
  if (needed == 0 || spooler.getPrinter2(printer.get(), needed, info, needed) != error::kSuccess)
    return 0;
  change(info);
  return spooler.setPrinter2(printer.get(), info) == error::kSuccess ? 1 : 0;
}

}  // namespace

void RemoveMonitors(RemovalContext& context, const char* environment) {
  for (const PathString& monitor : context.profile.removeSet.slot(ItemCategory::Monitors)) {
    context.journal.deletion(ActionKind::kMonitor, monitor.c_str(),
                             context.system.spooler.deleteMonitor(environment, monitor.c_str()),
                             error::kUnknownPrintMonitor);
    // A monitor key that still has subkeys stays on Windows NT.
    if (!context.os.isWin32s()) DeleteMachineKey(context, kMonitorsKey, "", monitor.c_str());
  }
}

void RemovePrintProcessors(RemovalContext& context, const char* environment) {
  platform::Spooler& spooler = context.system.spooler;
  std::vector<std::string> installed;
  std::uint32_t needed = 0;
  spooler.enumPrintProcessors(environment, 0, installed, needed);
  if (needed == 0 ||
      spooler.enumPrintProcessors(environment, needed, installed, needed) != error::kSuccess) {
    return;
  }
  const StringList& wanted = context.profile.removeSet.slot(ItemCategory::PrintProcessors);
  for (const std::string& processor : installed) {
    if (processor.size() > PathString::kMaxLength || !wanted.contains(processor.c_str())) continue;
    if (!ReleasePrintProcessor(context, processor.c_str())) {
      // A printer still uses it.
      context.journal.kept(ActionKind::kPrintProcessor, processor, KeptReason::kInUse);
      continue;
    }
    context.journal.deletion(ActionKind::kPrintProcessor, processor.c_str(),
                             spooler.deletePrintProcessor(environment, processor.c_str()),
                             error::kUnknownPrintProcessor);
    if (context.os.isWin9x()) {
      DeleteMachineKey(context, k9xProcessorsKey, "", processor.c_str());
    } else if (context.os.isNT()) {
      const bool named = environment != nullptr && environment[0] != '\0';
      PathString middle(named ? environment : "Windows NT x86");
      if (!middle.append("\\Print Processors\\")) {
        context.journal.kept(ActionKind::kRegistryKey, processor, KeptReason::kTooLong);
        continue;
      }
      DeleteMachineKey(context, kEnvironmentsKey, middle.c_str(), processor.c_str());
    }
  }
}

int ReleasePrintProcessor(RemovalContext& context, const char* processor) {
  platform::Spooler& spooler = context.system.spooler;
  std::vector<platform::EnumeratedPrinter> printers;
  std::uint32_t needed = 0;
  spooler.enumPrinters(platform::printer_enum::kLocal, 2, 0, printers, needed);
  if (needed == 0 || spooler.enumPrinters(platform::printer_enum::kLocal, 2, needed, printers,
                                          needed) != error::kSuccess) {
    return 1;
  }
  int released = 1;
  for (const platform::EnumeratedPrinter& printer : printers) {
    if (crt::StrCmpI(printer.printProcessor.c_str(), processor) != 0) continue;
    if (SetPrinterProcessor(context, printer.name.c_str(), "WinPrint")) {
      SetPrinterDatatype(context, printer.name.c_str(), "RAW");
    } else {
      released = 0;
    }
  }
  return released;
}

int SetPrinterProcessor(RemovalContext& context, const char* printer, const char* processor) {
  return ChangePrinter(context, printer, [processor](platform::PrinterInfo2& info) {
    info.printProcessor = processor;
  });
}

int SetPrinterDatatype(RemovalContext& context, const char* printer, const char* datatype) {
  return ChangePrinter(context, printer,
                       [datatype](platform::PrinterInfo2& info) { info.datatype = datatype; });
}

void RemoveServices(RemovalContext& context) {
  if (!context.os.isNT()) return;
  platform::ServiceControl& services = context.system.services;
  platform::ScHandle manager(services);
  if (services.openManager(kManagerCreateService, manager.out()) != error::kSuccess) return;
  for (const PathString& name : context.profile.removeSet.slot(ItemCategory::Services)) {
    platform::ScHandle service(services);
    const Win32Error opened = services.openService(manager.get(), name.c_str(),
                                                   platform::scm::kServiceAllAccess, service.out());
    if (opened != error::kSuccess) {
      context.journal.deletion(ActionKind::kService, name.c_str(), opened,
                               error::kServiceDoesNotExist);
      continue;
    }
    const Win32Error deleted = services.deleteService(service.get());
    service.reset();
    if (deleted == error::kSuccess || deleted == error::kServiceMarkedForDelete) {
      // It goes once stopped and no longer open: at the latest at the next start.
      context.profile.rebootNeeded = true;
      if (deleted == error::kSuccess) {
        context.journal.removed(ActionKind::kService, name.c_str());
      } else {
        context.journal.deferred(ActionKind::kService, name.c_str());
      }
    } else {
      context.journal.failed(ActionKind::kService, name.c_str(), deleted);
    }
  }
}

namespace {

bool FileExists(platform::FileSystem& files, const char* path) {
  platform::File file(files);
  return files.createFile(path, platform::file_access::kGenericRead, platform::file_share::kRead,
                          platform::file_disposition::kOpenExisting, 0,
                          file.out()) == error::kSuccess;
}

// Loads the library, calls its entry point if it has one, and gives the
// hook its time before the library goes.
void CallHook(RemovalContext& context, const char* item, const char* library,
              const char* entryPoint, const char* programDirectory) {
  platform::Libraries& libraries = context.system.libraries;
  platform::Library loaded(libraries);
  const Win32Error load = libraries.loadLibrary(library, loaded.out());
  if (load != error::kSuccess) {
    context.journal.failed(ActionKind::kHook, item, load);
    return;
  }
  const Win32Error call = libraries.callRundllEntry(loaded.get(), entryPoint, context.page,
                                                    context.instance, programDirectory, 0);
  if (call == error::kSuccess) {
    context.journal.done(ActionKind::kHook, item);
  } else {
    context.journal.failed(ActionKind::kHook, item, call);
  }
  context.system.clock.sleep(kHookPause);
}

}  // namespace

void RunHooks(RemovalContext& context) {
  platform::System& system = context.system;
  CPathParts driverDirectory;
  driverDirectory.init(system, kLocPrinterDriverDir);
  CPathParts program;
  program.init(system, kLocProgramDir);
  const PathString programDirectory(program.directory());
  const StringList& hooks = context.profile.removeSet.slot(ItemCategory::Hooks);
  for (const PathString& hook : hooks) {
    PathString item(hook);
    char* entryPoint = SplitAt(item.data(), ',');
    if (item.isEmpty() || entryPoint == nullptr || entryPoint[0] == '\0') {
      context.journal.failed(ActionKind::kHook, hook.c_str(), error::kInvalidParameter);
      continue;
    }
    char name[platform::kMaxPath] = {};
    char extension[platform::kMaxPath] = {};
    crt::SplitPath(item.c_str(), nullptr, nullptr, name, extension, sizeof name);

    PathString directory(driverDirectory.directory());
    PathString library(directory);
    PathString besideProgram(programDirectory);
    if (!library.append(name) || !library.append(extension) || !besideProgram.append(name) ||
        !besideProgram.append(extension)) {
      context.journal.kept(ActionKind::kHook, hook.c_str(), KeptReason::kTooLong);
      continue;
    }
    if (!FileExists(system.files, library.c_str()) &&
        FileExists(system.files, besideProgram.c_str())) {
      library = besideProgram;
      directory = programDirectory;
    }
    system.files.setCurrentDirectory(directory.c_str());
    CallHook(context, hook.c_str(), library.c_str(), entryPoint, programDirectory.c_str());
    system.files.setCurrentDirectory(programDirectory.c_str());
  }
}

#include "machine.h"

#include <stdexcept>

#include "ini_text.h"

namespace sim {
namespace {

const OsProfile& NamedProfile(std::string_view name) {
  const OsProfile* profile = FindOsProfile(name);
  if (profile == nullptr)
    throw std::invalid_argument("unknown Windows profile: " + std::string(name));
  return *profile;
}

std::string WithoutTrailingBackslash(std::string path) {
  if (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

std::string DirectoryOf(std::string_view path) {
  const std::size_t cut = path.rfind('\\');
  return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut));
}

constexpr const char* kCurrentVersion = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr const char* kNtCurrentVersion = "HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
constexpr const char* kUserNtCurrentVersion =
    "HKCU\\Software\\Microsoft\\Windows NT\\CurrentVersion";
constexpr const char* kPrint = "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print";

}  // namespace

Machine::Machine(std::string_view profileName) : Machine(NamedProfile(profileName)) {}

Machine::Machine(OsProfile profile)
    : profile_(std::move(profile)),
      files_(registry_, clock_),
      host_(profile_, faults_),
      folders_(profile_),
      ini_(profile_, files_, registry_),
      services_(clock_, registry_, faults_),
      spooler_(registry_, services_, faults_, profile_),
      processes_(files_, faults_),
      devices_(files_, faults_, profile_),
      libraries_(files_, faults_) {
  wire();
  seedFiles();
  seedRegistry();
  seedServices();
  setModuleFileName(host_.moduleFileName());
}

platform::System Machine::system() {
  return platform::System{registry_, services_, host_,    files_,     ini_,     folders_,
                          clock_,    desktop_,  spooler_, processes_, devices_, libraries_};
}

void Machine::wire() {
  files_.setFaults(&faults_);
  registry_.setWow64(profile_.is64Bit);
  registry_.setMachineWriteCheck([this] { return host_.isElevated(); });
  files_.setNtFamily(profile_.isNt());
  services_.setAvailable(profile_.isNt());
  services_.setAdminCheck([this] { return host_.isElevated(); });
}

void Machine::seedFiles() {
  files_.makeDirectories(profile_.windowsDirectory);
  files_.makeDirectories(profile_.systemDirectory);
  if (!profile_.system16Directory.empty()) files_.makeDirectories(profile_.system16Directory);
  files_.makeDirectories(WithoutTrailingBackslash(profile_.tempPath));
  for (const auto& [csidl, path] : profile_.specialFolders) files_.makeDirectories(path);
  if (!profile_.colorDirectory.empty()) {
    files_.makeDirectories(profile_.colorDirectory);
    files_.writeFile(profile_.systemDirectory + "\\mscms.dll", "MZ");
  }
  // SetupAPI came with Windows 98 and 2000 (and was shipped for 95 and NT 4).
  if (profile_.platformId != platform::platform_id::kWin32s && profile_.name != "nt351") {
    files_.writeFile(profile_.systemDirectory + "\\setupapi.dll", "MZ");
  }
  files_.makeDirectories(profile_.windowsDirectory + "\\INF");
  if (profile_.isNt()) {
    // The spooler keeps a directory per environment it serves.
    const std::string spool = profile_.systemDirectory + "\\spool";
    const std::string own = SimFolders::EnvironmentDirectory(profile_.spoolerEnvironment);
    for (const std::string& env : {own, std::string("w32x86"), std::string("win40")}) {
      files_.makeDirectories(spool + "\\drivers\\" + env);
    }
    files_.makeDirectories(spool + "\\prtprocs\\" + own);
    files_.makeDirectories(spool + "\\PRINTERS");
    files_.writeFile(profile_.windowsDirectory + "\\win.ini",
                     "; for 16-bit app support\r\n[fonts]\r\n[extensions]\r\n[mci extensions]\r\n"
                     "[files]\r\n");
  } else {
    files_.writeFile(profile_.windowsDirectory + "\\win.ini",
                     "[windows]\r\nload=\r\nrun=\r\nNullPort=None\r\n\r\n[Desktop]\r\n"
                     "Wallpaper=(None)\r\n");
  }
  files_.writeFile(profile_.windowsDirectory + "\\system.ini", "[boot]\r\nshell=Explorer.exe\r\n");
}

void Machine::seedRegistry() {
  if (profile_.platformId == platform::platform_id::kWin32s) return;  // Windows 3.1's REG.DAT only
  registry_.createKeyPath(std::string(kCurrentVersion) + "\\Run");
  registry_.createKeyPath(std::string(kCurrentVersion) + "\\RunOnce");
  registry_.createKeyPath(std::string(kCurrentVersion) + "\\Uninstall");
  registry_.createKeyPath("HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");
  if (profile_.is64Bit) {
    registry_.createKeyPath("HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run");
    registry_.createKeyPath(
        "HKLM\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\RunOnce");
  }
  registry_.createKeyPath(std::string(kPrint) + "\\Printers");
  registry_.createKeyPath(std::string(kPrint) + "\\Monitors\\Local Port");
  if (!profile_.isNt()) {
    registry_.createKeyPath(std::string(kPrint) + "\\Environments\\Windows 4.0\\Drivers");
    registry_.createKeyPath(std::string(kPrint) +
                            "\\Environments\\Windows 4.0\\Print Processors\\WinPrint");
    return;
  }
  const std::string env = std::string(kPrint) + "\\Environments\\" + profile_.spoolerEnvironment;
  registry_.createKeyPath(env + "\\Drivers\\Version-3");
  registry_.createKeyPath(env + "\\Print Processors\\winprint");
  registry_.createKeyPath("HKLM\\SYSTEM\\CurrentControlSet\\Control\\Session Manager");
  registry_.setString(kNtCurrentVersion, "ProductName", profile_.displayName);
  registry_.setString(kNtCurrentVersion, "CurrentBuildNumber",
                      std::to_string(profile_.buildNumber));
  // win.ini's printer sections live in the user's registry on the NT family.
  const std::string mapping = std::string(kNtCurrentVersion) + "\\IniFileMapping\\win.ini";
  for (const char* section : {"Windows", "Devices", "PrinterPorts"}) {
    const std::string key =
        std::string("Software\\Microsoft\\Windows NT\\CurrentVersion\\") + section;
    registry_.setString(mapping, section, "USR:" + key);
    registry_.createKeyPath(std::string(kUserNtCurrentVersion) + "\\" + section);
  }
}

void Machine::seedServices() {
  if (!profile_.isNt()) return;
  ServiceSetup spooler;
  spooler.displayName = "Print Spooler";
  spooler.imagePath = profile_.majorVersion >= 4 ? "%SystemRoot%\\System32\\spoolsv.exe"
                                                 : "%SystemRoot%\\System32\\spoolss.exe";
  spooler.serviceType = 0x110;  // own process, interactive
  services_.addService("Spooler", spooler);
}

void Machine::setModuleFileName(std::string_view newPath) {
  const std::string path(newPath);  // the view may point into the host's old path
  host_.setModuleFileName(path);
  if (!files_.exists(path)) files_.writeFile(path, "MZ");
  files_.setCurrentDirectory(DirectoryOf(path).c_str());
  updateSearchDirectories();
}

void Machine::updateSearchDirectories() {
  SearchDirectories dirs;
  dirs.program = DirectoryOf(host_.moduleFileName());
  dirs.system = profile_.systemDirectory;
  dirs.system16 = profile_.system16Directory;
  dirs.windows = profile_.windowsDirectory;
  dirs.pathVariable = profile_.pathVariable;
  files_.setSearchDirectories(std::move(dirs));
}

std::size_t Machine::openHandleCount() const {
  return registry_.openHandleCount() + files_.openHandleCount() + services_.openHandleCount() +
         spooler_.openHandleCount() + processes_.openHandleCount() + devices_.openHandleCount() +
         libraries_.openHandleCount();
}

void Machine::runWininit() {
  // Windows 9x carries out WININIT.INI's [rename] section at start and
  // keeps the file as WININIT.BAK: "NUL=path" deletes, "target=source"
  // moves.
  const std::string path = profile_.windowsDirectory + "\\WININIT.INI";
  const std::optional<std::string> text = files_.fileContents(path);
  if (!text) return;
  const IniDocument document(*text);
  if (const IniSection* rename = document.findSection("rename")) {
    for (const IniKey& entry : rename->keys) {
      if (!entry.value || entry.value->empty()) continue;
      if (EqualNoCase(entry.name, "NUL")) {
        files_.removeTree(*entry.value);
      } else if (std::optional<std::string> data = files_.fileContents(*entry.value)) {
        files_.removeTree(entry.name);
        files_.writeFile(entry.name, *data);
        files_.removeTree(*entry.value);
      }
    }
  }
  files_.removeTree(profile_.windowsDirectory + "\\WININIT.BAK");
  files_.writeFile(profile_.windowsDirectory + "\\WININIT.BAK", *text);
  files_.removeTree(path);
}

void Machine::restartWindows() {
  files_.restart();
  if (!profile_.isNt()) runWininit();
  const std::string runOnce = std::string(kCurrentVersion) + "\\RunOnce";
  for (const std::string& name : registry_.valueNames(runOnce))
    registry_.removeValue(runOnce, name);
}

}  // namespace sim

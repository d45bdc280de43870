#include "app/component_dlg.h"

#include <cstdio>
#include <vector>

#include "platform/registry.h"
#include "profile/uninstall_profile.h"
#include "shell/message.h"
#include "string_ids.h"

namespace {

namespace err = platform::error;
namespace mb = platform::mb;

constexpr const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// Opens the product's Uninstall key for reading values, natively and then
// in the 32-bit view; false when neither opens. A key path that does not
// fit MAX_PATH is not opened cut short.
bool OpenUninstallKey(platform::Registry& registry, const char* productGuid,
                      platform::RegKey& key) {
  char path[platform::kMaxPath];
  const int length = productGuid[0] == '\0'
                         ? std::snprintf(path, sizeof path, "%s", kUninstallKey)
                         : std::snprintf(path, sizeof path, "%s\\%s", kUninstallKey, productGuid);
  if (length < 0 || length >= static_cast<int>(sizeof path)) return false;
  const auto root = platform::hkey::kLocalMachine;
  if (registry.openKey(root, path, platform::regsam::kQueryValue, key.out()) == err::kSuccess) {
    return true;
  }
  return registry.openKey(root, path,
                          platform::regsam::kWow64_32Key | platform::regsam::kQueryValue,
                          key.out()) == err::kSuccess;
}

// The key's "UninstallString"; empty when it is missing or empty.
std::vector<char> ReadUninstallString(platform::Registry& registry, platform::RegKeyHandle key) {
  std::uint32_t size = 0;
  if (registry.queryValue(key, "UninstallString", nullptr, nullptr, &size) != err::kSuccess ||
      size == 0) {
    return {};
  }
  std::vector<char> command(size + 1, '\0');
  if (registry.queryValue(key, "UninstallString", nullptr, command.data(), &size) !=
      err::kSuccess) {
    return {};
  }
  command[size] = '\0';  // a value need not end in a NUL
  if (command[0] == '\0') return {};
  return command;
}

}  // namespace

bool CComponentDlg::isRegistered(const char* productGuid) {
  platform::RegKey key(system_.registry);
  return OpenUninstallKey(system_.registry, productGuid, key);
}

void CComponentDlg::decideCompanions(UninstallProfile& profile) {
  if (profile.uninstallFax && !profile.faxProductGuid.isEmpty() &&
      isRegistered(profile.faxProductGuid.c_str())) {
    choice_ = kPrinterAndCompanions;
  }
  if (profile.uninstallScanner && !profile.scannerProductGuid.isEmpty() &&
      isRegistered(profile.scannerProductGuid.c_str())) {
    choice_ = kPrinterAndCompanions;
  }
  if ((profile.uninstallScanner || profile.uninstallFax) && choice_ == kPrinterOnly) {
    profile.uninstallScanner = false;
    profile.uninstallFax = false;
  }
}

bool CComponentDlg::runScannerUninstaller(UninstallProfile& profile, platform::WindowHandle owner,
                                          CStringRes& strings) {
  std::vector<char> command;
  {
    platform::RegKey key(system_.registry);
    if (OpenUninstallKey(system_.registry, profile.scannerProductGuid.c_str(), key)) {
      command = ReadUninstallString(system_.registry, key.get());
    }
  }
  if (!command.empty()) {
    platform::Process process(system_.processes);
    if (system_.processes.createProcess(nullptr, command.data(), process.out()) == err::kSuccess) {
      return true;
    }
    system_.desktop.debugOutput("Failed to call the command from the registry uninstall string!");
    Message(system_.desktop, owner, strings.text(IDS_SCANNER_UNINSTALL_FAILED),
            strings.text(IDS_ERROR_CAPTION), mb::kIconExclamation | mb::kSetForeground);
    return false;
  }
  // No scanner uninstaller: the printer removal was the whole of it. While
  // deletions wait for a restart it is not complete, and the reboot
  // question that follows says so instead.
  if (!profile.rebootNeeded) {
    Message(system_.desktop, owner, strings.text(IDS_COMPLETE), strings.text(IDS_CAPTION),
            mb::kIconInformation);
  }
  return false;
}

// Registry keys and values of the remove set, and the uninstaller's own
// entry in the list of installed programs.
#include "removal/registry_removal.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/crt.h"
#include "profile/text_utils.h"

namespace {

namespace error = platform::error;
using platform::RegKeyHandle;
using platform::Win32Error;

constexpr char kProgramGroupsKey[] = "SOFTWARE\\VARDEL\\OEM0H\\ProgramGroups";
constexpr char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr std::uint32_t kSubkeyNameSize = 261;

struct Root {
  const char* name;
  RegKeyHandle handle;
};
constexpr Root kRoots[] = {
    {"HKLM", platform::hkey::kLocalMachine},
    {"HKCR", platform::hkey::kClassesRoot},
    {"HKCU", platform::hkey::kCurrentUser},
    {"HKU", platform::hkey::kUsers},
};

RegKeyHandle RootNamed(const char* name) {
  for (const Root& root : kRoots) {
    if (crt::StrCmpI(root.name, name) == 0) return root.handle;
  }
  return {};
}

std::string ItemName(const char* root, const char* key, const char* value = "") {
  std::string item = std::string(root) + "\\" + key;
  if (value[0] != '\0') item += std::string("\\") + value;
  return item;
}

void DeleteValue(RemovalContext& context, RegKeyHandle root, const char* rootName, const char* key,
                 const char* value) {
  platform::Registry& registry = context.system.registry;
  const std::string item = ItemName(rootName, key, value);
  platform::RegKey opened(registry);
  const Win32Error open = registry.openKey(root, key, platform::regsam::kAllAccess, opened.out());
  context.journal.deletion(
      ActionKind::kRegistryValue, item,
      open != error::kSuccess ? open : registry.deleteValue(opened.get(), value));
}

// One "root,key,value,flag" item; malformed ones are skipped.
void RemoveRegistryItem(RemovalContext& context, const PathString& entry) {
  PathString item(entry);
  char* key = SplitAt(item.data(), ',');
  char* value = SplitAt(key, ',');
  char* flag = SplitAt(value, ',');
  if (key == nullptr || value == nullptr) return;
  TrimChar(key, '"');
  TrimChar(value, '"');
  const RegKeyHandle root = RootNamed(item.c_str());
  if (!root || key[0] == '\0') return;
  if (value[0] != '\0') {
    DeleteValue(context, root, item.c_str(), key, value);
  } else if (flag != nullptr && flag[0] == '1') {
    DeleteKeyTree(context, root, key);
  } else {
    context.journal.deletion(ActionKind::kRegistryKey, ItemName(item.c_str(), key),
                             context.system.registry.deleteKey(root, key, 0));
  }
}

// The first line of the subkey's "UninstallString", empty when it has none.
std::string UninstallCommand(platform::Registry& registry, RegKeyHandle uninstall,
                             const char* subkey) {
  platform::RegKey entry(registry);
  if (registry.openKey(uninstall, subkey,
                       platform::regsam::kEnumerateSubKeys | platform::regsam::kQueryValue,
                       entry.out()) != error::kSuccess) {
    return {};
  }
  std::uint32_t size = 0;
  if (registry.queryValue(entry.get(), "UninstallString", nullptr, nullptr, &size) !=
          error::kSuccess ||
      size <= 1) {
    return {};
  }
  std::vector<char> data(size + 1, '\0');
  if (registry.queryValue(entry.get(), "UninstallString", nullptr, data.data(), &size) !=
      error::kSuccess) {
    return {};
  }
  std::string command(data.data());
  return command.substr(0, command.find('\n'));
}

}  // namespace

int DeleteKeyTree(RemovalContext& context, RegKeyHandle root, const char* key) {
  platform::Registry& registry = context.system.registry;
  const char* rootName = "HK";
  for (const Root& r : kRoots) {
    if (r.handle == root) rootName = r.name;
  }
  platform::RegKey opened(registry);
  const Win32Error open = registry.openKey(root, key, platform::regsam::kAllAccess, opened.out());
  if (open != error::kSuccess) {
    context.journal.deletion(ActionKind::kRegistryKey, ItemName(rootName, key), open);
    return 0;
  }
  std::uint32_t index = 0;
  Win32Error e = error::kSuccess;
  for (;;) {
    char name[kSubkeyNameSize] = {};
    std::uint32_t length = kSubkeyNameSize;
    e = registry.enumKey(opened.get(), index, name, &length);
    if (e != error::kSuccess) break;
    PathString subkey;
    if (!subkey.append(key) || !subkey.append("\\") || !subkey.append(name)) {
      context.journal.kept(ActionKind::kRegistryKey, std::string(key) + "\\" + name,
                           KeptReason::kTooLong);
      ++index;
      continue;
    }
    // A deleted subkey moves the others down one index.
    if (DeleteKeyTree(context, root, subkey.c_str()) == 0) ++index;
  }
  if (e != error::kNoMoreItems) return 0;
  const Win32Error deleted = registry.deleteKey(root, key, 0);
  context.journal.deletion(ActionKind::kRegistryKey, ItemName(rootName, key), deleted);
  return deleted == error::kSuccess ? 1 : 0;
}

void RemoveRegistryKeys(RemovalContext& context) {
  context.system.registry.deleteKey(platform::hkey::kLocalMachine, kProgramGroupsKey, 0);
  StringList& keys = context.profile.removeSet.slot(ItemCategory::RegistryKeys);
  keys.Normalize();
  // Descending: a subkey's item sorts after its parent's ('\\' above '"').
  std::vector<PathString> descending(keys.begin(), keys.end());
  std::reverse(descending.begin(), descending.end());
  for (const PathString& entry : descending) RemoveRegistryItem(context, entry);
}

void QueueOwnUninstallEntries(RemovalContext& context, const char* pattern) {
  platform::Registry& registry = context.system.registry;
  platform::RegKey uninstall(registry);
  if (registry.openKey(platform::hkey::kLocalMachine, kUninstallKey,
                       platform::regsam::kEnumerateSubKeys | platform::regsam::kQueryValue,
                       uninstall.out()) != error::kSuccess) {
    return;
  }
  for (std::uint32_t index = 0;; ++index) {
    char name[platform::kMaxPath] = {};
    std::uint32_t length = sizeof name;
    const Win32Error e = registry.enumKey(uninstall.get(), index, name, &length);
    if (e == error::kNoMoreItems) break;
    if (e != error::kSuccess) continue;
    if (UninstallCommand(registry, uninstall.get(), name).find(pattern) == std::string::npos)
      continue;
    PathString item("HKLM,\"");
    if (!item.append(kUninstallKey) || !item.append("\\") || !item.append(name) ||
        !item.append("\",\"\"")) {
      context.journal.kept(ActionKind::kRegistryKey, name, KeptReason::kTooLong);
    } else {
      context.profile.removeSet.slot(ItemCategory::RegistryKeys).append(item);
    }
    break;
  }
}

// The package's Start-menu program groups and their shortcuts.
#include "removal/shortcut_removal.h"

#include <cstdio>
#include <string>
#include <vector>

#include "platform/crt.h"
#include "profile/text_utils.h"
#include "removal/file_removal.h"
#include "removal/removal_paths.h"
#include "shell/locations.h"

namespace {

namespace error = platform::error;

constexpr std::uint32_t kDdeTimeout = 5000;
constexpr std::uint32_t kGroupWait = 3000;
constexpr std::uint32_t kGroupPoll = 100;

struct Folder {
  std::int32_t location;
  bool withGroup;
};
constexpr Folder kOrdinaryFolders[] = {{kLocPrograms, true}, {kLocCommonPrograms, true}};
constexpr Folder kStartupFolders[] = {
    {kLocPrograms, true},    {kLocCommonPrograms, true}, {kLocStartup, false},
    {kLocAltStartup, false}, {kLocCommonStartup, false}, {kLocCommonAltStartup, false},
};

// One command to Program Manager in a conversation of its own.
bool ExecuteInProgman(platform::Desktop& desktop, const char* format, const char* argument) {
  char command[2 * platform::kMaxPath] = {};
  const int n = std::snprintf(command, sizeof command, format, argument);
  if (n < 0 || static_cast<std::size_t>(n) >= sizeof command) return false;
  platform::DdeClient client(desktop);
  if (desktop.ddeInitialize(platform::dde::kClientOnly, client.out()) != platform::dde::kNoError)
    return false;
  platform::Conversation conversation(desktop);
  if (desktop.ddeConnect(client.get(), "PROGMAN", "PROGMAN", conversation.out()) !=
      platform::dde::kNoError) {
    return false;
  }
  return desktop.ddeExecute(client.get(), conversation.get(), command, kDdeTimeout) ==
         platform::dde::kNoError;
}

// The shortcut's file in one folder: as named, with ".LNK" and with ".PIF".
void DeleteShortcutFiles(RemovalContext& context, const char* folder, const char* description) {
  char name[platform::kMaxPath] = {};
  char extension[platform::kMaxPath] = {};
  crt::SplitPath(description, nullptr, nullptr, name, extension, platform::kMaxPath);
  for (const char* suffix : {static_cast<const char*>(extension), ".LNK", ".PIF"}) {
    PathString file(name);
    PathString path;
    if (!file.append(suffix) || !JoinPath(path, folder, file.c_str())) {
      context.journal.kept(ActionKind::kShortcut, description, KeptReason::kTooLong);
      continue;
    }
    DeleteFileOrDefer(context, path.c_str(), ActionKind::kShortcut);
  }
}

void DeleteShortcut(RemovalContext& context, const char* group, const char* description,
                    const char* location) {
  const bool startup = crt::StrCmpI(location, "STARTUP") == 0;
  std::vector<Folder> folders(std::begin(kOrdinaryFolders), std::end(kOrdinaryFolders));
  if (startup) folders.assign(std::begin(kStartupFolders), std::end(kStartupFolders));
  for (const Folder& folder : folders) {
    const PathString base = LocationDirectory(context.system, folder.location);
    if (base.isEmpty()) continue;
    PathString directory(base);
    if (folder.withGroup && !JoinPath(directory, base.c_str(), group)) {
      context.journal.kept(ActionKind::kShortcut, description, KeptReason::kTooLong);
      continue;
    }
    DeleteShortcutFiles(context, directory.c_str(), description);
  }
}

// Removes the group's folder once it is empty, waiting a while for the
// shell to let go of the shortcuts just deleted.
void RemoveGroupFolder(RemovalContext& context, const char* group) {
  const PathString base =
      LocationDirectory(context.system, context.os.isNT() ? kLocCommonPrograms : kLocPrograms);
  PathString folder;
  if (base.isEmpty() || !JoinPath(folder, base.c_str(), group)) {
    context.journal.kept(ActionKind::kProgramGroup, group, KeptReason::kTooLong);
    return;
  }
  if (IsGuardedDirectory(context, folder.c_str())) {
    context.journal.kept(ActionKind::kProgramGroup, folder.c_str(), KeptReason::kGuardedDirectory);
    return;
  }
  platform::Clock& clock = context.system.clock;
  const std::uint32_t start = clock.tickCount();
  for (;;) {
    if (IsFolderEmpty(context, folder.c_str())) {
      const platform::Win32Error e = context.system.files.removeDirectory(folder.c_str());
      if (e == error::kSuccess) {
        context.journal.removed(ActionKind::kProgramGroup, folder.c_str());
      } else if (e <= error::kPathNotFound) {
        context.journal.notPresent(ActionKind::kProgramGroup, folder.c_str());
      } else {
        context.journal.failed(ActionKind::kProgramGroup, folder.c_str(), e);
      }
      return;
    }
    const std::uint32_t now = clock.tickCount();
    if (now < start || now - start >= kGroupWait) break;  // waited, or the count wrapped
    clock.sleep(kGroupPoll);
  }
  context.journal.kept(ActionKind::kProgramGroup, folder.c_str(), KeptReason::kInUse);
}

}  // namespace

void RemoveShortcuts(RemovalContext& context) {
  StringList& shortcuts = context.profile.removeSet.slot(ItemCategory::Shortcuts);
  shortcuts.dropAdjacentDuplicates();
  shortcuts.sort();
  // From the last: a group's shortcuts sort after the group's own entry.
  for (auto it = shortcuts.end(); it != shortcuts.begin();) {
    --it;
    PathString item(*it);
    char* description = SplitAt(item.data(), ',');
    char* location = SplitAt(description, ',');
    TrimChar(item.data(), '"');
    if (item.isEmpty()) continue;
    if (description != nullptr) TrimChar(description, '"');
    if (location != nullptr) TrimChar(location, '"');
    if (description != nullptr && description[0] != '\0') {
      if (context.os.isWin32s()) {
        if (RemoveProgmanItem(context, item.c_str(), description)) {
          context.journal.removed(ActionKind::kShortcut, description);
        } else {
          context.journal.notPresent(ActionKind::kShortcut, description);
        }
      } else {
        DeleteShortcut(context, item.c_str(), description, location != nullptr ? location : "");
      }
    } else {
      RemoveGroupFolder(context, item.c_str());
    }
  }
}

int RemoveProgmanItem(RemovalContext& context, const char* group, const char* description) {
  platform::Desktop& desktop = context.system.desktop;
  if (!ExecuteInProgman(desktop, "[ShowGroup(%s,1)]", group)) return 0;
  return ExecuteInProgman(desktop, "[DeleteItem(%s)]", description) ? 1 : 0;
}

bool IsFolderEmpty(RemovalContext& context, const char* path) {
  PathString pattern;
  if (std::char_traits<char>::length(path) < 4 || !JoinPath(pattern, path, "*.*")) return false;
  std::vector<platform::FindData> entries;
  if (context.system.files.findFiles(pattern.c_str(), entries) != error::kSuccess) return true;
  for (const platform::FindData& entry : entries) {
    if (entry.name != "." && entry.name != "..") return false;
  }
  return true;
}

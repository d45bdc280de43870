// The package's files in the search and package directories, and the
// package's directory lists in the registry.
#include "removal/file_removal.h"

#include <cstring>
#include <vector>

#include "platform/crt.h"
#include "profile/text_utils.h"
#include "removal/driver_removal.h"
#include "removal/removal_paths.h"
#include "shell/locations.h"

namespace {

namespace error = platform::error;
using platform::Win32Error;

constexpr char kPackagePathsKey[] = "SOFTWARE\\VARDEL\\OEM0H\\OEMPaths";
constexpr char kCompanionPathsKey[] = "SOFTWARE\\VARDEL\\OEM\\OEMPaths";
constexpr char kRestartAid[] = "RBOOTAID.EXE";
constexpr char kRegistryTracker[] = "regtrk32.ini";

// The name and extension of a path, without its directory.
PathString FileNameOf(const char* path) {
  char name[platform::kMaxPath] = {};
  char extension[platform::kMaxPath] = {};
  crt::SplitPath(path, nullptr, nullptr, name, extension, platform::kMaxPath);
  PathString result(name);
  result.append(extension);
  return result;
}

// What precedes the last backslash: an entry without a trailing backslash
// names its parent.
PathString DirectoryPartOf(const char* path) {
  PathString directory(path);
  char* cut = std::strrchr(directory.data(), '\\');
  if (cut == nullptr) return PathString();
  *cut = '\0';
  return directory;
}

// Every REG_SZ value of an HKLM key, in enumeration order.
std::vector<PathString> DirectoryValues(RemovalContext& context, const char* key,
                                        std::uint32_t nameSize) {
  std::vector<PathString> values;
  platform::Registry& registry = context.system.registry;
  platform::RegKey opened(registry);
  if (registry.openKey(platform::hkey::kLocalMachine, key, platform::regsam::kAllAccess,
                       opened.out()) != error::kSuccess) {
    return values;
  }
  for (std::uint32_t index = 0;; ++index) {
    char name[platform::kMaxPath] = {};
    char data[platform::kMaxPath] = {};
    std::uint32_t nameLength = nameSize;
    std::uint32_t dataSize = sizeof data;
    std::uint32_t type = 0;
    const Win32Error e =
        registry.enumValue(opened.get(), index, name, &nameLength, &type, data, &dataSize);
    if (e == error::kNoMoreItems) break;
    if (e != error::kSuccess) continue;  // too long for its buffer: not a usable directory
    if (type != platform::regtype::kSz && type != platform::regtype::kExpandSz) continue;
    data[sizeof data - 1] = '\0';
    values.emplace_back(data);
  }
  return values;
}

// Removes a package subdirectory that the walk emptied.
void RemoveEmptiedDirectory(RemovalContext& context, const char* path) {
  if (IsGuardedDirectory(context, path)) {
    context.journal.kept(ActionKind::kDirectory, path, KeptReason::kGuardedDirectory);
    return;
  }
  const Win32Error removed = context.system.files.removeDirectory(path);
  if (removed == error::kSuccess) context.journal.removed(ActionKind::kDirectory, path);
  // One that still holds something is the package's no less, and stays
  // without comment.
}

}  // namespace

int DeleteInTree(RemovalContext& context, const char* directory, const char* file, int depth,
                 bool removeEmptied) {
  PathString pattern;
  if (!JoinPath(pattern, directory, "*.*")) {
    context.journal.kept(ActionKind::kDirectory, directory, KeptReason::kTooLong);
    return 0;
  }
  std::vector<platform::FindData> entries;
  if (context.system.files.findFiles(pattern.c_str(), entries) != error::kSuccess) return 0;
  int deferred = 0;
  for (const platform::FindData& entry : entries) {
    const bool isDirectory = (entry.attributes & platform::file_attr::kDirectory) != 0;
    const bool named = crt::StrCmpI(entry.name.c_str(), file) == 0;
    if (!named && !(isDirectory && entry.name[0] != '.' && depth > 0)) continue;
    PathString path;
    if (!JoinPath(path, directory, entry.name.c_str())) {
      context.journal.kept(named ? ActionKind::kFile : ActionKind::kDirectory,
                           std::string(directory) + "\\" + entry.name, KeptReason::kTooLong);
      continue;
    }
    if (named && !isDirectory) {
      if (DeleteFileOrDefer(context, path.c_str())) deferred = 1;
    } else if (isDirectory && entry.name[0] != '.' && depth > 0) {
      if (DeleteInTree(context, path.c_str(), file, depth - 1, removeEmptied) != 0) deferred = 1;
      if (removeEmptied) RemoveEmptiedDirectory(context, path.c_str());
    }
  }
  return deferred;
}

void RemoveFileEverywhere(RemovalContext& context, const char* file) {
  const PathString name = FileNameOf(file);
  UninstallProfile& profile = context.profile;
  for (const PathString& directory : context.directories.flat) {
    PathString path;
    if (!JoinPath(path, directory.c_str(), name.c_str())) {
      context.journal.kept(ActionKind::kFile, name.c_str(), KeptReason::kTooLong);
      continue;
    }
    if (DeleteFileOrDefer(context, path.c_str())) profile.rebootNeeded = true;
  }
  for (const PathString& directory : context.directories.tree) {
    if (DeleteInTree(context, directory.c_str(), name.c_str(), 2, false) != 0)
      profile.rebootNeeded = true;
  }
  for (const PathString& entry : profile.removeSet.slot(ItemCategory::OemPaths)) {
    const PathString directory = DirectoryPartOf(entry.c_str());
    if (directory.isEmpty()) continue;
    // A shared directory named as the package's own is searched for the
    // file, but nothing in it is removed as emptied.
    const bool guarded = IsGuardedDirectory(context, directory.c_str());
    if (DeleteInTree(context, directory.c_str(), file, 3, !guarded) != 0)
      profile.rebootNeeded = true;
    if (guarded) {
      context.journal.kept(ActionKind::kDirectory, directory.c_str(),
                           KeptReason::kGuardedDirectory);
    } else if (context.system.files.removeDirectory(directory.c_str()) == error::kSuccess) {
      context.journal.removed(ActionKind::kDirectory, directory.c_str());
    }
  }
}

void RemoveFiles(RemovalContext& context) {
  UninstallProfile& profile = context.profile;
  StringList& files = profile.removeSet.slot(ItemCategory::Files);
  files.Normalize();
  bool tracker = false;
  for (const PathString& entry : files) {
    PathString name(entry);
    SplitAt(name.data(), '=');
    if (name.isEmpty()) continue;
    RemoveFileEverywhere(context, name.c_str());
    tracker = tracker || name.equals(kRegistryTracker);
  }
  const bool lastPrinter = profile.keptPrinterCount == 0;
  if (lastPrinter && !context.os.isWin32s() && !profile.rebootNeeded)
    RemoveFileEverywhere(context, kRestartAid);
  if (lastPrinter && context.os.isWin32s() && tracker) {
    PathString path;
    if (JoinPath(path, LocationDirectory(context.system, kLocWindowsDir).c_str(),
                 kRegistryTracker) &&
        DeferDeletePendinit(context, path.c_str()) != 0) {
      context.journal.deferred(ActionKind::kFile, path.c_str());
    }
  }
  if (profile.removeOemInf) SweepOemInfFiles(context);
}

void CollectOemDirectories(RemovalContext& context) {
  StringList& paths = context.profile.removeSet.slot(ItemCategory::OemPaths);
  for (const PathString& directory :
       DirectoryValues(context, kPackagePathsKey, platform::kMaxPath)) {
    paths.append(directory);
  }
  paths.dropAdjacentDuplicates();
  paths.sort();
}

int FindInOemPaths(RemovalContext& context, char* buffer, const char* file) {
  platform::FileSystem& files = context.system.files;
  for (const PathString& directory : DirectoryValues(context, kCompanionPathsKey, 256)) {
    PathString path;
    if (!JoinPath(path, directory.c_str(), file)) continue;
    platform::File found(files);
    if (files.createFile(path.c_str(), platform::file_access::kGenericRead,
                         platform::file_share::kWrite, platform::file_disposition::kOpenExisting,
                         platform::file_attr::kNormal, found.out()) != error::kSuccess) {
      continue;
    }
    crt::CopyTruncated(buffer, platform::kMaxPath, path.c_str());
    return 1;
  }
  return 0;
}

platform::ProcessHandle StartWithSwitch(RemovalContext& context, const char* path) {
  platform::ProcessHandle process;
  if (context.system.processes.createProcess(path, " /d", process) != error::kSuccess) return {};
  return process;
}

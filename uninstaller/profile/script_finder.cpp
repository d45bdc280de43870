#include "profile/script_finder.h"

#include <vector>

#include "platform/crt.h"

void FindScripts(platform::FileSystem& files, StringList& list, const char* pathInDirectory,
                 const char* fileName) {
  if (pathInDirectory == nullptr || pathInDirectory[0] == '\0' || fileName == nullptr) return;

  char drive[PathString::kCapacity];
  char directory[PathString::kCapacity];
  crt::SplitPath(pathInDirectory, drive, directory, nullptr, nullptr, PathString::kCapacity);

  // The search runs on the full pattern instead of making the directory
  // current first: the paths found are the same, and the process-wide
  // current directory, which other code may rely on, is never touched.
  PathString folder;
  folder.append(drive);
  folder.append(directory);
  PathString pattern = folder;
  if (!pattern.append(fileName)) return;

  std::vector<platform::FindData> matches;
  if (files.findFiles(pattern.c_str(), matches) != platform::error::kSuccess) return;
  for (const platform::FindData& match : matches) {
    // Only an entry that is a directory and nothing else is passed over.
    if (match.attributes == platform::file_attr::kDirectory) continue;
    PathString path = folder;
    // A path cut at 259 characters would name another file.
    if (path.append(match.name.c_str())) list.append(path);
  }
}

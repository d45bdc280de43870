// Finding the uninstall scripts in a directory.
#pragma once

#include "platform/file_system.h"
#include "profile/string_list.h"

// Appends to `list` the full path of every file in the directory part of
// `pathInDirectory` (drive and directory as _splitpath gives them: the text
// up to and with the last backslash) whose name matches `fileName`, which
// may hold the wildcards of FindFirstFileA. Plain directories are skipped.
// An empty path finds nothing.
void FindScripts(platform::FileSystem& files, StringList& list, const char* pathInDirectory,
                 const char* fileName);

// The package's files in the system and package directories, the emptied
// package directories, deletion deferred to the next start of Windows, and
// the masking tool's program.
#pragma once

#include "removal/journal.h"
#include "removal/removal_context.h"

// Deletes the remove set's files everywhere they are looked for.
void RemoveFiles(RemovalContext& context);
// Deletes one file name from every search directory and package directory.
void RemoveFileEverywhere(RemovalContext& context, const char* file);
// Deletes every file of that name in a directory tree `depth` levels deep,
// removing emptied subdirectories when asked; non-zero when a deletion had
// to be deferred.
int DeleteInTree(RemovalContext& context, const char* directory, const char* file, int depth,
                 bool removeEmptied);
// Deletes a file now or, when it is in use, at the next start of Windows by
// the means the running version has; true when it was deferred.
bool DeleteFileOrDefer(RemovalContext& context, const char* path,
                       ActionKind kind = ActionKind::kFile);
// The two file-based means of deferral (Windows 9x, and Win32s / NT 3.x).
void DeferDeleteWininit(RemovalContext& context, const char* path);
int DeferDeletePendinit(RemovalContext& context, const char* path);

// Adds the package's directories (HKLM "SOFTWARE\VARDEL\OEM0H\OEMPaths") to
// the remove set's OemPaths slot.
void CollectOemDirectories(RemovalContext& context);
// Looks for `file` in the companion programs' directories; non-zero with
// its full path in `buffer` (260 bytes) when found.
int FindInOemPaths(RemovalContext& context, char* buffer, const char* file);
// Starts a program with the command line " /d"; its process handle, or none.
platform::ProcessHandle StartWithSwitch(RemovalContext& context, const char* path);

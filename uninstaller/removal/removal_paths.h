// Paths as the removal steps build them: every one must fit its 260-byte
// buffer, and a directory that is not the package's own is never removed.
#pragma once

#include <cstdint>

#include "profile/path_string.h"
#include "removal/removal_context.h"

// `directory`, a backslash when it has none at its end, and `name`; false
// when the whole would not fit (`path` is then not to be used).
bool JoinPath(PathString& path, const char* directory, const char* name);

// A well-known location's directory, ending in a backslash; empty when it
// cannot be resolved.
PathString LocationDirectory(platform::System& system, std::int32_t code);

// A drive root, or a directory that Windows or every program shares (the
// Windows, system, temporary and program-files directories, the spooler's,
// INF and colour directories and the driver directory's version
// subdirectories, the Start-menu folders, any search directory): such a
// directory is never removed, even when it is empty.
bool IsGuardedDirectory(RemovalContext& context, const char* path);

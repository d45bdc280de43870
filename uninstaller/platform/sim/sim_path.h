// DOS paths as the Win32 file functions read them, and the wildcard match
// of FindFirstFileA.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/win32_types.h"

namespace sim {

// A full path: a drive letter (upper case) and the names below its root.
struct DosPath {
  char drive = 'C';
  std::vector<std::string> names;

  std::string text() const;  // "C:\\a\\b", the root as "C:\\"
  DosPath parent() const;
  const std::string& leaf() const { return names.back(); }
};

// Makes a full path the way GetFullPathNameA does: '/' reads as '\', a path
// without a drive is taken on the current directory's drive, a relative one
// below the current directory, "." and ".." fold away and trailing dots and
// spaces leave each name. Errors: kFilenameTooLong for more than 259
// characters, kPathNotFound for UNC paths (the machine has no network) and
// for an empty path. A drive-relative path ("D:x") on another drive than the
// current one starts at that drive's root (Windows remembers a current
// directory per drive; the machine keeps one).
platform::Win32Error MakeFullPath(std::string_view path, const DosPath& currentDirectory,
                                  DosPath& full);

// Names may not hold the characters Windows reserves; wildcards only when
// asked for.
bool IsValidName(std::string_view name, bool allowWildcards);

// The matching of FindFirstFileA: case-insensitive; '*' any run of
// characters, '?' one character; "*.*" matches every name, a '.' before '*',
// '?' or the end of the pattern also matches the end of a name ("*." matches
// names without an extension), '?' before a '.' or at the end of the pattern
// matches nothing there too (so "a?.txt" matches "a.txt"). Short (8.3)
// names are not modelled, so "*.htm" does not find "page.html".
bool MatchesWildcard(std::string_view pattern, std::string_view name);

}  // namespace sim

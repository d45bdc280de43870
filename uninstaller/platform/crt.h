// Portable equivalents of the Microsoft C runtime functions whose exact
// behaviour the uninstaller relies on (names, paths and list items compare
// and split as they do on Windows, on every build).
#pragma once

#include <cstddef>

namespace crt {

// _strcmpi: compares as if both strings were lower-cased (ASCII letters
// only, as in the "C" locale); negative, zero or positive.
int StrCmpI(const char* a, const char* b);
// _strnicmp: the same over at most `count` characters.
int StrNCmpI(const char* a, const char* b, std::size_t count);

// _splitpath: cuts a path into drive ("C:"), directory (up to and with the
// last '\' or '/'), file name and extension (from the last '.'). Any output
// may be null; each is written with at most `capacity` - 1 characters.
void SplitPath(const char* path, char* drive, char* dir, char* fname, char* ext,
               std::size_t capacity);
// _makepath: joins the parts, adding ':' after a drive letter, '\' after a
// directory that lacks one and '.' before an extension that lacks one. The
// result is cut to `capacity` - 1 characters.
void MakePath(char* out, std::size_t capacity, const char* drive, const char* dir,
              const char* fname, const char* ext);

// Copies at most `capacity` - 1 characters and always terminates (capacity > 0).
void CopyTruncated(char* out, std::size_t capacity, const char* in);
// Appends, keeping the result below `capacity`; false when it was cut.
bool AppendTruncated(char* out, std::size_t capacity, const char* in);

}  // namespace crt

// Writing a report so that a reader finds either the old report or the
// whole new one, never part of one: the text goes to a temporary file in
// the same directory (same volume, so the rename cannot turn into a copy),
// which then takes the report's place in one MoveFileExA.
#pragma once

#include <string_view>

#include "platform/file_system.h"

// 0, or the Win32 error of the step that failed; on failure the temporary
// file is gone and whatever was at `path` is untouched.
platform::Win32Error WriteFileAtomically(platform::FileSystem& files, const char* path,
                                         std::string_view text);

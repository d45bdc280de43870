// Deleting a file now, or at the next start of Windows by the means the
// running version offers.
#include <string>

#include "platform/crt.h"
#include "removal/file_removal.h"
#include "removal/removal_paths.h"
#include "shell/locations.h"

namespace {

namespace error = platform::error;
using platform::Win32Error;

constexpr std::uint32_t kHiddenSystemReadOnly = 0x7;
constexpr char kWininitHeader[] = "[RENAME]\r\n";

// Whether the version code defers through WININIT.INI (95, 98, Me) or the
// PENDINIT list (Win32s, NT 3.x); MoveFileExA elsewhere.
bool UsesWininit(std::int32_t code) {
  return code == COSInfo::kWindows95 || code == COSInfo::kWindows98 || code == COSInfo::kWindowsMe;
}
bool UsesPendinit(std::int32_t code) { return code == COSInfo::kWin32s || code == COSInfo::kNt3; }

Win32Error WriteAll(platform::FileSystem& files, platform::FileHandle file,
                    const std::string& text) {
  std::uint32_t written = 0;
  const Win32Error e =
      files.writeFile(file, text.data(), static_cast<std::uint32_t>(text.size()), written);
  return e != error::kSuccess || written == text.size() ? e : error::kWriteFault;
}

// What must come before a new "NUL=" line so that it lands whole in a
// [rename] section: a line break when the file does not end with one, and
// the header when the last section is another one (or there is none).
std::string WininitPrefix(const std::string& text) {
  std::string prefix;
  if (!text.empty() && text.back() != '\n') prefix = "\r\n";
  std::size_t header = std::string::npos;
  for (std::size_t at = text.find('['); at != std::string::npos; at = text.find('[', at + 1)) {
    if (at == 0 || text[at - 1] == '\n') header = at;
  }
  const bool inRename =
      header != std::string::npos && crt::StrNCmpI(text.c_str() + header, "[rename]", 8) == 0;
  if (!inRename) prefix += kWininitHeader;
  return prefix;
}

// The file's whole text; false when it cannot be read completely.
bool ReadAll(platform::FileSystem& files, platform::FileHandle file, std::string& text) {
  std::uint64_t size = 0;
  if (files.fileSize(file, size) != error::kSuccess || size > 0x7FFFFFFF) return false;
  text.assign(static_cast<std::size_t>(size), '\0');
  std::uint32_t read = 0;
  if (size > 0 && files.readFile(file, text.data(), static_cast<std::uint32_t>(size), read) !=
                      error::kSuccess) {
    return false;
  }
  return read == size;
}

// Appends the path's "NUL=" line to WININIT.INI; whether it was written.
bool AppendWininitLine(RemovalContext& context, const char* path) {
  platform::FileSystem& files = context.system.files;
  PathString wininit;
  if (!JoinPath(wininit, LocationDirectory(context.system, kLocWindowsDir).c_str(),
                "WININIT.INI")) {
    return false;
  }
  platform::File file(files);
  if (files.createFile(wininit.c_str(),
                       platform::file_access::kGenericRead | platform::file_access::kGenericWrite,
                       platform::file_share::kNone, platform::file_disposition::kOpenAlways,
                       platform::file_attr::kNormal, file.out()) != error::kSuccess) {
    return false;
  }
  std::string text;
  if (!ReadAll(files, file.get(), text)) return false;
  const std::string line = WininitPrefix(text) + "NUL=" + path + "\r\n";
  return files.setFilePointer(file.get(), 0, platform::file_move::kEnd, nullptr) ==
             error::kSuccess &&
         WriteAll(files, file.get(), line) == error::kSuccess;
}

}  // namespace

void DeferDeleteWininit(RemovalContext& context, const char* path) {
  AppendWininitLine(context, path);
}

int DeferDeletePendinit(RemovalContext& context, const char* path) {
  const PathString programDirectory = LocationDirectory(context.system, kLocProgramDir);
  PathString program;
  PathString list;
  if (!JoinPath(program, programDirectory.c_str(), "pendinit.exe") ||
      !JoinPath(list, programDirectory.c_str(), "pendinit.ini")) {
    return 0;
  }
  std::uint32_t attributes = 0;
  if (context.system.files.getAttributes(program.c_str(), attributes) != error::kSuccess ||
      (attributes & platform::file_attr::kDirectory) != 0) {
    return 0;
  }
  return context.system.ini.writePrivateString("RENAME", path, "NUL", list.c_str()) ? 1 : 0;
}

bool DeleteFileOrDefer(RemovalContext& context, const char* path, ActionKind kind) {
  platform::FileSystem& files = context.system.files;
  std::uint32_t attributes = 0;
  if (files.getAttributes(path, attributes) == error::kSuccess &&
      (attributes & kHiddenSystemReadOnly) != 0) {
    files.setAttributes(path, attributes & ~kHiddenSystemReadOnly);
  }
  const Win32Error deleted = files.deleteFile(path);
  if (deleted == error::kSuccess) {
    context.journal.removed(kind, path);
    return false;
  }
  if (deleted <= error::kPathNotFound) {
    context.journal.notPresent(kind, path);
    return false;
  }
  const std::int32_t code = context.os.versionCode();
  if (UsesWininit(code)) {
    if (AppendWininitLine(context, path)) {
      context.journal.deferred(kind, path);
      return true;
    }
  } else if (UsesPendinit(code)) {
    if (DeferDeletePendinit(context, path) != 0) {
      context.journal.deferred(kind, path);
      return true;
    }
  } else {
    const Win32Error scheduled = files.deleteAtReboot(path);
    if (scheduled == error::kSuccess) {
      context.journal.deferred(kind, path);
      return true;
    }
  }
  // The file stays: nothing will delete it at the next start either.
  context.journal.failed(kind, path, deleted);
  return false;
}

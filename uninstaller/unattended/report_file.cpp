#include "unattended/report_file.h"

#include <cstring>

namespace {

namespace error = platform::error;

// The directory part of `path` (with its last backslash), or "." for a
// bare file name; false when it does not fit.
bool DirectoryOf(const char* path, char (&directory)[platform::kMaxPath]) {
  const char* slash = std::strrchr(path, '\\');
  const char* colon = std::strchr(path, ':');
  const char* end = slash != nullptr ? slash + 1 : (colon != nullptr ? colon + 1 : path);
  const std::size_t length = static_cast<std::size_t>(end - path);
  if (length == 0) {
    std::strcpy(directory, ".");
    return true;
  }
  if (length >= sizeof directory) return false;
  std::memcpy(directory, path, length);
  directory[length] = '\0';
  return true;
}

platform::Win32Error WriteAll(platform::FileSystem& files, const char* path,
                              std::string_view text) {
  platform::File file(files);
  if (platform::Win32Error e = files.createFile(
          path, platform::file_access::kGenericWrite, platform::file_share::kNone,
          platform::file_disposition::kCreateAlways, platform::file_attr::kNormal, file.out())) {
    return e;
  }
  while (!text.empty()) {
    constexpr std::size_t kChunk = 64 * 1024;
    const auto part = static_cast<std::uint32_t>(text.size() < kChunk ? text.size() : kChunk);
    std::uint32_t written = 0;
    if (platform::Win32Error e = files.writeFile(file.get(), text.data(), part, written)) return e;
    if (written == 0) return error::kWriteFault;
    text.remove_prefix(written);
  }
  // CloseHandle flushes nothing that WriteFile has not taken; a failure of
  // it is still a failure of the write.
  return files.closeFile(file.release());
}

}  // namespace

platform::Win32Error WriteFileAtomically(platform::FileSystem& files, const char* path,
                                         std::string_view text) {
  if (path == nullptr || path[0] == '\0' || std::strlen(path) >= platform::kMaxPath) {
    return error::kInvalidName;
  }
  char directory[platform::kMaxPath];
  if (!DirectoryOf(path, directory)) return error::kFilenameExcedRange;
  char temporary[platform::kMaxPath] = {};
  if (platform::Win32Error e = files.tempFileName(directory, "swr", 0, temporary)) return e;

  platform::Win32Error result = WriteAll(files, temporary, text);
  if (result == error::kSuccess) result = files.moveFileReplacing(temporary, path);
  if (result != error::kSuccess) files.deleteFile(temporary);
  return result;
}

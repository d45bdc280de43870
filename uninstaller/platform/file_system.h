// Files and directories (KERNEL32 file functions).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "win32_types.h"

namespace platform {

namespace file_access {
inline constexpr std::uint32_t kGenericRead = 0x80000000u;
inline constexpr std::uint32_t kGenericWrite = 0x40000000u;
inline constexpr std::uint32_t kNone = 0;
}  // namespace file_access

namespace file_share {
inline constexpr std::uint32_t kNone = 0;
inline constexpr std::uint32_t kRead = 0x1;
inline constexpr std::uint32_t kWrite = 0x2;
inline constexpr std::uint32_t kDelete = 0x4;
}  // namespace file_share

namespace file_disposition {
inline constexpr std::uint32_t kCreateNew = 1;
inline constexpr std::uint32_t kCreateAlways = 2;
inline constexpr std::uint32_t kOpenExisting = 3;
inline constexpr std::uint32_t kOpenAlways = 4;
}  // namespace file_disposition

namespace file_attr {
inline constexpr std::uint32_t kReadOnly = 0x1;
inline constexpr std::uint32_t kHidden = 0x2;
inline constexpr std::uint32_t kSystem = 0x4;
inline constexpr std::uint32_t kDirectory = 0x10;
inline constexpr std::uint32_t kArchive = 0x20;
inline constexpr std::uint32_t kNormal = 0x80;
inline constexpr std::uint32_t kInvalid = 0xFFFFFFFFu;  // INVALID_FILE_ATTRIBUTES
}  // namespace file_attr

namespace file_move {
inline constexpr std::uint32_t kBegin = 0;    // FILE_BEGIN
inline constexpr std::uint32_t kCurrent = 1;  // FILE_CURRENT
inline constexpr std::uint32_t kEnd = 2;      // FILE_END
}  // namespace file_move

namespace file_flag {
inline constexpr std::uint32_t kSequentialScan = 0x08000000u;
}

// One match of FindFirstFileA / FindNextFileA.
struct FindData {
  std::uint32_t attributes = 0;
  std::uint64_t size = 0;
  std::string name;  // cFileName: the name without directory
};

// Each operation mirrors the Win32 function named beside it.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // CreateFileA (no security attributes, no template).
  virtual Win32Error createFile(const char* path, std::uint32_t access, std::uint32_t share,
                                std::uint32_t disposition, std::uint32_t flagsAndAttributes,
                                FileHandle& file) = 0;
  // GetFileSize, both halves.
  virtual Win32Error fileSize(FileHandle file, std::uint64_t& size) = 0;
  // ReadFile: one call, `read` receives the bytes delivered.
  virtual Win32Error readFile(FileHandle file, void* buffer, std::uint32_t toRead,
                              std::uint32_t& read) = 0;
  // WriteFile.
  virtual Win32Error writeFile(FileHandle file, const void* buffer, std::uint32_t toWrite,
                               std::uint32_t& written) = 0;
  // CloseHandle on a file handle.
  virtual Win32Error closeFile(FileHandle file) = 0;
  // SetFilePointerEx: moves the position `distance` bytes from `method`'s
  // origin; `position`, when given, receives the new one. A position before
  // the start fails with kNegativeSeek; one past the end is allowed.
  virtual Win32Error setFilePointer(FileHandle file, std::int64_t distance, std::uint32_t method,
                                    std::uint64_t* position) = 0;
  // SetEndOfFile: the file ends at the position (cut or zero-extended);
  // needs write access.
  virtual Win32Error setEndOfFile(FileHandle file) = 0;

  // GetFileAttributesA: kInvalid with the error when the path does not exist.
  virtual Win32Error getAttributes(const char* path, std::uint32_t& attributes) = 0;
  // SetFileAttributesA.
  virtual Win32Error setAttributes(const char* path, std::uint32_t attributes) = 0;
  // DeleteFileA: kAccessDenied for a read-only or loaded file, kSharingViolation
  // for a file that is open without delete sharing.
  virtual Win32Error deleteFile(const char* path) = 0;
  // CreateDirectoryA (no security attributes).
  virtual Win32Error createDirectory(const char* path) = 0;
  // RemoveDirectoryA: kDirNotEmpty when something is inside.
  virtual Win32Error removeDirectory(const char* path) = 0;
  // CopyFileA.
  virtual Win32Error copyFile(const char* from, const char* to, bool failIfExists) = 0;
  // MoveFileExA(path, no target, MOVEFILE_DELAY_UNTIL_REBOOT): deletes the
  // file at the next start of Windows (NT family only).
  virtual Win32Error deleteAtReboot(const char* path) = 0;
  // MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING): renames a file, taking
  // the place of a file already at `to` in one step.
  virtual Win32Error moveFileReplacing(const char* from, const char* to) = 0;

  // FindFirstFileA / FindNextFileA / FindClose over one pattern, all matches
  // in the order Windows reports them ("." and ".." included where Windows
  // reports them). The error is that of FindFirstFileA: kFileNotFound when
  // nothing matches, kPathNotFound when the directory does not exist.
  virtual Win32Error findFiles(const char* pattern, std::vector<FindData>& matches) = 0;

  // SearchPathA(no path, name, no extension): the standard search order.
  // Returns the length written, 0 when not found.
  virtual std::uint32_t searchPath(const char* fileName, char* buffer, std::uint32_t size) = 0;
  // GetFullPathNameA: `path` made absolute against the current directory.
  // The length written (without the NUL), the size needed when `size` is too
  // small, 0 on failure. `filePart`, when given, points at the file name in
  // `buffer`, or is null when the path ends in a backslash.
  virtual std::uint32_t fullPathName(const char* path, char* buffer, std::uint32_t size,
                                     char** filePart) = 0;
  // GetTempFileNameA: creates the file and returns its path.
  virtual Win32Error tempFileName(const char* directory, const char* prefix, std::uint32_t unique,
                                  char* path /* kMaxPath */) = 0;
  // GetCurrentDirectoryA: the length written, or the size needed.
  virtual std::uint32_t currentDirectory(char* buffer, std::uint32_t size) = 0;
  // SetCurrentDirectoryA.
  virtual Win32Error setCurrentDirectory(const char* path) = 0;
};

// Owns one open file handle.
using File = Owner<FileSystem, FileHandle, &FileSystem::closeFile>;

}  // namespace platform

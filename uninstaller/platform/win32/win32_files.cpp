#include "platform/win32/win32_files.h"

#include "platform/win32/convert.h"
#include "platform/win32/handles.h"

namespace win32 {
namespace {

using platform::Win32Error;

HANDLE ToHandle(platform::FileHandle file) { return NativeOf<HANDLE>(file); }

platform::FindData ToFindData(const WIN32_FIND_DATAA& raw) {
  platform::FindData data;
  data.attributes = raw.dwFileAttributes;
  data.size = (std::uint64_t{raw.nFileSizeHigh} << 32) | raw.nFileSizeLow;
  data.name = raw.cFileName;
  return data;
}

}  // namespace

Win32Error Win32Files::createFile(const char* path, std::uint32_t access, std::uint32_t share,
                                  std::uint32_t disposition, std::uint32_t flagsAndAttributes,
                                  platform::FileHandle& file) {
  const HANDLE opened =
      ::CreateFileA(path, access, share, nullptr, disposition, flagsAndAttributes, nullptr);
  if (opened == INVALID_HANDLE_VALUE) {
    file = {};
    return ::GetLastError();
  }
  file = HandleOf<platform::FileHandle>(opened);
  return ERROR_SUCCESS;
}

Win32Error Win32Files::fileSize(platform::FileHandle file, std::uint64_t& size) {
  DWORD high = 0;
  // A low half of 0xFFFFFFFF is also a valid size; only the last error tells
  // the two apart, so it is cleared first.
  ::SetLastError(ERROR_SUCCESS);
  const DWORD low = ::GetFileSize(ToHandle(file), &high);
  if (low == INVALID_FILE_SIZE) {
    const Win32Error error = ::GetLastError();
    if (error != ERROR_SUCCESS) return error;
  }
  size = (std::uint64_t{high} << 32) | low;
  return ERROR_SUCCESS;
}

Win32Error Win32Files::readFile(platform::FileHandle file, void* buffer, std::uint32_t toRead,
                                std::uint32_t& read) {
  DWORD count = 0;
  const Win32Error error = ResultOf(::ReadFile(ToHandle(file), buffer, toRead, &count, nullptr));
  read = count;
  return error;
}

Win32Error Win32Files::writeFile(platform::FileHandle file, const void* buffer,
                                 std::uint32_t toWrite, std::uint32_t& written) {
  DWORD count = 0;
  const Win32Error error = ResultOf(::WriteFile(ToHandle(file), buffer, toWrite, &count, nullptr));
  written = count;
  return error;
}

Win32Error Win32Files::setFilePointer(platform::FileHandle file, std::int64_t distance,
                                      std::uint32_t method, std::uint64_t* position) {
  LARGE_INTEGER move;
  move.QuadPart = distance;
  LARGE_INTEGER reached;
  reached.QuadPart = 0;
  const Win32Error error = ResultOf(::SetFilePointerEx(ToHandle(file), move, &reached, method));
  if (error == ERROR_SUCCESS && position != nullptr)
    *position = static_cast<std::uint64_t>(reached.QuadPart);
  return error;
}

Win32Error Win32Files::setEndOfFile(platform::FileHandle file) {
  return ResultOf(::SetEndOfFile(ToHandle(file)));
}

Win32Error Win32Files::closeFile(platform::FileHandle file) {
  return ResultOf(::CloseHandle(ToHandle(file)));
}

Win32Error Win32Files::getAttributes(const char* path, std::uint32_t& attributes) {
  attributes = ::GetFileAttributesA(path);
  return attributes == INVALID_FILE_ATTRIBUTES ? ::GetLastError() : ERROR_SUCCESS;
}

Win32Error Win32Files::setAttributes(const char* path, std::uint32_t attributes) {
  return ResultOf(::SetFileAttributesA(path, attributes));
}

Win32Error Win32Files::deleteFile(const char* path) { return ResultOf(::DeleteFileA(path)); }

Win32Error Win32Files::createDirectory(const char* path) {
  return ResultOf(::CreateDirectoryA(path, nullptr));
}

Win32Error Win32Files::removeDirectory(const char* path) {
  return ResultOf(::RemoveDirectoryA(path));
}

Win32Error Win32Files::copyFile(const char* from, const char* to, bool failIfExists) {
  return ResultOf(::CopyFileA(from, to, failIfExists ? TRUE : FALSE));
}

// Wine 8 replaces a read-only target, which Windows refuses with
// ERROR_ACCESS_DENIED.
Win32Error Win32Files::moveFileReplacing(const char* from, const char* to) {
  return ResultOf(::MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING));
}

Win32Error Win32Files::deleteAtReboot(const char* path) {
  return ResultOf(::MoveFileExA(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT));
}

Win32Error Win32Files::findFiles(const char* pattern, std::vector<platform::FindData>& matches) {
  matches.clear();
  WIN32_FIND_DATAA raw{};
  FindHandle find(::FindFirstFileA(pattern, &raw));
  if (!find.valid()) return ::GetLastError();
  do {
    matches.push_back(ToFindData(raw));
  } while (::FindNextFileA(find.get(), &raw));
  return ERROR_SUCCESS;
}

std::uint32_t Win32Files::searchPath(const char* fileName, char* buffer, std::uint32_t size) {
  char* filePart = nullptr;
  return ::SearchPathA(nullptr, fileName, nullptr, size, buffer, &filePart);
}

std::uint32_t Win32Files::fullPathName(const char* path, char* buffer, std::uint32_t size,
                                       char** filePart) {
  return ::GetFullPathNameA(path, size, buffer, filePart);
}

Win32Error Win32Files::tempFileName(const char* directory, const char* prefix, std::uint32_t unique,
                                    char* path) {
  return ::GetTempFileNameA(directory, prefix, unique, path) != 0 ? ERROR_SUCCESS
                                                                  : ::GetLastError();
}

std::uint32_t Win32Files::currentDirectory(char* buffer, std::uint32_t size) {
  return ::GetCurrentDirectoryA(size, buffer);
}

Win32Error Win32Files::setCurrentDirectory(const char* path) {
  return ResultOf(::SetCurrentDirectoryA(path));
}

}  // namespace win32

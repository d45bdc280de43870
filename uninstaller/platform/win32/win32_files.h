// Files and directories through KERNEL32.
#pragma once

#include "platform/file_system.h"

namespace win32 {

class Win32Files final : public platform::FileSystem {
 public:
  platform::Win32Error createFile(const char* path, std::uint32_t access, std::uint32_t share,
                                  std::uint32_t disposition, std::uint32_t flagsAndAttributes,
                                  platform::FileHandle& file) override;
  platform::Win32Error fileSize(platform::FileHandle file, std::uint64_t& size) override;
  platform::Win32Error readFile(platform::FileHandle file, void* buffer, std::uint32_t toRead,
                                std::uint32_t& read) override;
  platform::Win32Error writeFile(platform::FileHandle file, const void* buffer,
                                 std::uint32_t toWrite, std::uint32_t& written) override;
  platform::Win32Error closeFile(platform::FileHandle file) override;
  platform::Win32Error setFilePointer(platform::FileHandle file, std::int64_t distance,
                                      std::uint32_t method, std::uint64_t* position) override;
  platform::Win32Error setEndOfFile(platform::FileHandle file) override;

  platform::Win32Error getAttributes(const char* path, std::uint32_t& attributes) override;
  platform::Win32Error setAttributes(const char* path, std::uint32_t attributes) override;
  platform::Win32Error deleteFile(const char* path) override;
  platform::Win32Error createDirectory(const char* path) override;
  platform::Win32Error removeDirectory(const char* path) override;
  platform::Win32Error copyFile(const char* from, const char* to, bool failIfExists) override;
  platform::Win32Error deleteAtReboot(const char* path) override;
  platform::Win32Error moveFileReplacing(const char* from, const char* to) override;

  platform::Win32Error findFiles(const char* pattern,
                                 std::vector<platform::FindData>& matches) override;
  std::uint32_t searchPath(const char* fileName, char* buffer, std::uint32_t size) override;
  std::uint32_t fullPathName(const char* path, char* buffer, std::uint32_t size,
                             char** filePart) override;
  platform::Win32Error tempFileName(const char* directory, const char* prefix, std::uint32_t unique,
                                    char* path) override;
  std::uint32_t currentDirectory(char* buffer, std::uint32_t size) override;
  platform::Win32Error setCurrentDirectory(const char* path) override;
};

}  // namespace win32

// System directories, the shell's special folders, the spooler's
// directories and the colour directory.
#pragma once

#include "platform/folders.h"

namespace win32 {

class Win32Folders final : public platform::Folders {
 public:
  std::uint32_t windowsDirectory(char* buffer, std::uint32_t size) override;
  std::uint32_t systemDirectory(char* buffer, std::uint32_t size) override;
  std::uint32_t tempPath(char* buffer, std::uint32_t size) override;
  platform::Win32Error specialFolder(int csidl, char* path) override;
  platform::Win32Error printerDriverDirectory(const char* environment, char* buffer,
                                              std::uint32_t size) override;
  platform::Win32Error printProcessorDirectory(const char* environment, char* buffer,
                                               std::uint32_t size) override;
  platform::Win32Error colorDirectory(char* buffer, std::uint32_t* size) override;
};

}  // namespace win32

// Where Windows keeps things: system directories, the shell's special
// folders, the spooler's directories and the colour directory.
#pragma once

#include <cstdint>

#include "win32_types.h"

namespace platform {

// Each operation mirrors the Win32 function named beside it. Directories
// come back without a trailing backslash unless Windows gives one.
class Folders {
 public:
  virtual ~Folders() = default;

  // GetWindowsDirectoryA / GetSystemDirectoryA / GetTempPathA: the length
  // written, 0 on failure, or the size needed when `size` is too small.
  virtual std::uint32_t windowsDirectory(char* buffer, std::uint32_t size) = 0;
  virtual std::uint32_t systemDirectory(char* buffer, std::uint32_t size) = 0;
  virtual std::uint32_t tempPath(char* buffer, std::uint32_t size) = 0;

  // SHGetMalloc, SHGetSpecialFolderLocation(no owner, csidl) and
  // SHGetPathFromIDListA into a kMaxPath buffer; the item list is freed.
  virtual Win32Error specialFolder(int csidl, char* path /* kMaxPath */) = 0;

  // GetPrinterDriverDirectoryA(no server, environment, level 1) and
  // GetPrintProcessorDirectoryA(no server, environment, level 1); a null
  // environment is the running one.
  virtual Win32Error printerDriverDirectory(const char* environment, char* buffer,
                                            std::uint32_t size) = 0;
  virtual Win32Error printProcessorDirectory(const char* environment, char* buffer,
                                             std::uint32_t size) = 0;

  // LoadLibraryA("mscms.dll"), GetProcAddress("GetColorDirectoryA"), the call
  // with no machine name and `size` (in: buffer size), FreeLibrary.
  // kModNotFound when the library is missing, kProcNotFound when the
  // function is, else the call's error.
  virtual Win32Error colorDirectory(char* buffer, std::uint32_t* size) = 0;
};

}  // namespace platform

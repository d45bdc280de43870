// Libraries loaded at run time and the entry points called in them
// (KERNEL32 LoadLibraryA, GetProcAddress, FreeLibrary).
#pragma once

#include "win32_types.h"

namespace platform {

// Each operation mirrors the Win32 function named beside it.
class Libraries {
 public:
  virtual ~Libraries() = default;

  // LoadLibraryA.
  virtual Win32Error loadLibrary(const char* path, ModuleHandle& module) = 0;
  // FreeLibrary.
  virtual Win32Error freeLibrary(ModuleHandle module) = 0;
  // GetProcAddress(module, entryPoint) and, when found, the call of a
  // rundll-style entry point, void CALLBACK f(HWND, HINSTANCE, LPSTR, int),
  // with the four arguments in that order; the text is handed over in a
  // writable copy. kProcNotFound when the module lacks the entry point.
  virtual Win32Error callRundllEntry(ModuleHandle module, const char* entryPoint,
                                     WindowHandle window, ModuleHandle instance,
                                     const char* commandLine, int show) = 0;
};

// Owns one loaded library.
using Library = Owner<Libraries, ModuleHandle, &Libraries::freeLibrary>;

}  // namespace platform

// Libraries loaded at run time and their rundll-style entry points.
#pragma once

#include "platform/libraries.h"

namespace win32 {

class Win32Libraries final : public platform::Libraries {
 public:
  platform::Win32Error loadLibrary(const char* path, platform::ModuleHandle& module) override;
  platform::Win32Error freeLibrary(platform::ModuleHandle module) override;
  platform::Win32Error callRundllEntry(platform::ModuleHandle module, const char* entryPoint,
                                       platform::WindowHandle window,
                                       platform::ModuleHandle instance, const char* commandLine,
                                       int show) override;
};

}  // namespace win32

// The real machine: one Win32 implementation of each platform interface.
#pragma once

#include "platform/system.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_devices.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_folders.h"
#include "platform/win32/win32_host.h"
#include "platform/win32/win32_ini.h"
#include "platform/win32/win32_libraries.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_services.h"
#include "platform/win32/win32_spooler.h"

namespace win32 {

// Stateless apart from identity: the bundle it hands out refers to its
// members and stays valid while the Win32System lives.
class Win32System {
 public:
  Win32System() = default;
  Win32System(const Win32System&) = delete;
  Win32System& operator=(const Win32System&) = delete;

  platform::System system() {
    return platform::System{registry_, services_, host_,    files_,     ini_,     folders_,
                            clock_,    desktop_,  spooler_, processes_, devices_, libraries_};
  }

 private:
  Win32Registry registry_;
  Win32Services services_;
  Win32Host host_;
  Win32Files files_;
  Win32Ini ini_;
  Win32Folders folders_;
  Win32Clock clock_;
  Win32Desktop desktop_;
  Win32Spooler spooler_;
  Win32Processes processes_;
  Win32Devices devices_;
  Win32Libraries libraries_;
};

}  // namespace win32

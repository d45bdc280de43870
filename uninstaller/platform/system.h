// The whole platform layer as one bundle: the interfaces through which the
// uninstaller's logic reaches Windows. The real program passes the Win32
// implementation (win32/), the native tests a simulated machine (sim/).
#pragma once

#include "clock.h"
#include "desktop.h"
#include "devices.h"
#include "file_system.h"
#include "folders.h"
#include "host.h"
#include "ini_files.h"
#include "libraries.h"
#include "processes.h"
#include "registry.h"
#include "services.h"
#include "spooler.h"

namespace platform {

struct System {
  Registry& registry;
  ServiceControl& services;
  Host& host;
  FileSystem& files;
  IniFiles& ini;
  Folders& folders;
  Clock& clock;
  Desktop& desktop;
  Spooler& spooler;
  Processes& processes;
  Devices& devices;
  Libraries& libraries;
};

}  // namespace platform

// The Windows versions the simulated machine can be: what GetVersionExA
// reports on each, where it keeps its directories, which spooler
// environment it runs and which shell folders it knows.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

struct OsProfile {
  std::string
      name;  // "win32s", "95", "98", "me", "nt351", "nt4", "2000", "xp", "2003", "7", "10", "11"
  std::string displayName;  // "Windows 10"
  std::uint32_t majorVersion = 0;
  std::uint32_t minorVersion = 0;
  std::uint32_t buildNumber = 0;  // the build alone; see Host for the 9x encoding
  std::uint32_t platformId = 0;   // 0 Win32s, 1 Windows 9x, 2 NT
  std::string csdVersion;
  bool is64Bit = false;  // runs WOW64: the 32-bit registry view is redirected

  std::string windowsDirectory;   // GetWindowsDirectoryA
  std::string systemDirectory;    // GetSystemDirectoryA
  std::string system16Directory;  // the NT family's 16-bit "SYSTEM" directory; empty elsewhere
  std::string tempPath;           // GetTempPathA, with its trailing backslash
  std::string pathVariable;       // PATH

  // The spooler's own environment, used when a call names none. Empty when
  // the system has no Win32 spooler (Win32s).
  std::string spoolerEnvironment;
  // Windows 9x keeps printer drivers and print processors in the system
  // directory; the NT family below spool\drivers and spool\prtprocs.
  bool spoolInSystemDirectory = false;
  // What mscms.dll's GetColorDirectoryA answers; empty when the system has
  // no mscms.dll (Win32s, 95, NT 3.51, NT 4).
  std::string colorDirectory;
  // The paths of the shell's special folders by CSIDL; a CSIDL missing here
  // fails (virtual folders such as the Printers folder have no path, and
  // Win32s and NT 3.51 have no such shell at all).
  std::map<int, std::string> specialFolders;

  bool isNt() const { return platformId == 2; }
};

// The profile of that name (any case), or null.
const OsProfile* FindOsProfile(std::string_view name);
// Every profile, oldest first.
const std::vector<OsProfile>& AllOsProfiles();

}  // namespace sim

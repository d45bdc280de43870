#include "os_profiles.h"

#include "sim_text.h"

namespace sim {
namespace {

// The user every profile is logged on as.
constexpr const char* kUser = "User";

OsProfile Base(std::string name, std::string display, std::uint32_t major, std::uint32_t minor,
               std::uint32_t build, std::uint32_t platform, std::string csd) {
  OsProfile p;
  p.name = std::move(name);
  p.displayName = std::move(display);
  p.majorVersion = major;
  p.minorVersion = minor;
  p.buildNumber = build;
  p.platformId = platform;
  p.csdVersion = std::move(csd);
  return p;
}

void SetDirectories(OsProfile& p, const std::string& windows, const std::string& system,
                    const std::string& system16) {
  p.windowsDirectory = windows;
  p.systemDirectory = system;
  p.system16Directory = system16;
}

// Windows 95, 98 and Me: one user, everything below the Windows directory.
// Internet Explorer 4's shell (98 and Me) adds application data and the
// internet folders; shell 5.5 (Me) adds Program Files.
void SetFolders9x(OsProfile& p, bool ie4Shell, bool shell5) {
  const std::string& w = p.windowsDirectory;
  p.specialFolders = {
      {0, w + "\\Desktop"},
      {2, w + "\\Start Menu\\Programs"},
      {5, "C:\\My Documents"},
      {6, w + "\\Favorites"},
      {7, w + "\\Start Menu\\Programs\\StartUp"},
      {8, w + "\\Recent"},
      {9, w + "\\SendTo"},
      {11, w + "\\Start Menu"},
      {19, w + "\\NetHood"},
      {20, w + "\\Fonts"},
      {21, w + "\\ShellNew"},
      {27, w + "\\PrintHood"},
  };
  if (ie4Shell) {
    p.specialFolders[26] = w + "\\Application Data";
    p.specialFolders[32] = w + "\\Temporary Internet Files";
    p.specialFolders[33] = w + "\\Cookies";
    p.specialFolders[34] = w + "\\History";
  }
  if (shell5) p.specialFolders[38] = "C:\\Program Files";
}

// NT 4 (with Internet Explorer 4's shell), 2000, XP and Server 2003: per-user
// profiles with an "All Users" profile for the common folders.
void SetFoldersProfiles(OsProfile& p, const std::string& profiles, bool nt4) {
  const std::string user = profiles + "\\" + kUser;
  const std::string all = profiles + "\\All Users";
  const std::string& w = p.windowsDirectory;
  p.specialFolders = {
      {0, user + "\\Desktop"},
      {2, user + "\\Start Menu\\Programs"},
      {5, user + (nt4 ? "\\Personal" : "\\My Documents")},
      {6, user + "\\Favorites"},
      {7, user + "\\Start Menu\\Programs\\Startup"},
      {8, user + "\\Recent"},
      {9, user + "\\SendTo"},
      {11, user + "\\Start Menu"},
      {19, user + "\\NetHood"},
      {20, w + "\\Fonts"},
      {21, nt4 ? w + "\\ShellNew" : user + "\\Templates"},
      {23, all + "\\Start Menu\\Programs"},
      {24, all + "\\Start Menu\\Programs\\Startup"},
      {26, user + "\\Application Data"},
      {27, user + "\\PrintHood"},
      {32,
       user + (nt4 ? "\\Temporary Internet Files" : "\\Local Settings\\Temporary Internet Files")},
      {33, user + "\\Cookies"},
      {34, user + (nt4 ? "\\History" : "\\Local Settings\\History")},
  };
  if (!nt4) p.specialFolders[38] = "C:\\Program Files";
}

// Windows 7 and later: C:\Users and C:\ProgramData.
void SetFoldersUsers(OsProfile& p, bool inetCacheNames) {
  const std::string user = std::string("C:\\Users\\") + kUser;
  const std::string roaming = user + "\\AppData\\Roaming";
  const std::string local = user + "\\AppData\\Local";
  const std::string shell = roaming + "\\Microsoft\\Windows";
  const std::string common = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu";
  p.specialFolders = {
      {0, user + "\\Desktop"},
      {2, shell + "\\Start Menu\\Programs"},
      {5, user + "\\Documents"},
      {6, user + "\\Favorites"},
      {7, shell + "\\Start Menu\\Programs\\Startup"},
      {8, shell + "\\Recent"},
      {9, shell + "\\SendTo"},
      {11, shell + "\\Start Menu"},
      {19, shell + "\\Network Shortcuts"},
      {20, p.windowsDirectory + "\\Fonts"},
      {21, shell + "\\Templates"},
      {23, common + "\\Programs"},
      {24, common + "\\Programs\\StartUp"},
      {26, roaming},
      {27, shell + "\\Printer Shortcuts"},
      {32, local + (inetCacheNames ? "\\Microsoft\\Windows\\INetCache"
                                   : "\\Microsoft\\Windows\\Temporary Internet Files")},
      {33, inetCacheNames ? local + "\\Microsoft\\Windows\\INetCookies" : shell + "\\Cookies"},
      {34, local + "\\Microsoft\\Windows\\History"},
      {38, "C:\\Program Files"},
  };
  p.tempPath = local + "\\Temp\\";
}

OsProfile Win32s() {
  OsProfile p = Base("win32s", "Win32s on Windows 3.1", 3, 10, 0, 0, "");
  SetDirectories(p, "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM", "");
  p.tempPath = "C:\\WINDOWS\\TEMP\\";
  p.pathVariable = "C:\\WINDOWS;C:\\DOS";
  return p;
}

OsProfile Windows9x(std::string name, std::string display, std::uint32_t minor, std::uint32_t build,
                    std::string csd, bool hasMscms, bool ie4Shell, bool shell5) {
  OsProfile p = Base(std::move(name), std::move(display), 4, minor, build, 1, std::move(csd));
  SetDirectories(p, "C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM", "");
  p.tempPath = "C:\\WINDOWS\\TEMP\\";
  p.pathVariable = "C:\\WINDOWS;C:\\WINDOWS\\COMMAND";
  p.spoolerEnvironment = "Windows 4.0";
  p.spoolInSystemDirectory = true;
  if (hasMscms) p.colorDirectory = p.systemDirectory + "\\COLOR";
  SetFolders9x(p, ie4Shell, shell5);
  return p;
}

// The NT family's common parts: system32 below the Windows directory, the
// 16-bit SYSTEM directory beside it, the spool directories below system32.
OsProfile WindowsNt(std::string name, std::string display, std::uint32_t major, std::uint32_t minor,
                    std::uint32_t build, std::string csd, const std::string& windows, bool is64Bit,
                    bool hasMscms) {
  OsProfile p = Base(std::move(name), std::move(display), major, minor, build, 2, std::move(csd));
  SetDirectories(p, windows, windows + "\\system32", windows + "\\SYSTEM");
  p.is64Bit = is64Bit;
  p.tempPath = "C:\\TEMP\\";
  p.pathVariable = p.systemDirectory + ";" + windows + ";" + p.systemDirectory + "\\Wbem";
  p.spoolerEnvironment = is64Bit ? "Windows x64" : "Windows NT x86";
  if (hasMscms) p.colorDirectory = p.systemDirectory + "\\spool\\drivers\\color";
  return p;
}

std::vector<OsProfile> MakeProfiles() {
  std::vector<OsProfile> all;
  all.push_back(Win32s());
  all.push_back(Windows9x("95", "Windows 95", 0, 950, "", false, false, false));
  all.push_back(Windows9x("98", "Windows 98 Second Edition", 10, 2222, " A ", true, true, false));
  all.push_back(Windows9x("me", "Windows Me", 90, 3000, " ", true, true, true));

  OsProfile nt351 = WindowsNt("nt351", "Windows NT 3.51", 3, 51, 1057, "Service Pack 5",
                              "C:\\WINNT35", false, false);
  nt351.pathVariable = nt351.systemDirectory + ";" + nt351.windowsDirectory;
  all.push_back(nt351);

  OsProfile nt4 =
      WindowsNt("nt4", "Windows NT 4.0", 4, 0, 1381, "Service Pack 6", "C:\\WINNT", false, false);
  SetFoldersProfiles(nt4, "C:\\WINNT\\Profiles", true);
  all.push_back(nt4);

  const std::string docs = "C:\\Documents and Settings";
  const std::string localTemp = docs + "\\" + kUser + "\\Local Settings\\Temp\\";
  OsProfile w2000 =
      WindowsNt("2000", "Windows 2000", 5, 0, 2195, "Service Pack 4", "C:\\WINNT", false, true);
  SetFoldersProfiles(w2000, docs, false);
  w2000.tempPath = localTemp;
  all.push_back(w2000);

  OsProfile xp =
      WindowsNt("xp", "Windows XP", 5, 1, 2600, "Service Pack 3", "C:\\WINDOWS", false, true);
  SetFoldersProfiles(xp, docs, false);
  xp.tempPath = localTemp;
  all.push_back(xp);

  OsProfile w2003 = WindowsNt("2003", "Windows Server 2003 x64", 5, 2, 3790, "Service Pack 2",
                              "C:\\WINDOWS", true, true);
  SetFoldersProfiles(w2003, docs, false);
  w2003.tempPath = localTemp;
  all.push_back(w2003);

  OsProfile w7 =
      WindowsNt("7", "Windows 7", 6, 1, 7601, "Service Pack 1", "C:\\Windows", true, true);
  SetFoldersUsers(w7, false);
  all.push_back(w7);

  OsProfile w10 = WindowsNt("10", "Windows 10", 10, 0, 19045, "", "C:\\Windows", true, true);
  SetFoldersUsers(w10, true);
  all.push_back(w10);

  OsProfile w11 = WindowsNt("11", "Windows 11", 10, 0, 22631, "", "C:\\Windows", true, true);
  SetFoldersUsers(w11, true);
  all.push_back(w11);
  return all;
}

}  // namespace

const std::vector<OsProfile>& AllOsProfiles() {
  static const std::vector<OsProfile> profiles = MakeProfiles();
  return profiles;
}

const OsProfile* FindOsProfile(std::string_view name) {
  for (const OsProfile& p : AllOsProfiles()) {
    if (EqualNoCase(p.name, name)) return &p;
  }
  return nullptr;
}

}  // namespace sim

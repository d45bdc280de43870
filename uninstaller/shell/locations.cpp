#include "shell/locations.h"

#include <cstring>

#include "platform/crt.h"

namespace {

using platform::System;
constexpr std::uint32_t kSize = CPathParts::kSize;

// The shell's CSIDL for each location code that is a special folder.
int SpecialFolderCsidl(std::int32_t code) {
  switch (code) {
    case kLocDesktop:
      return 0;
    case kLocFavourites:
      return 6;
    case kLocAppData:
      return 26;
    case kLocInternetCache:
      return 32;
    case kLocCookies:
      return 33;
    case kLocFonts:
      return 20;
    case kLocHistory:
      return 34;
    case kLocNetHood:
      return 19;
    case kLocPersonal:
      return 5;
    case kLocPrintHood:
      return 27;
    case kLocPrograms:
      return 2;
    case kLocRecent:
      return 8;
    case kLocSendTo:
      return 9;
    case kLocStartMenu:
      return 11;
    case kLocStartup:
      return 7;
    case kLocAltStartup:
      return 29;
    case kLocCommonStartup:
      return 24;
    case kLocCommonAltStartup:
      return 30;
    case kLocTemplates:
      return 21;
    case kLocProgramFiles:
      return 38;
    case kLocPrintersFolder:
      return 4;
    case kLocCommonPrograms:
      return 23;
    default:
      return -1;
  }
}

void AppendBackslash(char* path) {
  const std::size_t n = std::strlen(path);
  if (n > 0 && path[n - 1] != '\\') crt::AppendTruncated(path, kSize, "\\");
}

bool IsWin32s(System& system) {
  platform::OsVersionInfo info;
  return system.host.getVersion(info) && info.platformId == platform::platform_id::kWin32s;
}

// A directory from one of the length-returning calls (GetWindowsDirectoryA
// and its kin): empty unless it fits.
template <typename Call>
void DirectoryFrom(Call call, char* path) {
  const std::uint32_t n = call(path, kSize);
  if (n == 0 || n >= kSize) {
    path[0] = '\0';
    return;
  }
  AppendBackslash(path);
}

void SpecialFolder(System& system, int csidl, char* path) {
  if (IsWin32s(system)) return;
  char found[kSize] = {};
  if (system.folders.specialFolder(csidl, found) != platform::error::kSuccess) return;
  // Accepted only when it leaves room for the terminator.
  if (std::strlen(found) + 1 >= kSize) return;
  crt::CopyTruncated(path, kSize, found);
  AppendBackslash(path);
}

// mscms's colour directory; without it (Win32s, or no mscms.dll, or the call
// fails) the "Color" directory under the system directory, created when it
// cannot be entered. The current directory is the same afterwards.
void ColorDirectory(System& system, char* path) {
  if (!IsWin32s(system)) {
    std::uint32_t size = kSize;
    if (system.folders.colorDirectory(path, &size) == platform::error::kSuccess &&
        path[0] != '\0') {
      AppendBackslash(path);
      return;
    }
  }
  path[0] = '\0';
  DirectoryFrom([&](char* b, std::uint32_t s) { return system.folders.systemDirectory(b, s); },
                path);
  if (path[0] == '\0') return;
  crt::AppendTruncated(path, kSize, "Color");

  char saved[kSize] = {};
  const std::uint32_t savedLength = system.files.currentDirectory(saved, kSize);
  if (system.files.setCurrentDirectory(path) != platform::error::kSuccess) {
    system.files.createDirectory(path);
  }
  if (savedLength > 0 && savedLength < kSize) system.files.setCurrentDirectory(saved);
  AppendBackslash(path);
}

void Resolve(System& system, std::int32_t code, char* path) {
  auto& folders = system.folders;
  switch (code) {
    case kLocProgramFile:
    case kLocProgramDir: {
      const std::uint32_t n = system.host.moduleFileName(path, kSize);
      if (n == 0 || n >= kSize) path[0] = '\0';
      return;  // code 2 is cut to its directory by the caller
    }
    case kLocWindowsDir:
      return DirectoryFrom([&](char* b, std::uint32_t s) { return folders.windowsDirectory(b, s); },
                           path);
    case kLocSystemDir:
      return DirectoryFrom([&](char* b, std::uint32_t s) { return folders.systemDirectory(b, s); },
                           path);
    case kLocTempDir:
      return DirectoryFrom([&](char* b, std::uint32_t s) { return folders.tempPath(b, s); }, path);
    case kLocNewTempFile: {
      char temp[kSize] = {};
      DirectoryFrom([&](char* b, std::uint32_t s) { return folders.tempPath(b, s); }, temp);
      if (temp[0] == '\0' ||
          system.files.tempFileName(temp, "~~", 0, path) != platform::error::kSuccess) {
        path[0] = '\0';
      }
      return;
    }
    case kLocPrinterDriverDir:
    case kLocPrinterDriverDirW40: {
      const char* environment = code == kLocPrinterDriverDirW40 ? "Windows 4.0" : nullptr;
      if (folders.printerDriverDirectory(environment, path, kSize) != platform::error::kSuccess) {
        path[0] = '\0';
      }
      return AppendBackslash(path);
    }
    case kLocPrintProcessorDir:
    case kLocPrintProcessorDirW40:
      // Both codes ask for the running environment's directory.
      if (folders.printProcessorDirectory(nullptr, path, kSize) != platform::error::kSuccess) {
        path[0] = '\0';
      }
      return AppendBackslash(path);
    case kLocColorDir:
      return ColorDirectory(system, path);
    case kLocCurrentDir: {
      const std::uint32_t n = system.files.currentDirectory(path, kSize);
      if (n == 0 || n >= kSize) path[0] = '\0';
      return AppendBackslash(path);
    }
    case kLocInfDir:
      DirectoryFrom([&](char* b, std::uint32_t s) { return folders.windowsDirectory(b, s); }, path);
      if (path[0] != '\0') crt::AppendTruncated(path, kSize, "INF\\");
      return;
    default: {
      const int csidl = SpecialFolderCsidl(code);
      if (csidl >= 0) SpecialFolder(system, csidl, path);
      return;
    }
  }
}

char g_mainScriptPath[kSize] = {};

}  // namespace

void CPathParts::clear() { drive[0] = dir[0] = fname[0] = ext[0] = full[0] = '\0'; }

void CPathParts::split(const char* path) { crt::SplitPath(path, drive, dir, fname, ext, kSize); }

void CPathParts::compose() { crt::MakePath(full, kSize, drive, dir, fname, ext); }

bool CPathParts::init(System& system, std::int32_t code) {
  clear();
  char path[kSize] = {};
  Resolve(system, code, path);
  split(path);
  if (code == kLocProgramDir) fname[0] = ext[0] = '\0';
  return true;
}

const char* CPathParts::directory() {
  crt::MakePath(full, kSize, drive, dir, nullptr, nullptr);
  return full;
}

const char* CPathParts::appendSubdirectory(const char* name) {
  if (name != nullptr && name[0] != '\0') {
    AppendBackslash(dir);
    if (dir[0] == '\0') crt::AppendTruncated(dir, kSize, "\\");
    crt::AppendTruncated(dir, kSize, name);
    AppendBackslash(dir);
  }
  compose();
  return full;
}

bool CPathParts::search(System& system) {
  char name[kSize] = {};
  crt::MakePath(name, kSize, nullptr, nullptr, fname, ext);
  char found[kSize] = {};
  const std::uint32_t n = system.files.searchPath(name, found, kSize);
  if (n == 0 || n >= kSize) return false;
  crt::CopyTruncated(full, kSize, found);
  split(found);
  return true;
}

bool CPathParts::exists(System& system) {
  compose();
  platform::File file(system.files);
  return system.files.createFile(full, platform::file_access::kNone, platform::file_share::kNone,
                                 platform::file_disposition::kOpenExisting, 0,
                                 file.out()) == platform::error::kSuccess;
}

const char* MainScriptPath() { return g_mainScriptPath; }

void SetMainScriptPath(System& system) {
  char module[kSize] = {};
  const std::uint32_t n = system.host.moduleFileName(module, kSize);
  if (n == 0 || n >= kSize) module[0] = '\0';

  // The character after the drive's colon is the path separator the module
  // name uses. A name without a drive (a UNC path) falls back to '\'.
  const char* colon = std::strchr(module, ':');
  const char separator = (colon != nullptr && colon[1] != '\0') ? colon[1] : '\\';
  char* last = std::strrchr(module, separator);
  if (last != nullptr) {
    last[1] = '\0';
  } else {
    module[0] = '\0';
  }
  crt::CopyTruncated(g_mainScriptPath, kSize, module);
  crt::AppendTruncated(g_mainScriptPath, kSize, "Mainscr0.unm");
}

#include "removal/removal_paths.h"

#include <cstring>

#include "platform/crt.h"
#include "shell/locations.h"

namespace {

// The directory without its trailing backslashes, for comparing.
PathString Bare(const char* path) {
  PathString bare(path);
  std::size_t n = bare.length();
  while (n > 0 && (bare.data()[n - 1] == '\\' || bare.data()[n - 1] == '/'))
    bare.data()[--n] = '\0';
  return bare;
}

bool IsDriveRoot(const PathString& bare) {
  const char* text = bare.c_str();
  if (bare.isEmpty()) return true;
  return bare.length() == 2 && text[1] == ':';
}

bool SameDirectory(const PathString& bare, const char* other) {
  return other[0] != '\0' && bare == Bare(other);
}

bool IsSubdirectoryOf(const PathString& bare, const char* parent) {
  const PathString base = Bare(parent);
  const std::size_t n = base.length();
  if (n == 0 || bare.length() <= n + 1 || bare.c_str()[n] != '\\') return false;
  PathString head(bare);
  head.data()[n] = '\0';
  return head == base && std::strchr(bare.c_str() + n + 1, '\\') == nullptr;
}

constexpr std::int32_t kSharedLocations[] = {
    kLocWindowsDir,        kLocSystemDir,        kLocTempDir,
    kLocDesktop,           kLocAppData,          kLocFonts,
    kLocPersonal,          kLocPrograms,         kLocStartMenu,
    kLocStartup,           kLocAltStartup,       kLocCommonStartup,
    kLocCommonAltStartup,  kLocPrinterDriverDir, kLocPrinterDriverDirW40,
    kLocPrintProcessorDir, kLocProgramFiles,     kLocCommonPrograms,
    kLocColorDir,          kLocInfDir,
};

}  // namespace

bool JoinPath(PathString& path, const char* directory, const char* name) {
  path.assign(directory);
  const std::size_t n = path.length();
  if (n > 0 && path.c_str()[n - 1] != '\\' && !path.append("\\")) return false;
  return path.append(name);
}

PathString LocationDirectory(platform::System& system, std::int32_t code) {
  CPathParts parts;
  parts.init(system, code);
  if (parts.drive[0] == '\0' && parts.dir[0] == '\0') return PathString();
  return PathString(parts.directory());
}

bool IsGuardedDirectory(RemovalContext& context, const char* path) {
  const PathString bare = Bare(path);
  if (IsDriveRoot(bare)) return true;
  for (const std::int32_t code : kSharedLocations) {
    if (SameDirectory(bare, LocationDirectory(context.system, code).c_str())) return true;
  }
  for (const std::int32_t code : {kLocPrinterDriverDir, kLocPrinterDriverDirW40}) {
    if (IsSubdirectoryOf(bare, LocationDirectory(context.system, code).c_str())) return true;
  }
  for (const StringList* list : {&context.directories.flat, &context.directories.tree}) {
    for (const PathString& directory : *list) {
      if (SameDirectory(bare, directory.c_str())) return true;
    }
  }
  return false;
}

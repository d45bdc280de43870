#include "sim_folders.h"

#include <cstring>
#include <string>

#include "sim_errors.h"
#include "sim_text.h"

namespace sim {
namespace {

namespace err = platform::error;
using platform::Win32Error;

struct EnvironmentEntry {
  const char* environment;
  const char* directory;
};
constexpr EnvironmentEntry kEnvironments[] = {
    {"Windows 4.0", "win40"},         {"Windows NT x86", "w32x86"},
    {"Windows x64", "x64"},           {"Windows IA64", "ia64"},
    {"Windows NT R4000", "w32mips"},  {"Windows NT Alpha_AXP", "w32alpha"},
    {"Windows NT PowerPC", "w32ppc"},
};

// GetPrinterDriverDirectoryA's buffer rule: the path and its NUL, or
// ERROR_INSUFFICIENT_BUFFER.
Win32Error CopyWhole(const std::string& text, char* buffer, std::uint32_t size) {
  if (buffer == nullptr || text.size() + 1 > size) return err::kInsufficientBuffer;
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return err::kSuccess;
}

}  // namespace

const char* SimFolders::EnvironmentDirectory(std::string_view environment) {
  for (const EnvironmentEntry& e : kEnvironments) {
    if (EqualNoCase(e.environment, environment)) return e.directory;
  }
  return "";
}

std::uint32_t SimFolders::windowsDirectory(char* buffer, std::uint32_t size) {
  return CopyOrNeeded(profile_.windowsDirectory, buffer, size);
}

std::uint32_t SimFolders::systemDirectory(char* buffer, std::uint32_t size) {
  return CopyOrNeeded(profile_.systemDirectory, buffer, size);
}

std::uint32_t SimFolders::tempPath(char* buffer, std::uint32_t size) {
  return CopyOrNeeded(profile_.tempPath, buffer, size);
}

Win32Error SimFolders::specialFolder(int csidl, char* path) {
  if (path != nullptr) path[0] = '\0';
  auto it = profile_.specialFolders.find(csidl);
  if (it == profile_.specialFolders.end()) return err::kFileNotFound;
  if (path == nullptr || it->second.size() + 1 > platform::kMaxPath)
    return err::kInsufficientBuffer;
  CopyTruncated(it->second, path, platform::kMaxPath);
  return err::kSuccess;
}

Win32Error SimFolders::spoolDirectory(const char* environment, const char* kind,
                                      std::string& directory) const {
  if (profile_.spoolerEnvironment.empty()) return error::kCallNotImplemented;
  const std::string_view wanted = (environment == nullptr || environment[0] == '\0')
                                      ? profile_.spoolerEnvironment
                                      : std::string_view(environment);
  if (profile_.spoolInSystemDirectory) {
    // Windows 9x serves only its own environment, from the system directory.
    if (!EqualNoCase(wanted, profile_.spoolerEnvironment)) return error::kInvalidEnvironment;
    directory = profile_.systemDirectory;
    return err::kSuccess;
  }
  const std::string_view sub = EnvironmentDirectory(wanted);
  if (sub.empty()) return error::kInvalidEnvironment;
  directory = profile_.systemDirectory + "\\spool\\" + kind + "\\" + std::string(sub);
  return err::kSuccess;
}

Win32Error SimFolders::printerDriverDirectory(const char* environment, char* buffer,
                                              std::uint32_t size) {
  std::string directory;
  if (Win32Error e = spoolDirectory(environment, "drivers", directory)) return e;
  return CopyWhole(directory, buffer, size);
}

Win32Error SimFolders::printProcessorDirectory(const char* environment, char* buffer,
                                               std::uint32_t size) {
  std::string directory;
  if (Win32Error e = spoolDirectory(environment, "prtprocs", directory)) return e;
  return CopyWhole(directory, buffer, size);
}

Win32Error SimFolders::colorDirectory(char* buffer, std::uint32_t* size) {
  switch (mscms_) {
    case Mscms::kMissing:
      return err::kModNotFound;
    case Mscms::kMissingFunction:
      return err::kProcNotFound;
    case Mscms::kCallFails:
      return colorCallError_;
    case Mscms::kAsProfile:
      break;
  }
  if (profile_.colorDirectory.empty()) return err::kModNotFound;
  if (size == nullptr) return err::kInvalidParameter;
  // The size is in bytes and counts the NUL, in and out.
  const std::string& directory = profile_.colorDirectory;
  const std::uint32_t needed = Count32(directory.size() + 1);
  if (buffer == nullptr || *size < needed) {
    *size = needed;
    return err::kInsufficientBuffer;
  }
  std::memcpy(buffer, directory.c_str(), needed);
  *size = needed;
  return err::kSuccess;
}

}  // namespace sim

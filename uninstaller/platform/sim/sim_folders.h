// The simulated well-known folders: the Windows, system and temporary
// directories, the shell's special folders, the spooler's driver and print
// processor directories, and the colour directory through a simulated
// mscms.dll, all as the machine's OS profile has them.
#pragma once

#include <cstdint>

#include "os_profiles.h"
#include "platform/folders.h"

namespace sim {

// What LoadLibraryA("mscms.dll") and GetProcAddress("GetColorDirectoryA")
// find.
enum class Mscms {
  kAsProfile,        // present exactly when the profile has a colour directory
  kMissing,          // no mscms.dll: 126
  kMissingFunction,  // a mscms.dll without GetColorDirectoryA: 127
  kCallFails,        // the call fails with the error set by setColorCallError
};

class SimFolders final : public platform::Folders {
 public:
  explicit SimFolders(const OsProfile& profile) : profile_(profile) {}

  void setMscms(Mscms state) { mscms_ = state; }
  void setColorCallError(platform::Win32Error error) { colorCallError_ = error; }

  // The directory a spooler environment's files live in ("x64" for
  // "Windows x64"), empty for an unknown environment.
  static const char* EnvironmentDirectory(std::string_view environment);

  // platform::Folders
  std::uint32_t windowsDirectory(char* buffer, std::uint32_t size) override;
  std::uint32_t systemDirectory(char* buffer, std::uint32_t size) override;
  std::uint32_t tempPath(char* buffer, std::uint32_t size) override;
  platform::Win32Error specialFolder(int csidl, char* path) override;
  platform::Win32Error printerDriverDirectory(const char* environment, char* buffer,
                                              std::uint32_t size) override;
  platform::Win32Error printProcessorDirectory(const char* environment, char* buffer,
                                               std::uint32_t size) override;
  platform::Win32Error colorDirectory(char* buffer, std::uint32_t* size) override;

 private:
  // The spool directory of `kind` ("drivers" or "prtprocs") for an
  // environment, with the error Windows gives when there is none.
  platform::Win32Error spoolDirectory(const char* environment, const char* kind,
                                      std::string& directory) const;

  const OsProfile& profile_;
  Mscms mscms_ = Mscms::kAsProfile;
  platform::Win32Error colorCallError_ = platform::error::kInvalidParameter;
};

}  // namespace sim

// The running Windows, the process token, the program's own module, file
// versions and the memory figures.
#pragma once

#include "platform/host.h"

namespace win32 {

class Win32Host final : public platform::Host {
 public:
  bool getVersion(platform::OsVersionInfo& info) override;
  platform::Win32Error tokenGroups(std::uint32_t bufferBytes,
                                   std::vector<platform::TokenGroup>& groups) override;
  platform::Win32Error enablePrivilege(const char* name) override;
  platform::Win32Error exitWindows(std::uint32_t flags) override;
  platform::Win32Error computerName(char* buffer, std::uint32_t* size) override;
  std::uint32_t moduleFileName(char* buffer, std::uint32_t size) override;
  platform::Win32Error fileVersion(const char* path, platform::FileVersion& version) override;
  void globalMemoryStatus(platform::MemoryStatus& status) override;
  platform::Win32Error createMutex(const char* name, platform::MutexHandle& mutex) override;
  platform::Win32Error closeMutex(platform::MutexHandle mutex) override;
};

}  // namespace win32

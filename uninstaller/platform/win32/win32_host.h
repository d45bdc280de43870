// The running Windows, the process token and the program's own module.
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
};

}  // namespace win32

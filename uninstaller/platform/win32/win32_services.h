// The service control manager through ADVAPI32.
#pragma once

#include "platform/services.h"

namespace win32 {

class Win32Services final : public platform::ServiceControl {
 public:
  platform::Win32Error openManager(std::uint32_t access, platform::ServiceHandle& manager) override;
  platform::Win32Error openService(platform::ServiceHandle manager, const char* name,
                                   std::uint32_t access, platform::ServiceHandle& service) override;
  platform::Win32Error control(platform::ServiceHandle service, std::uint32_t control,
                               platform::ServiceStatus& status) override;
  platform::Win32Error start(platform::ServiceHandle service) override;
  platform::Win32Error queryStatus(platform::ServiceHandle service,
                                   platform::ServiceStatus& status) override;
  platform::Win32Error deleteService(platform::ServiceHandle service) override;
  platform::Win32Error close(platform::ServiceHandle handle) override;
};

}  // namespace win32

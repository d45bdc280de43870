// The service control manager (ADVAPI32 service functions).
#pragma once

#include <cstdint>

#include "win32_types.h"

namespace platform {

namespace scm {
inline constexpr std::uint32_t kManagerAllAccess = 0xF003F;   // SC_MANAGER_ALL_ACCESS
inline constexpr std::uint32_t kManagerConnect = 0x0001;      // SC_MANAGER_CONNECT
inline constexpr std::uint32_t kServiceAllAccess = 0xF01FF;   // SERVICE_ALL_ACCESS
inline constexpr std::uint32_t kServiceQueryStatus = 0x0004;  // SERVICE_QUERY_STATUS
inline constexpr std::uint32_t kServiceStart = 0x0010;        // SERVICE_START
inline constexpr std::uint32_t kServiceStop = 0x0020;         // SERVICE_STOP
inline constexpr std::uint32_t kDelete = 0x10000;             // DELETE

inline constexpr std::uint32_t kControlStop = 1;  // SERVICE_CONTROL_STOP

// SERVICE_STATUS.dwCurrentState
inline constexpr std::uint32_t kStopped = 1;
inline constexpr std::uint32_t kStartPending = 2;
inline constexpr std::uint32_t kStopPending = 3;
inline constexpr std::uint32_t kRunning = 4;
}  // namespace scm

// SERVICE_STATUS.
struct ServiceStatus {
  std::uint32_t serviceType = 0;
  std::uint32_t currentState = 0;
  std::uint32_t controlsAccepted = 0;
  std::uint32_t win32ExitCode = 0;
  std::uint32_t serviceSpecificExitCode = 0;
  std::uint32_t checkPoint = 0;
  std::uint32_t waitHint = 0;
};

// Each operation mirrors the Win32 function named beside it.
class ServiceControl {
 public:
  virtual ~ServiceControl() = default;

  // OpenSCManagerA on the local computer (no machine, default database).
  virtual Win32Error openManager(std::uint32_t access, ServiceHandle& manager) = 0;
  // OpenServiceA.
  virtual Win32Error openService(ServiceHandle manager, const char* name, std::uint32_t access,
                                 ServiceHandle& service) = 0;
  // ControlService; `status` receives the service's status.
  virtual Win32Error control(ServiceHandle service, std::uint32_t control,
                             ServiceStatus& status) = 0;
  // StartServiceA without arguments.
  virtual Win32Error start(ServiceHandle service) = 0;
  // QueryServiceStatus.
  virtual Win32Error queryStatus(ServiceHandle service, ServiceStatus& status) = 0;
  // DeleteService: marks the service for deletion.
  virtual Win32Error deleteService(ServiceHandle service) = 0;
  // CloseServiceHandle, for managers and services alike.
  virtual Win32Error close(ServiceHandle handle) = 0;
};

// Owns one manager or service handle.
using ScHandle = Owner<ServiceControl, ServiceHandle, &ServiceControl::close>;

}  // namespace platform

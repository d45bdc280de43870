#include "platform/win32/win32_services.h"

#include "platform/win32/convert.h"

namespace win32 {
namespace {

using platform::Win32Error;

SC_HANDLE ToSc(platform::ServiceHandle handle) { return NativeOf<SC_HANDLE>(handle); }

void CopyStatus(const SERVICE_STATUS& from, platform::ServiceStatus& to) {
  to.serviceType = from.dwServiceType;
  to.currentState = from.dwCurrentState;
  to.controlsAccepted = from.dwControlsAccepted;
  to.win32ExitCode = from.dwWin32ExitCode;
  to.serviceSpecificExitCode = from.dwServiceSpecificExitCode;
  to.checkPoint = from.dwCheckPoint;
  to.waitHint = from.dwWaitHint;
}

}  // namespace

Win32Error Win32Services::openManager(std::uint32_t access, platform::ServiceHandle& manager) {
  const SC_HANDLE opened = ::OpenSCManagerA(nullptr, nullptr, access);
  manager = HandleOf<platform::ServiceHandle>(opened);
  return opened != nullptr ? ERROR_SUCCESS : ::GetLastError();
}

Win32Error Win32Services::openService(platform::ServiceHandle manager, const char* name,
                                      std::uint32_t access, platform::ServiceHandle& service) {
  const SC_HANDLE opened = ::OpenServiceA(ToSc(manager), name, access);
  service = HandleOf<platform::ServiceHandle>(opened);
  return opened != nullptr ? ERROR_SUCCESS : ::GetLastError();
}

Win32Error Win32Services::control(platform::ServiceHandle service, std::uint32_t control,
                                  platform::ServiceStatus& status) {
  // Windows fills the record also for some refusals (1061 carries the state
  // that refused), so it is copied either way.
  SERVICE_STATUS raw{};
  const BOOL ok = ::ControlService(ToSc(service), control, &raw);
  const Win32Error error = ResultOf(ok);
  CopyStatus(raw, status);
  return error;
}

Win32Error Win32Services::start(platform::ServiceHandle service) {
  return ResultOf(::StartServiceA(ToSc(service), 0, nullptr));
}

Win32Error Win32Services::queryStatus(platform::ServiceHandle service,
                                      platform::ServiceStatus& status) {
  SERVICE_STATUS raw{};
  const BOOL ok = ::QueryServiceStatus(ToSc(service), &raw);
  const Win32Error error = ResultOf(ok);
  if (ok) CopyStatus(raw, status);
  return error;
}

Win32Error Win32Services::deleteService(platform::ServiceHandle service) {
  return ResultOf(::DeleteService(ToSc(service)));
}

Win32Error Win32Services::close(platform::ServiceHandle handle) {
  return ResultOf(::CloseServiceHandle(ToSc(handle)));
}

}  // namespace win32

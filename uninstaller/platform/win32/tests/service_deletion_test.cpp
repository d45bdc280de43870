// Deleting a service on the real system: a second deletion while a handle
// is open answers 1072, and the service is gone once the handle closes.
#include <gtest/gtest.h>

#include "platform/win32/win32_services.h"
#include "platform/win32/windows_headers.h"

namespace {

namespace err = platform::error;
constexpr char kService[] = "StripwellContractService";

TEST(Win32ServiceDeletion, MarkedForDeletionUntilTheLastHandleCloses) {
  const SC_HANDLE scm = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  ASSERT_NE(scm, nullptr);
  const SC_HANDLE created = ::CreateServiceA(
      scm, kService, kService, SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START,
      SERVICE_ERROR_IGNORE, "C:\\windows\\system32\\notepad.exe", nullptr, nullptr, nullptr,
      nullptr, nullptr);
  ASSERT_NE(created, nullptr);
  ::CloseServiceHandle(created);
  ::CloseServiceHandle(scm);

  win32::Win32Services api;
  platform::ScHandle manager(api);
  ASSERT_EQ(api.openManager(0x0002, manager.out()), err::kSuccess);  // SC_MANAGER_CREATE_SERVICE
  {
    platform::ScHandle service(api);
    ASSERT_EQ(
        api.openService(manager.get(), kService, platform::scm::kServiceAllAccess, service.out()),
        err::kSuccess);
    EXPECT_EQ(api.deleteService(service.get()), err::kSuccess);
    EXPECT_EQ(api.deleteService(service.get()), err::kServiceMarkedForDelete);
  }
  platform::ScHandle gone(api);
  EXPECT_EQ(api.openService(manager.get(), kService, platform::scm::kServiceAllAccess, gone.out()),
            err::kServiceDoesNotExist);
}

}  // namespace

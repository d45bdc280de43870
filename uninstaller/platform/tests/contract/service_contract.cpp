// Service state changes, shared by Windows and the simulated machine. The
// Spooler runs on both; the tests stop and start it and leave it running.
#include "contract.h"

namespace contract {
namespace {

using namespace platform;

// Polls until the service reaches `state`; Windows changes state in its own
// time after a control or start. Bounded by a count of waits, not by the
// tick counter, so it ends on any clock.
std::uint32_t WaitForState(System& system, ServiceHandle service, std::uint32_t state) {
  ServiceStatus status;
  for (int i = 0; i < 300; ++i) {
    if (system.services.queryStatus(service, status) != error::kSuccess) return 0;
    if (status.currentState == state) break;
    system.clock.sleep(50);
  }
  return status.currentState;
}

}  // namespace

// Windows starts the Spooler at boot. Wine registers it as demand-start, so
// a fresh prefix has it stopped until someone starts it.
std::uint32_t EnsureSpoolerRunning(System& system) {
  ServiceControl& services = system.services;
  ScHandle manager(services);
  if (services.openManager(scm::kManagerAllAccess, manager.out()) != error::kSuccess) return 0;
  ScHandle spooler(services);
  if (services.openService(manager.get(), "Spooler", scm::kServiceAllAccess, spooler.out()) !=
      error::kSuccess)
    return 0;
  ServiceStatus status;
  if (services.queryStatus(spooler.get(), status) != error::kSuccess) return 0;
  if (status.currentState == scm::kStopped) services.start(spooler.get());
  return WaitForState(system, spooler.get(), scm::kRunning);
}

void ServiceContract::SetUp() {
  ContractTest::SetUp();
  ASSERT_EQ(EnsureSpoolerRunning(sys()), scm::kRunning);
}

namespace {

TEST_P(ServiceContract, SpoolerStopsAndStartsAgain) {
  ServiceControl& services = sys().services;
  ScHandle manager(services);
  ASSERT_EQ(services.openManager(scm::kManagerAllAccess, manager.out()), error::kSuccess);
  ScHandle spooler(services);
  ASSERT_EQ(services.openService(manager.get(), "Spooler", scm::kServiceAllAccess, spooler.out()),
            error::kSuccess);

  EXPECT_EQ(services.start(spooler.get()), error::kServiceAlreadyRunning);

  ServiceStatus status;
  ASSERT_EQ(services.control(spooler.get(), scm::kControlStop, status), error::kSuccess);
  ASSERT_EQ(WaitForState(sys(), spooler.get(), scm::kStopped), scm::kStopped);
  EXPECT_EQ(services.control(spooler.get(), scm::kControlStop, status), error::kServiceNotActive);

  ASSERT_EQ(services.start(spooler.get()), error::kSuccess);
  EXPECT_EQ(WaitForState(sys(), spooler.get(), scm::kRunning), scm::kRunning);
}

TEST_P(ServiceContract, NamesIgnoreCaseAndUnknownServicesAreReported) {
  ServiceControl& services = sys().services;
  ScHandle manager(services);
  ASSERT_EQ(services.openManager(scm::kManagerConnect, manager.out()), error::kSuccess);
  ScHandle service(services);
  EXPECT_EQ(services.openService(manager.get(), "SPOOLER", scm::kServiceQueryStatus, service.out()),
            error::kSuccess);
  ServiceStatus status;
  EXPECT_EQ(services.queryStatus(service.get(), status), error::kSuccess);
  EXPECT_EQ(status.currentState, scm::kRunning);
  EXPECT_EQ(services.openService(manager.get(), "StripwellNoSuchService", scm::kServiceQueryStatus,
                                 service.out()),
            error::kServiceDoesNotExist);
  EXPECT_FALSE(service.get());
}

TEST_P(ServiceContract, ControlNeedsTheRightAccess) {
  ServiceControl& services = sys().services;
  ScHandle manager(services);
  ASSERT_EQ(services.openManager(scm::kManagerConnect, manager.out()), error::kSuccess);
  ScHandle spooler(services);
  ASSERT_EQ(services.openService(manager.get(), "Spooler", scm::kServiceQueryStatus, spooler.out()),
            error::kSuccess);
  ServiceStatus status;
  EXPECT_EQ(services.control(spooler.get(), scm::kControlStop, status), error::kAccessDenied);
  EXPECT_EQ(services.start(spooler.get()), error::kAccessDenied);
  ASSERT_EQ(services.queryStatus(spooler.get(), status), error::kSuccess);
  EXPECT_EQ(status.currentState, scm::kRunning);
}

}  // namespace

// Whatever a test did, the Spooler runs again for the next one.
void ServiceContract::TearDown() {
  ServiceControl& services = sys().services;
  ScHandle manager(services);
  if (services.openManager(scm::kManagerAllAccess, manager.out()) != error::kSuccess) return;
  ScHandle spooler(services);
  if (services.openService(manager.get(), "Spooler", scm::kServiceAllAccess, spooler.out()) !=
      error::kSuccess)
    return;
  ServiceStatus status;
  if (services.queryStatus(spooler.get(), status) != error::kSuccess) return;
  if (status.currentState == scm::kRunning) return;
  if (status.currentState != scm::kStartPending) {
    WaitForState(sys(), spooler.get(), scm::kStopped);
    services.start(spooler.get());
  }
  services.start(spooler.get());
  EXPECT_EQ(WaitForState(sys(), spooler.get(), scm::kRunning), scm::kRunning)
      << "the Spooler could not be started again";
}

}  // namespace contract

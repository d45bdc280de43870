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
void ServiceContract::SetUp() {
  ContractTest::SetUp();
  ServiceControl& services = sys().services;
  ScHandle manager(services);
  ASSERT_EQ(manager.openManager(scm::kManagerAllAccess), error::kSuccess);
  ScHandle spooler(services);
  ASSERT_EQ(spooler.openService(manager, "Spooler", scm::kServiceAllAccess), error::kSuccess);
  ServiceStatus status;
  ASSERT_EQ(services.queryStatus(spooler.get(), status), error::kSuccess);
  if (status.currentState == scm::kStopped) services.start(spooler.get());
  ASSERT_EQ(WaitForState(sys(), spooler.get(), scm::kRunning), scm::kRunning);
}

namespace {

TEST_P(ServiceContract, SpoolerStopsAndStartsAgain) {
  ServiceControl& services = sys().services;
  ScHandle manager(services);
  ASSERT_EQ(manager.openManager(scm::kManagerAllAccess), error::kSuccess);
  ScHandle spooler(services);
  ASSERT_EQ(spooler.openService(manager, "Spooler", scm::kServiceAllAccess), error::kSuccess);

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
  ASSERT_EQ(manager.openManager(scm::kManagerConnect), error::kSuccess);
  ScHandle service(services);
  EXPECT_EQ(service.openService(manager, "SPOOLER", scm::kServiceQueryStatus), error::kSuccess);
  ServiceStatus status;
  EXPECT_EQ(services.queryStatus(service.get(), status), error::kSuccess);
  EXPECT_EQ(status.currentState, scm::kRunning);
  EXPECT_EQ(service.openService(manager, "StripwellNoSuchService", scm::kServiceQueryStatus),
            error::kServiceDoesNotExist);
  EXPECT_EQ(service.get(), 0u);
}

TEST_P(ServiceContract, ControlNeedsTheRightAccess) {
  ServiceControl& services = sys().services;
  ScHandle manager(services);
  ASSERT_EQ(manager.openManager(scm::kManagerConnect), error::kSuccess);
  ScHandle spooler(services);
  ASSERT_EQ(spooler.openService(manager, "Spooler", scm::kServiceQueryStatus), error::kSuccess);
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
  if (manager.openManager(scm::kManagerAllAccess) != error::kSuccess) return;
  ScHandle spooler(services);
  if (spooler.openService(manager, "Spooler", scm::kServiceAllAccess) != error::kSuccess) return;
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

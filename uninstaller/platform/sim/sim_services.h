// The simulated service control manager: named services with their states,
// transitions that take simulated time, access checks against the token,
// deletion that waits for the last handle, and the registry keys Windows
// keeps for each service (HKLM\SYSTEM\CurrentControlSet\Services\<name>).
//
// As on Windows: a stop request on a running service leaves it stop-pending
// until the service has stopped (here: after its stop delay on the
// simulated clock); StartServiceA on a service that is not stopped, also
// one still stopping, fails with ERROR_SERVICE_ALREADY_RUNNING (1056), the
// SCM's answer whenever the service's state is other than stopped.
// Simplified: no dependencies between services, no service processes, no
// pause and continue.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "faults.h"
#include "platform/services.h"
#include "sim_text.h"

namespace sim {

class SimClock;
class SimRegistry;

struct ServiceSetup {
  std::string displayName;
  std::string imagePath;
  std::uint32_t state = platform::scm::kRunning;
  std::uint32_t startType = 2;       // SERVICE_AUTO_START; 4 is disabled
  std::uint32_t serviceType = 0x10;  // SERVICE_WIN32_OWN_PROCESS
};

// One thing the program asked of a service, for tests to check the order.
struct ServiceEvent {
  std::uint64_t time = 0;  // simulated milliseconds
  std::string service;
  std::string action;  // "stop", "start", "delete"
  platform::Win32Error result = 0;
};

class SimServices final : public platform::ServiceControl {
 public:
  // OpenSCManagerA, OpenServiceA and DeleteService ask `faults` first.
  SimServices(SimClock& clock, SimRegistry& registry, Faults& faults);

  // Off the NT family there is no service control manager (120).
  void setAvailable(bool available) { available_ = available; }
  // Whether the caller may change services: asked on every open.
  void setAdminCheck(std::function<bool()> isAdmin) { isAdmin_ = std::move(isAdmin); }

  void addService(std::string_view name, ServiceSetup setup = {});
  // Milliseconds a stop (start) takes; 0, the default, is at once.
  void setStopDelay(std::string_view name, std::uint32_t milliseconds);
  void setStartDelay(std::string_view name, std::uint32_t milliseconds);
  // StartServiceA fails with this error and the service stays stopped; 0
  // lets it start again.
  void setStartError(std::string_view name, platform::Win32Error error);
  // A running service that does not accept the stop control (1061).
  void setAcceptsStop(std::string_view name, bool accepts);

  bool exists(std::string_view name) const;
  // The state now (pending transitions that are due have completed).
  std::optional<std::uint32_t> state(std::string_view name) const;
  bool isMarkedForDeletion(std::string_view name) const;
  const std::vector<ServiceEvent>& events() const { return events_; }
  // Manager and service handles the program has open.
  std::size_t openHandleCount() const { return handles_.size(); }

  // platform::ServiceControl
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

 private:
  struct Service {
    std::string name;
    ServiceSetup setup;
    std::uint32_t state = platform::scm::kStopped;
    std::uint64_t transitionDue = 0;  // when a pending state completes
    std::uint32_t stopDelay = 0;
    std::uint32_t startDelay = 0;
    platform::Win32Error startError = 0;
    bool acceptsStop = true;
    bool markedForDeletion = false;
  };
  struct Handle {
    std::shared_ptr<Service> service;  // null for a manager handle
    std::uint32_t access = 0;
  };

  // Completes the transitions that are due and removes the services whose
  // deletion can now take place.
  void settle() const;
  Service* findService(std::string_view name) const;
  platform::Win32Error serviceHandle(platform::ServiceHandle handle, std::uint32_t right,
                                     std::shared_ptr<Service>& service) const;
  static platform::ServiceStatus statusOf(const Service& service);
  void removeIfDeleted(const std::string& name) const;
  bool hasHandles(const Service& service) const;
  std::string registryKey(std::string_view name) const;
  void record(const std::string& service, const char* action, platform::Win32Error result);

  SimClock& clock_;
  SimRegistry& registry_;
  Faults& faults_;
  bool available_ = true;
  std::function<bool()> isAdmin_;
  // Mutable: queries settle due transitions, as time passing would.
  mutable std::map<std::string, std::shared_ptr<Service>, LessNoCase> services_;
  std::map<platform::ServiceHandle, Handle> handles_;
  std::uintptr_t nextHandle_ = 0x3000;
  std::vector<ServiceEvent> events_;
};

}  // namespace sim

#include "sim_services.h"

#include "sim_clock.h"
#include "sim_errors.h"
#include "sim_registry.h"

namespace sim {
namespace {

namespace err = platform::error;
namespace scm = platform::scm;
using platform::ServiceHandle;
using platform::Win32Error;

constexpr Win32Error kInvalidServiceControl = 1052;  // ERROR_INVALID_SERVICE_CONTROL
constexpr std::uint32_t kAcceptStop = 0x1;           // SERVICE_ACCEPT_STOP
constexpr std::uint32_t kInterrogate = 4;            // SERVICE_CONTROL_INTERROGATE
constexpr std::uint32_t kDisabled = 4;               // SERVICE_DISABLED
constexpr std::uint32_t kGenericRead = 0x80000000u;
constexpr std::uint32_t kReadControl = 0x20000u;
// What a user outside Administrators may ask of the manager (connect,
// enumerate, query lock status) and of a service (query configuration and
// status, enumerate dependents, interrogate, user-defined controls): the
// rights of interactive users in the default security descriptors.
constexpr std::uint32_t kUserManagerRights = 0x1 | 0x4 | 0x10 | kReadControl | kGenericRead;
constexpr std::uint32_t kUserServiceRights =
    0x1 | scm::kServiceQueryStatus | 0x8 | 0x80 | 0x100 | kReadControl | kGenericRead;
constexpr const char* kServicesKey = "HKLM\\SYSTEM\\CurrentControlSet\\Services\\";

}  // namespace

SimServices::SimServices(SimClock& clock, SimRegistry& registry, Faults& faults)
    : clock_(clock), registry_(registry), faults_(faults) {}

std::string SimServices::registryKey(std::string_view name) const {
  return kServicesKey + std::string(name);
}

void SimServices::addService(std::string_view name, ServiceSetup setup) {
  auto service = std::make_shared<Service>();
  service->name = std::string(name);
  service->state = setup.state;
  service->setup = std::move(setup);
  const std::string key = registryKey(name);
  registry_.setDword(key, "Type", service->setup.serviceType);
  registry_.setDword(key, "Start", service->setup.startType);
  registry_.setDword(key, "ErrorControl", 1);
  registry_.setString(key, "ImagePath", service->setup.imagePath, platform::regtype::kExpandSz);
  registry_.setString(key, "DisplayName", service->setup.displayName);
  registry_.setString(key, "ObjectName", "LocalSystem");
  services_[service->name] = std::move(service);
}

SimServices::Service* SimServices::findService(std::string_view name) const {
  settle();
  auto it = services_.find(name);
  return it == services_.end() ? nullptr : it->second.get();
}

void SimServices::setStopDelay(std::string_view name, std::uint32_t milliseconds) {
  if (Service* s = findService(name)) s->stopDelay = milliseconds;
}

void SimServices::setStartDelay(std::string_view name, std::uint32_t milliseconds) {
  if (Service* s = findService(name)) s->startDelay = milliseconds;
}

void SimServices::setStartError(std::string_view name, Win32Error error) {
  if (Service* s = findService(name)) s->startError = error;
}

void SimServices::setAcceptsStop(std::string_view name, bool accepts) {
  if (Service* s = findService(name)) s->acceptsStop = accepts;
}

bool SimServices::exists(std::string_view name) const { return findService(name) != nullptr; }

std::optional<std::uint32_t> SimServices::state(std::string_view name) const {
  if (const Service* s = findService(name)) return s->state;
  return std::nullopt;
}

bool SimServices::isMarkedForDeletion(std::string_view name) const {
  const Service* s = findService(name);
  return s != nullptr && s->markedForDeletion;
}

bool SimServices::hasHandles(const Service& service) const {
  for (const auto& [handle, open] : handles_) {
    if (open.service.get() == &service) return true;
  }
  return false;
}

// A service marked for deletion goes once it is stopped and nobody holds a
// handle to it; its registry key goes with it.
void SimServices::removeIfDeleted(const std::string& name) const {
  auto it = services_.find(name);
  if (it == services_.end()) return;
  const Service& s = *it->second;
  if (!s.markedForDeletion || s.state != scm::kStopped || hasHandles(s)) return;
  registry_.deleteTree(registryKey(s.name));
  services_.erase(it);
}

void SimServices::settle() const {
  std::vector<std::string> names;
  for (auto& [name, service] : services_) {
    names.push_back(name);
    if (clock_.now() < service->transitionDue) continue;
    if (service->state == scm::kStopPending) service->state = scm::kStopped;
    if (service->state == scm::kStartPending) service->state = scm::kRunning;
  }
  for (const std::string& name : names) removeIfDeleted(name);
}

platform::ServiceStatus SimServices::statusOf(const Service& service) {
  platform::ServiceStatus status;
  status.serviceType = service.setup.serviceType;
  status.currentState = service.state;
  const bool pending = service.state == scm::kStopPending || service.state == scm::kStartPending;
  if (service.state == scm::kRunning && service.acceptsStop) status.controlsAccepted = kAcceptStop;
  if (pending) {
    status.checkPoint = 1;
    status.waitHint = service.state == scm::kStopPending ? service.stopDelay : service.startDelay;
  }
  return status;
}

Win32Error SimServices::serviceHandle(ServiceHandle handle, std::uint32_t right,
                                      std::shared_ptr<Service>& service) const {
  settle();
  auto it = handles_.find(handle);
  if (it == handles_.end() || !it->second.service) return err::kInvalidHandle;
  if (right != 0 && (it->second.access & right) != right) return err::kAccessDenied;
  service = it->second.service;
  return err::kSuccess;
}

void SimServices::record(const std::string& service, const char* action, Win32Error result) {
  events_.push_back(ServiceEvent{clock_.now(), service, action, result});
}

Win32Error SimServices::openManager(std::uint32_t access, ServiceHandle& manager) {
  manager = {};
  if (auto injected = faults_.check("OpenSCManagerA")) return *injected;
  if (!available_) return error::kCallNotImplemented;
  const bool admin = !isAdmin_ || isAdmin_();
  if (!admin && (access & ~kUserManagerRights) != 0) return err::kAccessDenied;
  manager = ServiceHandle{nextHandle_};
  nextHandle_ += 4;
  handles_[manager] = Handle{nullptr, access};
  return err::kSuccess;
}

Win32Error SimServices::openService(ServiceHandle manager, const char* name, std::uint32_t access,
                                    ServiceHandle& service) {
  service = {};
  auto it = handles_.find(manager);
  if (it == handles_.end() || it->second.service) return err::kInvalidHandle;
  if (name == nullptr || name[0] == '\0') return err::kInvalidName;
  if (auto injected = faults_.check("OpenServiceA", name)) return *injected;
  settle();
  auto found = services_.find(std::string_view(name));
  if (found == services_.end()) return err::kServiceDoesNotExist;
  const bool admin = !isAdmin_ || isAdmin_();
  if (!admin && (access & ~kUserServiceRights) != 0) return err::kAccessDenied;
  service = ServiceHandle{nextHandle_};
  nextHandle_ += 4;
  handles_[service] = Handle{found->second, access};
  return err::kSuccess;
}

Win32Error SimServices::control(ServiceHandle handle, std::uint32_t code,
                                platform::ServiceStatus& status) {
  std::shared_ptr<Service> s;
  const std::uint32_t right = code == scm::kControlStop ? scm::kServiceStop : 0x80u;
  if (Win32Error e = serviceHandle(handle, right, s)) return e;
  Win32Error result = err::kSuccess;
  if (code == kInterrogate) {
    result = s->state == scm::kStopped ? err::kServiceNotActive : err::kSuccess;
  } else if (code != scm::kControlStop) {
    result = kInvalidServiceControl;
  } else if (s->state == scm::kStopped) {
    result = err::kServiceNotActive;
  } else if (s->state != scm::kRunning || !s->acceptsStop) {
    result = err::kServiceCannotAcceptControl;
  } else if (s->stopDelay == 0) {
    s->state = scm::kStopped;
  } else {
    s->state = scm::kStopPending;
    s->transitionDue = clock_.now() + s->stopDelay;
  }
  status = statusOf(*s);
  if (code == scm::kControlStop) record(s->name, "stop", result);
  return result;
}

Win32Error SimServices::start(ServiceHandle handle) {
  std::shared_ptr<Service> s;
  if (Win32Error e = serviceHandle(handle, scm::kServiceStart, s)) return e;
  Win32Error result = err::kSuccess;
  if (s->markedForDeletion) {
    result = err::kServiceMarkedForDelete;
  } else if (s->setup.startType == kDisabled) {
    result = err::kServiceDisabled;
  } else if (s->state != scm::kStopped) {
    result = err::kServiceAlreadyRunning;
  } else if (s->startError != 0) {
    result = s->startError;
  } else if (s->startDelay == 0) {
    s->state = scm::kRunning;
  } else {
    s->state = scm::kStartPending;
    s->transitionDue = clock_.now() + s->startDelay;
  }
  record(s->name, "start", result);
  return result;
}

Win32Error SimServices::queryStatus(ServiceHandle handle, platform::ServiceStatus& status) {
  std::shared_ptr<Service> s;
  if (Win32Error e = serviceHandle(handle, scm::kServiceQueryStatus, s)) return e;
  status = statusOf(*s);
  return err::kSuccess;
}

Win32Error SimServices::deleteService(ServiceHandle handle) {
  std::shared_ptr<Service> s;
  if (Win32Error e = serviceHandle(handle, scm::kDelete, s)) return e;
  if (auto injected = faults_.check("DeleteService", s->name)) return *injected;
  const Win32Error result = s->markedForDeletion ? err::kServiceMarkedForDelete : err::kSuccess;
  if (result == err::kSuccess) {
    s->markedForDeletion = true;
    registry_.setDword(registryKey(s->name), "DeleteFlag", 1);
  }
  record(s->name, "delete", result);
  return result;
}

Win32Error SimServices::close(ServiceHandle handle) {
  auto it = handles_.find(handle);
  if (it == handles_.end()) return err::kInvalidHandle;
  std::shared_ptr<Service> s = it->second.service;
  handles_.erase(it);
  if (s) removeIfDeleted(s->name);
  return err::kSuccess;
}

}  // namespace sim

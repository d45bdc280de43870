#include "planner/plan_machine.h"

#include "platform/sim/machine.h"

struct PlanMachine::Impl {
  explicit Impl(const std::string& os) : machine(os), system(machine.system()) {}
  sim::Machine machine;
  platform::System system;
};

PlanMachine::PlanMachine(const std::string& os) : impl_(std::make_unique<Impl>(os)) {}
PlanMachine::~PlanMachine() = default;

const platform::System& PlanMachine::system() const { return impl_->system; }

void PlanMachine::writeFile(const std::string& windowsPath, const std::string& contents) {
  impl_->machine.files().writeFile(windowsPath, contents);
}

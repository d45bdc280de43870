// The platform contract against the simulated machine (Windows 10 profile,
// the default).
#include <memory>

#include "contract.h"
#include "platform/sim/machine.h"

namespace {

class SimTarget final : public contract::Target {
 public:
  platform::System system() override { return machine_.system(); }

 private:
  sim::Machine machine_;
};

std::unique_ptr<contract::Target> MakeSim() { return std::make_unique<SimTarget>(); }

}  // namespace

namespace contract {
SW_INSTANTIATE_PLATFORM_CONTRACT(Sim, TargetFactory{"Sim", &MakeSim});
}  // namespace contract

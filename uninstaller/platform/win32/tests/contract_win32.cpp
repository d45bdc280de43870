// The platform contract against the real system.
#include <memory>

#include "contract.h"
#include "platform/win32/win32_system.h"

namespace {

class Win32Target final : public contract::Target {
 public:
  platform::System system() override { return real_.system(); }

 private:
  win32::Win32System real_;
};

std::unique_ptr<contract::Target> MakeWin32() { return std::make_unique<Win32Target>(); }

}  // namespace

namespace contract {
SW_INSTANTIATE_PLATFORM_CONTRACT(Win32, TargetFactory{"Win32", &MakeWin32});
}  // namespace contract

#include "contract.h"

#include <cctype>

namespace contract {

void ContractTest::SetUp() {
  target_ = GetParam().make();
  system_.emplace(target_->system());
}

std::string ContractTest::ScratchName() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string("SW_") + info->name();
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

std::string TargetName(const ::testing::TestParamInfo<TargetFactory>& info) {
  return info.param.name;
}

}  // namespace contract

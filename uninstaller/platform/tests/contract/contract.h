// Behaviour that every implementation of the platform layer shares: the
// real Windows (and Wine, on which the Windows build is tested) and the
// simulated machine. The suites are written once against platform::System;
// each test program instantiates them for its own machine:
//
//   SW_INSTANTIATE_PLATFORM_CONTRACT(Win32, contract::TargetFactory{"Win32", &MakeWin32});
//
// Every test works in scratch keys and directories it creates and removes,
// and leaves shared state (the Spooler service) as it found it.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/spooler.h"
#include "platform/system.h"

namespace contract {

// One machine under test, alive for one test.
class Target {
 public:
  virtual ~Target() = default;
  virtual platform::System system() = 0;
};

struct TargetFactory {
  const char* name;
  std::unique_ptr<Target> (*make)();
};

class ContractTest : public ::testing::TestWithParam<TargetFactory> {
 protected:
  void SetUp() override;
  platform::System& sys() { return *system_; }
  platform::Spooler& spooler() { return system_->spooler; }
  // A name unique to the running test, usable in paths and key names.
  static std::string ScratchName();

 private:
  std::unique_ptr<Target> target_;
  std::optional<platform::System> system_;
};

class RegistryContract : public ContractTest {};
class FileContract : public ContractTest {};
class IniContract : public ContractTest {};
class ServiceContract : public ContractTest {
 protected:
  void SetUp() override;  // the Spooler runs
  void TearDown() override;
};
class DeviceContract : public ContractTest {};
class DesktopContract : public ContractTest {};
class HostContract : public ContractTest {};
class SpoolerContract : public ContractTest {
 protected:
  void SetUp() override;  // the Spooler runs and knows a seeded printer
  void TearDown() override;
};

// Starts the Spooler service unless it runs, and waits until it does;
// the state it reached.
std::uint32_t EnsureSpoolerRunning(platform::System& system);

std::string TargetName(const ::testing::TestParamInfo<TargetFactory>& info);

}  // namespace contract

#define SW_INSTANTIATE_PLATFORM_CONTRACT(prefix, ...)                                \
  INSTANTIATE_TEST_SUITE_P(prefix, RegistryContract, ::testing::Values(__VA_ARGS__), \
                           ::contract::TargetName);                                  \
  INSTANTIATE_TEST_SUITE_P(prefix, FileContract, ::testing::Values(__VA_ARGS__),     \
                           ::contract::TargetName);                                  \
  INSTANTIATE_TEST_SUITE_P(prefix, IniContract, ::testing::Values(__VA_ARGS__),      \
                           ::contract::TargetName);                                  \
  INSTANTIATE_TEST_SUITE_P(prefix, ServiceContract, ::testing::Values(__VA_ARGS__),  \
                           ::contract::TargetName);                                  \
  INSTANTIATE_TEST_SUITE_P(prefix, SpoolerContract, ::testing::Values(__VA_ARGS__),  \
                           ::contract::TargetName);                                  \
  INSTANTIATE_TEST_SUITE_P(prefix, DeviceContract, ::testing::Values(__VA_ARGS__),   \
                           ::contract::TargetName);                                  \
  INSTANTIATE_TEST_SUITE_P(prefix, DesktopContract, ::testing::Values(__VA_ARGS__),  \
                           ::contract::TargetName);                                  \
  INSTANTIATE_TEST_SUITE_P(prefix, HostContract, ::testing::Values(__VA_ARGS__),     \
                           ::contract::TargetName)

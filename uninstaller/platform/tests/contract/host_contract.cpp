// Kernel objects of the host shared by Windows and the simulated machine.
#include "contract.h"
#include "scratch.h"

namespace contract {
namespace {

using namespace platform;

TEST_P(HostContract, ANamedMutexExistsUntilItsLastHandleCloses) {
  const std::string name = "Stripwell.Contract." + ScratchName();
  Host& host = sys().host;
  Mutex first(host);
  ASSERT_EQ(host.createMutex(name.c_str(), first.out()), error::kSuccess);
  Mutex second(host);
  EXPECT_EQ(host.createMutex(name.c_str(), second.out()), error::kAlreadyExists);
  EXPECT_TRUE(second.isOpen()) << "the existing mutex is opened all the same";
  first.reset();
  EXPECT_EQ(host.createMutex(name.c_str(), first.out()), error::kAlreadyExists);
  first.reset();
  second.reset();
  EXPECT_EQ(host.createMutex(name.c_str(), first.out()), error::kSuccess);
}

}  // namespace
}  // namespace contract

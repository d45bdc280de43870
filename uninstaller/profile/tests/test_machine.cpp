#include "test_machine.h"

#include "platform/sim/machine.h"

namespace test {

struct TestMachine::Impl {
  explicit Impl(const char* os) : machine(os), system(machine.system()) {}
  sim::Machine machine;
  platform::System system;
};

TestMachine::TestMachine(const char* os) : impl_(std::make_unique<Impl>(os)) {}
TestMachine::~TestMachine() = default;

platform::System& TestMachine::system() { return impl_->system; }

void TestMachine::writeFile(const std::string& path, const std::string& contents) {
  impl_->machine.files().writeFile(path, contents);
}

void TestMachine::makeDirectory(const std::string& path) {
  impl_->machine.files().makeDirectories(path);
}

void TestMachine::holdOpenWithoutSharing(const std::string& path) {
  impl_->machine.files().holdOpen(path, platform::file_access::kGenericRead,
                                  platform::file_share::kNone);
}

std::size_t TestMachine::openHandleCount() const { return impl_->machine.openHandleCount(); }

}  // namespace test

// Replays every input kept for the fuzz target: the seed corpus and the
// inputs that once made it fail.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>

#include "script_input.h"
#include "test_machine.h"

struct FuzzInput {
  const char* name;
  const std::uint8_t* data;
  std::size_t size;
};
extern const FuzzInput kFuzzInputs[];

namespace {

TEST(FuzzInputs, EveryKeptInputPassesItsChecks) {
  test::TestMachine machine;
  int count = 0;
  for (const FuzzInput* input = kFuzzInputs; input->name != nullptr; ++input, ++count) {
    SCOPED_TRACE(input->name);
    RunScriptInput(machine, input->data, input->size);
  }
  EXPECT_GT(count, 0);
}

}  // namespace

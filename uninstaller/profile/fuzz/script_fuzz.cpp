// libFuzzer target: arbitrary bytes as an uninstall script, read in memory
// and through the simulated file system, interpreted and planned.
#include <cstddef>
#include <cstdint>

#include "script_input.h"
#include "test_machine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static test::TestMachine machine;
  RunScriptInput(machine, data, size);
  return 0;
}

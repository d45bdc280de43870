// One arbitrary input through the script reader and the interpreter, with
// the checks that must hold for any script. Used by the fuzz target and by
// the unit test that replays the kept inputs.
#pragma once

#include <cstddef>
#include <cstdint>

namespace test {
class TestMachine;
}

// The first byte chooses the model variant, the UNPAVANE option and the
// buffer sizes of the queries; the rest is the script. A failed check
// aborts the process with a message on standard error.
void RunScriptInput(test::TestMachine& machine, const std::uint8_t* data, std::size_t size);

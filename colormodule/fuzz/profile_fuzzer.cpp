// libFuzzer entry: arbitrary bytes as a printer profile.
#include <cstddef>
#include <cstdint>

#include "exercise.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  huebridge_fuzz::ExerciseProfile(data, size);
  return 0;
}

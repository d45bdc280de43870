// Runs every route of the module on a profile given as bytes: transform
// creation from the image, every colour-type pair, single colours, bitmaps
// of every format and stride kind, gamut checks, for each intent; and the
// bitmap fast path against the plain evaluation, which must agree. Shared
// by the fuzzer and the regression test of the files it found.
#pragma once

#include <cstddef>
#include <cstdint>

namespace huebridge_fuzz {

void ExerciseProfile(const std::uint8_t* data, std::size_t size);

}  // namespace huebridge_fuzz

// The bitmap fast path: everything that depends on one input channel alone
// is precomputed per transform and device table, so that a pixel costs three
// packed-weight lookups, three grid-coordinate lookups, one trilinear blend
// and four output lookups, all in integers. Results are bit-identical to
// RgbToLab followed by EvalLut8 / EvalLut16.
#pragma once

#include <cstddef>
#include <cstdint>

#include "cmm_transform.h"

namespace huebridge {

enum class OutputMode : std::uint8_t {
  kLut8Tables,   // byte = lut8 output table k [o >> 8]
  kLut16Direct,  // output tables of 2 entries or fewer: byte = o >> 8
  kLut16Tables,  // byte = high byte of the lut16 output table at o
};

struct FastBitmapTables {
  // Per channel and byte value the three weighted sums of the Lab indices,
  // packed as X in bits 0-20, Y in bits 21-41 and Z in bits 42-62. Each sum
  // of three stays below 2^20, so adding the packed words never carries
  // from one field into the next.
  std::uint64_t packedSums[3][256];
  std::int32_t cubeRoot[512];
  // Grid coordinate (g << 16 | h) of channel 0 by the Y index, and of
  // channels 1 and 2 by the 16-bit a and b words.
  std::uint32_t axisL[512];
  std::uint32_t axisA[65536];
  std::uint32_t axisB[65536];
  const void* grid;
  std::uint32_t step0, step1, step2;  // grid values between neighbours
  std::uint32_t kind;                 // kLut8 or kLut16
  OutputMode outputMode;
  const std::uint8_t* lut8Output;     // 4 x 256 bytes (kLut8Tables)
  std::uint8_t lut16Output[4][32768];  // by o >> 1 (kLut16Tables)
};

// Needs the conversion tables and a usable device table. Null when out of
// memory.
FastBitmapTables* BuildFastTables(const CMM_TRANSFORM* t, const CMM_LUT* lut);
void FreeFastTables(FastBitmapTables* fast);

// Pixel size 3 or 4 bytes (red, green, blue in the first three); four output
// bytes a pixel.
using FastRowFn = void (*)(const FastBitmapTables& fast, const std::uint8_t* source,
                           unsigned pixelBytes, std::uint8_t* dest, std::size_t width);
void FastRowPortable(const FastBitmapTables& fast, const std::uint8_t* source,
                     unsigned pixelBytes, std::uint8_t* dest, std::size_t width);
void FastRowAvx2(const FastBitmapTables& fast, const std::uint8_t* source, unsigned pixelBytes,
                 std::uint8_t* dest, std::size_t width);
bool CpuHasAvx2();
// The best row function this processor runs.
FastRowFn ChooseFastRow();

// The plain route for one row: RgbToLab, then the device table.
void ScalarRow(const CMM_TRANSFORM* t, const CMM_LUT* lut, const std::uint8_t* source,
               unsigned pixelBytes, std::uint8_t* dest, std::size_t width);

}  // namespace huebridge

// Evaluation of the decoded tables in fixed point: device tables (three
// inputs, four outputs) and gamut tables (three inputs, one output).
#pragma once

#include <cstdint>

#include "cmm_transform.h"

namespace huebridge {

// The two interpolation steps. lerp15: f in 0..32767, signed 32-bit, the
// shift rounds toward minus infinity. lerp8: f in 0..255, rounds
// floor((b - a) f + 127) / 256), result truncated to 16 bits.
inline std::int32_t Lerp15(std::int32_t a, std::int32_t b, std::int32_t f) {
  return a + (((b - a) * f) >> 15);
}
inline std::int32_t Lerp8(std::int32_t a, std::int32_t b, std::int32_t f) {
  return (a + (((b - a) * f + 127) >> 8)) & 0xFFFF;
}

// Where one input channel falls in the grid: the cell index g along that
// channel and the fraction h toward the next grid point (15 bits for lut16,
// 8 bits for lut8).
struct GridCoord {
  std::uint32_t g;
  std::uint32_t h;
};
GridCoord Lut16Axis(const CMM_LUT* lut, unsigned channel, std::uint16_t x);
GridCoord Lut8Axis(const CMM_LUT* lut, unsigned channel, std::uint16_t x);
// Output k of a lut16 table for the grid result o (output tables applied
// only when they have more than 2 entries).
std::uint16_t Lut16Output(const CMM_LUT* lut, unsigned k, std::uint16_t o);

// Trilinear blend of the eight grid values at v + {0, step0} + {0, step1} +
// {0, step2}, each widened by `scale`, with the step function `lerp`: along
// channel 2 first, then 1, then 0.
template <typename T, typename Lerp>
std::int32_t Trilinear(const T* v, std::uint32_t step0, std::uint32_t step1, std::uint32_t step2,
                       std::int32_t scale, std::int32_t h0, std::int32_t h1, std::int32_t h2,
                       Lerp lerp) {
  auto at = [&](std::uint32_t offset) { return static_cast<std::int32_t>(v[offset]) * scale; };
  const std::int32_t c00 = lerp(at(0), at(step2), h2);
  const std::int32_t c01 = lerp(at(step1), at(step1 + step2), h2);
  const std::int32_t c10 = lerp(at(step0), at(step0 + step2), h2);
  const std::int32_t c11 = lerp(at(step0 + step1), at(step0 + step1 + step2), h2);
  const std::int32_t e0 = lerp(c00, c01, h1);
  const std::int32_t e1 = lerp(c10, c11, h1);
  return lerp(e0, e1, h0);
}

// Device tables. `in` and `out` may be the same storage.
void EvalLut16(const CMM_LUT* lut, const std::uint16_t in[3], std::uint16_t out[4]);
void EvalLut8(const CMM_LUT* lut, const std::uint16_t in[3], std::uint8_t out[4]);
// Either of the two by the table's kind, lut8 bytes widened by 256.
void EvalDeviceTable(const CMM_LUT* lut, const std::uint16_t in[3], std::uint16_t out[4]);

// Gamut tables: one result byte per Lab colour. Both return TRUE.
BOOL GamutLut16(const CMM_LUT* lut, const COLOR* colors, DWORD count, BYTE* result);
BOOL GamutLut8(const CMM_LUT* lut, const COLOR* colors, DWORD count, BYTE* result);

// Whether the evaluation can run on the table without reading past it.
bool DeviceTableUsable(const CMM_LUT* lut);
bool GamutTableUsable(const CMM_LUT* lut);

}  // namespace huebridge

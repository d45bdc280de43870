// Trilinear interpolation of lut16 and lut8 tables. The grid is stored with
// the last input channel varying fastest and the outputs of one grid point
// together; corners are blended along channel 2, then 1, then 0.
#include "lut_eval.h"

namespace huebridge {
namespace {

const std::uint16_t* Words(const void* p) { return static_cast<const std::uint16_t*>(p); }
const std::uint8_t* Bytes(const void* p) { return static_cast<const std::uint8_t*>(p); }
std::int32_t H(const GridCoord& c) { return static_cast<std::int32_t>(c.h); }

}  // namespace

GridCoord Lut16Axis(const CMM_LUT* lut, unsigned channel, std::uint16_t x) {
  const std::uint32_t n = lut->inputEntries;
  const std::uint16_t* table = Words(lut->inputTables) + channel * n;
  // Halving before scaling by (n - 1) keeps i at most n - 2.
  const std::uint32_t p = (x >> 1) * (n - 1);
  const std::uint32_t i = p >> 15;
  const auto v = static_cast<std::uint32_t>(
      Lerp15(table[i], table[i + 1], static_cast<std::int32_t>(p & 0x7FFF)));
  const std::uint32_t q = (v >> 1) * (lut->gridPoints - 1u);
  return {q >> 15, q & 0x7FFF};
}

GridCoord Lut8Axis(const CMM_LUT* lut, unsigned channel, std::uint16_t x) {
  std::uint32_t v = x;
  if (!lut->identityInput) {
    const std::uint8_t* table = Bytes(lut->inputTables) + channel * 256;
    const std::uint32_t hi = x >> 8, lo = x & 0xFF;
    // At the last entry the slope is taken as 1, so that a table ending in
    // 255 maps 0xFFFF to 0xFFFF.
    const std::int32_t d = hi < 255 ? table[hi + 1] - table[hi] : 1;
    v = static_cast<std::uint32_t>(table[hi] * 256 + static_cast<std::int32_t>(lo) * d);
  }
  const std::uint32_t p = v * (lut->gridPoints - 1u);
  return {p >> 16, (p >> 8) & 0xFF};
}

std::uint16_t Lut16Output(const CMM_LUT* lut, unsigned k, std::uint16_t o) {
  const std::uint32_t m = lut->outputEntries;
  if (m <= 2) return o;  // 2-entry tables are skipped too
  const std::uint16_t* table = Words(lut->outputTables) + k * m;
  const std::uint32_t p = (o >> 1) * (m - 1);
  const std::uint32_t i = p >> 15;
  return static_cast<std::uint16_t>(
      Lerp15(table[i], table[i + 1], static_cast<std::int32_t>(p & 0x7FFF)));
}

void EvalLut16(const CMM_LUT* lut, const std::uint16_t in[3], std::uint16_t out[4]) {
  const std::uint32_t grid = lut->gridPoints, n = lut->outputChannels;
  const GridCoord c[3] = {Lut16Axis(lut, 0, in[0]), Lut16Axis(lut, 1, in[1]),
                          Lut16Axis(lut, 2, in[2])};
  const std::uint16_t* cell = Words(lut->clut) + ((c[0].g * grid + c[1].g) * grid + c[2].g) * n;
  std::uint16_t o[4];
  for (unsigned k = 0; k < 4; ++k) {
    o[k] = static_cast<std::uint16_t>(
        Trilinear(cell + k, grid * grid * n, grid * n, n, 1, H(c[0]), H(c[1]), H(c[2]), Lerp15));
  }
  for (unsigned k = 0; k < 4; ++k) out[k] = Lut16Output(lut, k, o[k]);
}

void EvalLut8(const CMM_LUT* lut, const std::uint16_t in[3], std::uint8_t out[4]) {
  const std::uint32_t grid = lut->gridPoints, n = lut->outputChannels;
  const GridCoord c[3] = {Lut8Axis(lut, 0, in[0]), Lut8Axis(lut, 1, in[1]),
                          Lut8Axis(lut, 2, in[2])};
  const std::uint8_t* cell = Bytes(lut->clut) + ((c[0].g * grid + c[1].g) * grid + c[2].g) * n;
  const std::uint8_t* outputTables = Bytes(lut->outputTables);
  for (unsigned k = 0; k < 4; ++k) {
    // Grid bytes enter as 16-bit values (byte x 256).
    const std::int32_t o =
        Trilinear(cell + k, grid * grid * n, grid * n, n, 256, H(c[0]), H(c[1]), H(c[2]), Lerp8);
    out[k] = outputTables[k * 256 + (o >> 8)];
  }
}

void EvalDeviceTable(const CMM_LUT* lut, const std::uint16_t in[3], std::uint16_t out[4]) {
  if (lut->kind == kLut16) {
    EvalLut16(lut, in, out);
    return;
  }
  std::uint8_t bytes[4];
  EvalLut8(lut, in, bytes);
  for (unsigned k = 0; k < 4; ++k) out[k] = static_cast<std::uint16_t>(bytes[k] * 256);
}

BOOL GamutLut16(const CMM_LUT* lut, const COLOR* colors, DWORD count, BYTE* result) {
  const std::uint32_t grid = lut->gridPoints;
  for (DWORD i = 0; i < count; ++i) {
    const COLOR& color = colors[i];
    const GridCoord c[3] = {Lut16Axis(lut, 0, color.Lab.L), Lut16Axis(lut, 1, color.Lab.a),
                            Lut16Axis(lut, 2, color.Lab.b)};
    // One output: grid points are one value apart whatever outputChannels says.
    const std::uint16_t* cell = Words(lut->clut) + (c[0].g * grid + c[1].g) * grid + c[2].g;
    const auto o = static_cast<std::uint16_t>(
        Trilinear(cell, grid * grid, grid, 1, 1, H(c[0]), H(c[1]), H(c[2]), Lerp15));
    result[i] = static_cast<BYTE>(Lut16Output(lut, 0, o) >> 8);
  }
  return TRUE;
}

BOOL GamutLut8(const CMM_LUT* lut, const COLOR* colors, DWORD count, BYTE* result) {
  const std::uint32_t grid = lut->gridPoints;
  const std::uint8_t* inputTables = Bytes(lut->inputTables);
  const std::uint8_t* outputTable = Bytes(lut->outputTables);
  // Bytes blended with an 8-bit fraction, shift rounding toward minus infinity.
  auto lerp = [](std::int32_t a, std::int32_t b, std::int32_t h) {
    return a + (((b - a) * h) >> 8);
  };
  for (DWORD i = 0; i < count; ++i) {
    const std::uint16_t x[3] = {colors[i].Lab.L, colors[i].Lab.a, colors[i].Lab.b};
    GridCoord c[3];
    for (unsigned ch = 0; ch < 3; ++ch) {
      // The high byte only: no interpolation of the input tables.
      const std::uint32_t p = inputTables[ch * 256 + (x[ch] >> 8)] * (grid - 1);
      c[ch] = {p >> 8, p & 0xFF};
    }
    const std::uint8_t* cell = Bytes(lut->clut) + (c[0].g * grid + c[1].g) * grid + c[2].g;
    const std::int32_t r =
        Trilinear(cell, grid * grid, grid, 1, 1, H(c[0]), H(c[1]), H(c[2]), lerp);
    result[i] = outputTable[r];
  }
  return TRUE;
}

bool DeviceTableUsable(const CMM_LUT* lut) {
  if (lut->inputTables == nullptr) return false;  // tag absent or of another type
  if (lut->inputChannels != 3 || lut->outputChannels < 4 || lut->gridPoints < 2) return false;
  return lut->kind != kLut16 || lut->inputEntries >= 2;
}

bool GamutTableUsable(const CMM_LUT* lut) {
  if (lut->inputTables == nullptr) return false;
  if (lut->inputChannels != 3 || lut->outputChannels < 1 || lut->gridPoints < 2) return false;
  return lut->kind != kLut16 || lut->inputEntries >= 2;
}

}  // namespace huebridge

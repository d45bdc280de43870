// Building the fast-path tables, and the portable row function.
#include "bitmap_fast.h"

#include <cstdlib>

#include "lab_tables.h"
#include "lut_eval.h"

namespace huebridge {
namespace {

std::uint32_t Pack(GridCoord c) { return c.g << 16 | c.h; }

}  // namespace

FastBitmapTables* BuildFastTables(const CMM_TRANSFORM* t, const CMM_LUT* lut) {
  auto* fast = static_cast<FastBitmapTables*>(std::malloc(sizeof(FastBitmapTables)));
  if (fast == nullptr) return nullptr;

  const std::uint32_t* weights[3] = {kWeightX, kWeightY, kWeightZ};
  for (unsigned c = 0; c < 3; ++c) {
    for (unsigned v = 0; v < 256; ++v) {
      const std::uint64_t lin = t->srgbToLinear[v];
      fast->packedSums[c][v] = weights[0][c] * lin | (weights[1][c] * lin) << 21 |
                               (weights[2][c] * lin) << 42;
    }
  }
  for (unsigned i = 0; i < 512; ++i) fast->cubeRoot[i] = static_cast<std::int32_t>(t->cubeRoot[i]);

  auto axis = lut->kind == kLut16 ? Lut16Axis : Lut8Axis;
  for (std::uint32_t yi = 0; yi < 512; ++yi) fast->axisL[yi] = Pack(axis(lut, 0, LabL(t, yi)));
  for (std::uint32_t x = 0; x < 65536; ++x) {
    fast->axisA[x] = Pack(axis(lut, 1, static_cast<std::uint16_t>(x)));
    fast->axisB[x] = Pack(axis(lut, 2, static_cast<std::uint16_t>(x)));
  }

  const std::uint32_t grid = lut->gridPoints, n = lut->outputChannels;
  fast->grid = lut->clut;
  fast->step2 = n;
  fast->step1 = grid * n;
  fast->step0 = grid * grid * n;
  fast->kind = lut->kind;
  fast->lut8Output = static_cast<const std::uint8_t*>(lut->outputTables);
  if (lut->kind == kLut8) {
    fast->outputMode = OutputMode::kLut8Tables;
  } else if (lut->outputEntries <= 2) {
    fast->outputMode = OutputMode::kLut16Direct;
  } else {
    fast->outputMode = OutputMode::kLut16Tables;
    // The output tables are read at (o >> 1), so 32768 entries cover every o.
    for (unsigned k = 0; k < 4; ++k) {
      for (std::uint32_t i = 0; i < 32768; ++i) {
        fast->lut16Output[k][i] =
            static_cast<std::uint8_t>(Lut16Output(lut, k, static_cast<std::uint16_t>(i << 1)) >> 8);
      }
    }
  }
  return fast;
}

void FreeFastTables(FastBitmapTables* fast) { std::free(fast); }

void FastRowPortable(const FastBitmapTables& fast, const std::uint8_t* source,
                     unsigned pixelBytes, std::uint8_t* dest, std::size_t width) {
  for (std::size_t x = 0; x < width; ++x, source += pixelBytes, dest += 4) {
    const std::uint64_t sums = fast.packedSums[0][source[0]] + fast.packedSums[1][source[1]] +
                               fast.packedSums[2][source[2]];
    const auto xi = static_cast<std::uint32_t>(sums >> 11) & 0x3FF;
    const auto yi = static_cast<std::uint32_t>(sums >> 32) & 0x3FF;
    const auto zi = static_cast<std::uint32_t>(sums >> 53) & 0x3FF;
    const std::int32_t crY = fast.cubeRoot[yi];
    const auto a = static_cast<std::uint32_t>((fast.cubeRoot[xi] - crY) * 5 + 0x8000) & 0xFFFF;
    const auto b = static_cast<std::uint32_t>((crY - fast.cubeRoot[zi]) * 2 + 0x8000) & 0xFFFF;
    const std::uint32_t c0 = fast.axisL[yi], c1 = fast.axisA[a], c2 = fast.axisB[b];
    const std::uint32_t base =
        (c0 >> 16) * fast.step0 + (c1 >> 16) * fast.step1 + (c2 >> 16) * fast.step2;
    const auto h0 = static_cast<std::int32_t>(c0 & 0xFFFF);
    const auto h1 = static_cast<std::int32_t>(c1 & 0xFFFF);
    const auto h2 = static_cast<std::int32_t>(c2 & 0xFFFF);
    for (unsigned k = 0; k < 4; ++k) {
      if (fast.kind == kLut16) {
        const std::uint16_t* cell = static_cast<const std::uint16_t*>(fast.grid) + base + k;
        const auto o = static_cast<std::uint32_t>(
            Trilinear(cell, fast.step0, fast.step1, fast.step2, 1, h0, h1, h2, Lerp15));
        dest[k] = fast.outputMode == OutputMode::kLut16Direct
                      ? static_cast<std::uint8_t>(o >> 8)
                      : fast.lut16Output[k][o >> 1];
      } else {
        const std::uint8_t* cell = static_cast<const std::uint8_t*>(fast.grid) + base + k;
        const auto o = static_cast<std::uint32_t>(
            Trilinear(cell, fast.step0, fast.step1, fast.step2, 256, h0, h1, h2, Lerp8));
        dest[k] = fast.lut8Output[k * 256 + (o >> 8)];
      }
    }
  }
}

bool CpuHasAvx2() {
#if defined(__x86_64__) || defined(__i386__)
  return __builtin_cpu_supports("avx2");
#else
  return false;
#endif
}

FastRowFn ChooseFastRow() { return CpuHasAvx2() ? FastRowAvx2 : FastRowPortable; }

void ScalarRow(const CMM_TRANSFORM* t, const CMM_LUT* lut, const std::uint8_t* source,
               unsigned pixelBytes, std::uint8_t* dest, std::size_t width) {
  for (std::size_t x = 0; x < width; ++x, source += pixelBytes, dest += 4) {
    std::uint16_t w[4];
    const std::uint16_t rgb[3] = {static_cast<std::uint16_t>(source[0] * 256),
                                  static_cast<std::uint16_t>(source[1] * 256),
                                  static_cast<std::uint16_t>(source[2] * 256)};
    RgbToLab(t, rgb, w);
    EvalDeviceTable(lut, w, w);
    for (unsigned k = 0; k < 4; ++k) dest[k] = static_cast<std::uint8_t>(w[k] >> 8);
  }
}

}  // namespace huebridge

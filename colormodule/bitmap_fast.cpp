// Building the fast-path tables, and the portable row function.
#include "bitmap_fast.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "lab_tables.h"
#include "lut_eval.h"
#include "row_cache.h"

namespace huebridge {
namespace {

struct Differences {
  std::int32_t lo, hi;
};

// The cubeRoot differences behind the a and b words that 8-bit colours
// reach. The three indices never fall as a channel grows and neither does
// cubeRoot, so the corners of a box of colours bound the differences inside
// it; boxes of 8 x 8 x 8 colours give bounds a few percent wider than exact.
// Tables that are not monotonic (they are, but the bound relies on it) get
// the full range: cubeRoot entries lie in 0..kCubeRootSpan.
void ReachableDifferences(const CMM_TRANSFORM* t, Differences* a, Differences* b) {
  constexpr auto kSpan = static_cast<std::int32_t>(kCubeRootSpan);
  *a = *b = {-kSpan, kSpan};
  for (unsigned i = 1; i < 256; ++i) {
    if (t->srgbToLinear[i] < t->srgbToLinear[i - 1]) return;
  }
  for (unsigned i = 1; i < 512; ++i) {
    if (t->cubeRoot[i] < t->cubeRoot[i - 1] || t->cubeRoot[i] > kCubeRootSpan) return;
  }
  const auto* f = reinterpret_cast<const std::int32_t*>(t->cubeRoot);
  *a = *b = {kSpan, -kSpan};
  for (unsigned r = 0; r < 256; r += 8) {
    for (unsigned g = 0; g < 256; g += 8) {
      for (unsigned bl = 0; bl < 256; bl += 8) {
        const LabIndices lo =
            RgbIndices(t, static_cast<std::uint16_t>(r << 8), static_cast<std::uint16_t>(g << 8),
                       static_cast<std::uint16_t>(bl << 8));
        const LabIndices hi = RgbIndices(t, static_cast<std::uint16_t>((r + 7) << 8),
                                         static_cast<std::uint16_t>((g + 7) << 8),
                                         static_cast<std::uint16_t>((bl + 7) << 8));
        a->lo = std::min(a->lo, f[lo.xi] - f[hi.yi]);
        a->hi = std::max(a->hi, f[hi.xi] - f[lo.yi]);
        b->lo = std::min(b->lo, f[lo.yi] - f[hi.zi]);
        b->hi = std::max(b->hi, f[hi.yi] - f[lo.zi]);
      }
    }
  }
}

// One axis table: entry i for the cubeRoot difference lo + i, whose word is
// `factor` times it + 0x8000 (mod 2^16) as LabA and LabB compute it.
void FillAxis(const CMM_LUT* lut, unsigned channel, Differences range, std::uint32_t factor,
              std::uint32_t step, std::uint32_t fracBits, std::uint32_t* table) {
  auto axis = lut->kind == kLut16 ? Lut16Axis : Lut8Axis;
  for (std::int32_t d = range.lo; d <= range.hi; ++d) {
    const auto word = static_cast<std::uint16_t>(static_cast<std::uint32_t>(d) * factor + 0x8000);
    const GridCoord c = axis(lut, channel, word);
    table[d - range.lo] = (c.g * step) << fracBits | c.h;
  }
}

// lut16Steps from lut16Output; false when a block falls or rises by more
// than one.
bool FillSteps(FastBitmapTables& fast) {
  for (unsigned k = 0; k < 4; ++k) {
    for (unsigned block = 0; block < 256; ++block) {
      const std::uint8_t* bytes = fast.lut16Output + k * 32768 + block * 128;
      unsigned rise = 128;
      for (unsigned i = 1; i < 128; ++i) {
        const int up = bytes[i] - bytes[0];
        if (up < 0 || up > 1 || (up == 0 && rise != 128)) return false;
        if (up == 1 && rise == 128) rise = i;
      }
      fast.lut16Steps[k * 256 + block] = static_cast<std::uint16_t>(bytes[0] | rise << 8);
    }
  }
  return true;
}

// outputShift from lut16Output: the shift that puts the first rise of each
// table where it is, then checked on all 32768 entries.
bool FindShifts(FastBitmapTables& fast) {
  for (unsigned k = 0; k < 4; ++k) {
    const std::uint8_t* bytes = fast.lut16Output + k * 32768;
    std::int32_t first = 1;
    while (first < 32768 && bytes[first] == bytes[0]) ++first;
    const std::int32_t shift = 128 * (bytes[0] + 1) - first;
    for (std::int32_t x = 0; x < 32768; ++x) {
      const std::int32_t byte = std::clamp((x + shift) >> 7, 0, 255);
      if (bytes[x] != byte) return false;
    }
    fast.outputShift[k] = shift;
  }
  return true;
}

}  // namespace

FastBitmapTables* BuildFastTables(const CMM_TRANSFORM* t, const CMM_LUT* lut) {
  const std::uint32_t grid = lut->gridPoints, n = lut->outputChannels;
  const std::uint32_t fracBits = lut->kind == kLut16 ? 15 : 8;
  // The largest offset along channel 1 is (grid - 2) x grid x n.
  if (std::uint64_t{grid - 2} * grid * n >= (std::uint64_t{1} << (32 - fracBits))) return nullptr;
  Differences a, b;
  ReachableDifferences(t, &a, &b);
  const auto sizeA = static_cast<std::uint64_t>(std::int64_t{a.hi} - a.lo + 1);
  const auto sizeB = static_cast<std::uint64_t>(std::int64_t{b.hi} - b.lo + 1);
  const std::uint64_t bytes = sizeof(FastBitmapTables) + (sizeA + sizeB) * sizeof(std::uint32_t);
  auto* fast = static_cast<FastBitmapTables*>(std::malloc(static_cast<std::size_t>(bytes)));
  if (fast == nullptr) return nullptr;
  auto* axes = reinterpret_cast<std::uint32_t*>(fast + 1);
  fast->axisA = axes;
  fast->axisB = axes + sizeA;
  fast->axisASize = static_cast<std::uint32_t>(sizeA);
  fast->axisBSize = static_cast<std::uint32_t>(sizeB);
  fast->fracBits = fracBits;
  fast->grid = lut->clut;
  fast->step2 = n;
  fast->step1 = grid * n;
  fast->step0 = grid * grid * n;

  const std::uint32_t* weights[3] = {kWeightX, kWeightY, kWeightZ};
  for (unsigned c = 0; c < 3; ++c) {
    for (unsigned v = 0; v < 256; ++v) {
      const std::uint64_t lin = t->srgbToLinear[v];
      fast->packedSums[c][v] =
          weights[0][c] * lin | (weights[1][c] * lin) << 21 | (weights[2][c] * lin) << 42;
    }
  }
  for (unsigned i = 0; i < 512; ++i) {
    fast->cubeRoot[i] = t->cubeRoot[i];
    fast->cubeRootA[i] = t->cubeRoot[i] - static_cast<std::uint32_t>(a.lo);
    fast->cubeRootB[i] = t->cubeRoot[i] - static_cast<std::uint32_t>(b.lo);
  }
  auto axis = lut->kind == kLut16 ? Lut16Axis : Lut8Axis;
  for (std::uint32_t yi = 0; yi < 512; ++yi) {
    const GridCoord c = axis(lut, 0, LabL(t, yi));
    fast->axisL[yi] = {c.g * fast->step0, static_cast<std::int32_t>(c.h)};
  }
  FillAxis(lut, 1, a, 5, fast->step1, fracBits, axes);
  FillAxis(lut, 2, b, 2, fast->step2, fracBits, axes + sizeA);

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
        fast->lut16Output[k * 32768 + i] =
            static_cast<std::uint8_t>(Lut16Output(lut, k, static_cast<std::uint16_t>(i << 1)) >> 8);
      }
    }
  }
  if (fast->outputMode == OutputMode::kLut16Tables) {
    if (FindShifts(*fast)) {
      fast->outputMode = OutputMode::kLut16Shifted;
    } else if (FillSteps(*fast)) {
      fast->outputMode = OutputMode::kLut16Steps;
    }
  }
  fast->row = ChooseFastRow();
  ClearColourCache(*fast);
  return fast;
}

void ClearColourCache(FastBitmapTables& fast) {
  std::memset(fast.cache, 0xFF, sizeof fast.cache);  // every entry kNoColour
  fast.skippedBatches = 0;
}

void FreeFastTables(FastBitmapTables* fast) { std::free(fast); }

namespace {

// One colour through the tables, as four output bytes (output 0 lowest).
std::uint32_t EvaluateColour(const FastBitmapTables& fast, std::uint32_t colour) {
  const PixelCell at =
      fast.kind == kLut16 ? LocateColour<15>(fast, colour) : LocateColour<8>(fast, colour);
  std::uint32_t bytes = 0;
  for (unsigned k = 0; k < 4; ++k) {
    std::uint32_t byte;
    if (fast.kind == kLut16) {
      const std::uint16_t* cell = static_cast<const std::uint16_t*>(fast.grid) + at.base + k;
      const auto o = static_cast<std::uint32_t>(
          Trilinear(cell, fast.step0, fast.step1, fast.step2, 1, at.h0, at.h1, at.h2, Lerp15));
      if (fast.outputMode == OutputMode::kLut16Direct) {
        byte = o >> 8 & 0xFF;
      } else if (fast.outputMode == OutputMode::kLut16Shifted) {
        const std::int32_t shifted = (static_cast<std::int32_t>(o >> 1) + fast.outputShift[k]) >> 7;
        byte = static_cast<std::uint32_t>(std::clamp(shifted, 0, 255));
      } else {
        byte = fast.lut16Output[k * 32768 + (o >> 1)];
      }
    } else {
      const std::uint8_t* cell = static_cast<const std::uint8_t*>(fast.grid) + at.base + k;
      const auto o = static_cast<std::uint32_t>(
          Trilinear(cell, fast.step0, fast.step1, fast.step2, 256, at.h0, at.h1, at.h2, Lerp8));
      byte = fast.lut8Output[k * 256 + (o >> 8)];
    }
    bytes |= byte << 8 * k;
  }
  return bytes;
}

}  // namespace

void FastRowPortable(FastBitmapTables& fast, const std::uint8_t* source, unsigned pixelBytes,
                     std::uint8_t* dest, std::size_t width) {
  struct Evaluator {
    const FastBitmapTables& fast;
    void operator()(Misses& misses) const {
      for (std::uint32_t j = 0; j < misses.count; ++j) {
        misses.output[j] = EvaluateColour(fast, misses.colour[j]);
      }
    }
    void operator()(const std::uint8_t* in, unsigned bytes, std::uint8_t* out,
                    std::size_t n) const {
      for (std::size_t i = 0; i < n; ++i, in += bytes, out += 4) {
        StoreWord(out, EvaluateColour(fast, std::uint32_t{in[0]} | std::uint32_t{in[1]} << 8 |
                                                std::uint32_t{in[2]} << 16));
      }
    }
  };
  CachedRow(fast, source, pixelBytes, dest, width, Evaluator{fast});
}

bool CpuHasAvx2() {
#if defined(__x86_64__) || defined(__i386__)
  return __builtin_cpu_supports("avx2");
#else
  return false;
#endif
}

bool CpuHasSse41() {
#if defined(__x86_64__) || defined(__i386__)
  return __builtin_cpu_supports("sse4.1");
#else
  return false;
#endif
}

FastRowFn ChooseFastRow() {
  if (CpuHasAvx2()) return FastRowAvx2;
  return CpuHasSse41() ? FastRowSse41 : FastRowPortable;
}

}  // namespace huebridge

// Building the fast-path tables, and the portable row function.
#include "bitmap_fast.h"

#include <algorithm>
#include <bit>
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

// Four 32-bit lanes, one per output, in the vector extension of GCC and
// Clang: the blend below is then four lanes wide on any processor the
// compiler has vectors for (SSE2 on every x86-64), and plain code elsewhere.
using Lanes = std::int32_t __attribute__((vector_size(16)));
using Words4 = std::uint16_t __attribute__((vector_size(8)));

Lanes Corner(const std::uint16_t* p) {
  Words4 w;
  std::memcpy(&w, p, sizeof w);
  return __builtin_convertvector(w, Lanes);
}

// Trilinear on the four outputs of a lut16 cell at once, with Lerp15:
// along channel 2, then 1, then 0. Inlined by force: GCC otherwise calls
// it once a pixel.
[[gnu::always_inline]] inline Lanes BlendLanes(const std::uint16_t* p, std::uint32_t s0,
                                               std::uint32_t s1, std::uint32_t s2,
                                               const PixelCell& at) {
  auto lerp = [](Lanes a, Lanes b, std::int32_t f) -> Lanes { return a + (((b - a) * f) >> 15); };
  auto v = [&](std::uint32_t offset) { return Corner(p + offset); };
  const Lanes c00 = lerp(v(0), v(s2), at.h2), c01 = lerp(v(s1), v(s1 + s2), at.h2);
  const Lanes c10 = lerp(v(s0), v(s0 + s2), at.h2), c11 = lerp(v(s0 + s1), v(s0 + s1 + s2), at.h2);
  return lerp(lerp(c00, c01, at.h1), lerp(c10, c11, at.h1), at.h0);
}

// The four output bytes (output 0 lowest) of a blended cell.
template <OutputMode kMode>
std::uint32_t OutputBytes(const FastBitmapTables& fast, Lanes o) {
  std::uint32_t bytes = 0;
  for (unsigned k = 0; k < 4; ++k) {
    const auto ok = static_cast<std::uint32_t>(o[k]);
    std::uint32_t byte;
    if constexpr (kMode == OutputMode::kLut16Direct) {
      byte = ok >> 8 & 0xFF;
    } else if constexpr (kMode == OutputMode::kLut16Shifted) {
      const std::int32_t shifted = (static_cast<std::int32_t>(ok >> 1) + fast.outputShift[k]) >> 7;
      byte = static_cast<std::uint32_t>(std::clamp(shifted, 0, 255));
    } else {
      byte = fast.lut16Output[k * 32768 + (ok >> 1)];
    }
    bytes |= byte << 8 * k;
  }
  return bytes;
}

// The lut8 blend in plain 64-bit integers, two products in each multiply,
// which on SSE2 beats four-lane vectors: these lack a 32-bit multiply.
// A step's weights as one word: f + (256 - f) 2^32.
inline std::uint64_t Weights(std::int32_t f) {
  return static_cast<std::uint64_t>(f) | static_cast<std::uint64_t>(256 - f) << 32;
}

// Four grid bytes, output 0 lowest, whatever the byte order.
inline std::uint64_t GridBytes(const std::uint8_t* p) {
  if constexpr (std::endian::native == std::endian::little) return LoadWord(p);
  return std::uint64_t{p[0]} | std::uint64_t{p[1]} << 8 | std::uint64_t{p[2]} << 16 |
         std::uint64_t{p[3]} << 24;
}

// Along channel 2 on the grid points a (at p) and b (at p + s2): the bytes
// a0 a2 b0 b2 and a1 a3 b1 b3 as 16-bit fields, times f + (256 - f) 2^32,
// put a_k (256 - f) + b_k f = 256 a_k + (b_k - a_k) f, Lerp8 of the widened
// bytes exactly, in fields 2 and 3. Fields 0 and 1 hold a_k f and fields 2
// and 3 at most 255 x 256, so no field carries into the next. The result:
// outputs 0 | 2 << 16 in `even`, 1 | 3 << 16 in `odd`.
struct Edge {
  std::uint32_t even, odd;
};
[[gnu::always_inline]] inline Edge FirstLut8(const std::uint8_t* p, std::uint32_t s2,
                                             std::uint64_t w) {
  constexpr std::uint64_t kEvenBytes = 0x00FF00FF00FF00FF;
  const std::uint64_t ab = GridBytes(p) | GridBytes(p + s2) << 32;
  return {static_cast<std::uint32_t>((ab & kEvenBytes) * w >> 32),
          static_cast<std::uint32_t>((ab >> 8 & kEvenBytes) * w >> 32)};
}

// Lerp8 of x and y (up to 65280), given as x | y << 32, computed as
// (x (256 - f) + y f + 127) >> 8, which equals x + (((y - x) f + 127) >> 8):
// times f + (256 - f) 2^32 the high half receives x (256 - f) + y f (under
// 2^24), and the low half x f (under 2^24), which never carries into it.
inline std::uint32_t Lerp8Pair(std::uint64_t xy, std::uint64_t w) {
  return static_cast<std::uint32_t>((xy * w >> 32) + 127) >> 8;
}

[[gnu::always_inline]] inline std::uint32_t BlendLut8(const FastBitmapTables& fast,
                                                      const std::uint8_t* p, std::uint32_t s0,
                                                      std::uint32_t s1, std::uint32_t s2,
                                                      const PixelCell& at) {
  const std::uint64_t w2 = Weights(at.h2), w1 = Weights(at.h1), w0 = Weights(at.h0);
  const Edge c00 = FirstLut8(p, s2, w2), c01 = FirstLut8(p + s1, s2, w2);
  const Edge c10 = FirstLut8(p + s0, s2, w2), c11 = FirstLut8(p + s0 + s1, s2, w2);
  // Outputs k and k + 2 from the halves (k | k + 2 << 16) of the four edges:
  // e00 | e01 << 32 holds the pairs (x, y) of both outputs along channel 1,
  // one pair in the even 16-bit fields and one in the odd ones.
  const std::uint8_t* table = fast.lut8Output;
  auto outputs = [&](std::uint32_t e00, std::uint32_t e01, std::uint32_t e10, std::uint32_t e11,
                     unsigned k) {
    constexpr std::uint64_t kLow = 0x0000FFFF0000FFFF;
    // The edges at d0 = 0 and at d0 = 1 (not "near" and "far": macros on Windows).
    const std::uint64_t side0 = e00 | std::uint64_t{e01} << 32;
    const std::uint64_t side1 = e10 | std::uint64_t{e11} << 32;
    const std::uint32_t lo0 = Lerp8Pair(side0 & kLow, w1), hi0 = Lerp8Pair(side0 >> 16 & kLow, w1);
    const std::uint32_t lo1 = Lerp8Pair(side1 & kLow, w1), hi1 = Lerp8Pair(side1 >> 16 & kLow, w1);
    const std::uint32_t lo = Lerp8Pair(lo0 | std::uint64_t{lo1} << 32, w0);
    const std::uint32_t hi = Lerp8Pair(hi0 | std::uint64_t{hi1} << 32, w0);
    return std::uint32_t{table[k * 256 + (lo >> 8)]} << 8 * k |
           std::uint32_t{table[(k + 2) * 256 + (hi >> 8)]} << 8 * (k + 2);
  };
  return outputs(c00.even, c01.even, c10.even, c11.even, 0) |
         outputs(c00.odd, c01.odd, c10.odd, c11.odd, 1);
}

// A batch of colours in two loops of independent iterations, as in the
// SIMD rows: locate every cell, then blend each and look up its bytes.
template <typename T, OutputMode kMode, typename ColourOf, typename Put>
void EvaluateBatch(const FastBitmapTables& fast, std::size_t n, ColourOf colourOf, Put put) {
  constexpr std::uint32_t kFracBits = sizeof(T) == 2 ? 15 : 8;
  // Locals, so that the stores of outputs cannot be taken to change them.
  const T* grid = static_cast<const T*>(fast.grid);
  const std::uint32_t s0 = fast.step0, s1 = fast.step1, s2 = fast.step2;
  PixelCell cells[kRowBatch];
  for (std::size_t i = 0; i < n; ++i) cells[i] = LocateColour<kFracBits>(fast, colourOf(i));
  for (std::size_t i = 0; i < n; ++i) {
    if constexpr (kMode == OutputMode::kLut8Tables) {
      put(i, BlendLut8(fast, grid + cells[i].base, s0, s1, s2, cells[i]));
    } else {
      put(i, OutputBytes<kMode>(fast, BlendLanes(grid + cells[i].base, s0, s1, s2, cells[i])));
    }
  }
}

template <typename T, OutputMode kMode>
struct Evaluator {
  const FastBitmapTables& fast;
  void operator()(Misses& misses) const {
    EvaluateBatch<T, kMode>(
        fast, misses.count, [&](std::size_t i) { return misses.colour[i]; },
        [&](std::size_t i, std::uint32_t bytes) { misses.output[i] = bytes; });
  }
  void operator()(const std::uint8_t* in, unsigned pixelBytes, std::uint8_t* out,
                  std::size_t n) const {
    EvaluateBatch<T, kMode>(
        fast, n,
        [&](std::size_t i) {
          const std::uint8_t* px = in + i * pixelBytes;
          return std::uint32_t{px[0]} | std::uint32_t{px[1]} << 8 | std::uint32_t{px[2]} << 16;
        },
        [&](std::size_t i, std::uint32_t bytes) { StoreWord(out + 4 * i, bytes); });
  }
};

}  // namespace

void FastRowPortable(FastBitmapTables& fast, const std::uint8_t* source, unsigned pixelBytes,
                     std::uint8_t* dest, std::size_t width) {
  using M = OutputMode;
  switch (fast.outputMode) {
    case M::kLut8Tables:
      CachedRow(fast, source, pixelBytes, dest, width,
                Evaluator<std::uint8_t, M::kLut8Tables>{fast});
      break;
    case M::kLut16Direct:
      CachedRow(fast, source, pixelBytes, dest, width,
                Evaluator<std::uint16_t, M::kLut16Direct>{fast});
      break;
    case M::kLut16Shifted:
      CachedRow(fast, source, pixelBytes, dest, width,
                Evaluator<std::uint16_t, M::kLut16Shifted>{fast});
      break;
    case M::kLut16Tables:
    case M::kLut16Steps:  // the 128 KB table serves here
      CachedRow(fast, source, pixelBytes, dest, width,
                Evaluator<std::uint16_t, M::kLut16Tables>{fast});
      break;
  }
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

// The bitmap row with AVX2, chosen at run time. The eight grid corners of a
// pixel's cell become four vectors of 32-bit lanes, two corners (four
// outputs each) per vector, so that the three blending steps of Trilinear
// run on all four outputs at once. The lane arithmetic is that of Lerp15 /
// Lerp8: 32-bit products and arithmetic shifts, so the results are
// bit-identical to the scalar evaluation. Gathers are not used: on the
// machines measured a gather of 8 lanes cost more than 8 scalar loads.
//
// Built for Windows too: the module is compiled there with
// -Wa,-muse-unaligned-vector-move, because GCC does not keep the Win64
// stack 32-byte aligned for spilled vectors (GCC bug 54412).
#include <immintrin.h>

#include <cstring>

#include "bitmap_fast.h"
#include "row_cache.h"

namespace huebridge {
namespace {

#define HUEBRIDGE_AVX2 __attribute__((target("avx2")))

// a + ((b - a) * f >> 15) in every lane.
HUEBRIDGE_AVX2 inline __m256i Lerp15x8(__m256i a, __m256i b, __m256i f) {
  return _mm256_add_epi32(a, _mm256_srai_epi32(_mm256_mullo_epi32(_mm256_sub_epi32(b, a), f), 15));
}
HUEBRIDGE_AVX2 inline __m128i Lerp15x4(__m128i a, __m128i b, __m128i f) {
  return _mm_add_epi32(a, _mm_srai_epi32(_mm_mullo_epi32(_mm_sub_epi32(b, a), f), 15));
}

// a + (((b - a) * f + 127) >> 8) in every lane. The 16-bit truncation of
// Lerp8 changes nothing: the result always lies between a and b.
HUEBRIDGE_AVX2 inline __m256i Lerp8x8(__m256i a, __m256i b, __m256i f) {
  const __m256i round = _mm256_set1_epi32(127);
  return _mm256_add_epi32(
      a,
      _mm256_srai_epi32(_mm256_add_epi32(_mm256_mullo_epi32(_mm256_sub_epi32(b, a), f), round), 8));
}
HUEBRIDGE_AVX2 inline __m128i Lerp8x4(__m128i a, __m128i b, __m128i f) {
  return _mm_add_epi32(
      a, _mm_srai_epi32(_mm_add_epi32(_mm_mullo_epi32(_mm_sub_epi32(b, a), f), _mm_set1_epi32(127)),
                        8));
}

// The first lut8 step on grid bytes a and b: Lerp8(256 a, 256 b, f) is
// 256 a + floor((256 (b - a) f + 127) / 256), and as 256 (b - a) f is a
// multiple of 256 that is exactly 256 a + (b - a) f.
HUEBRIDGE_AVX2 inline __m256i FirstLerp8x8(__m256i a, __m256i b, __m256i f) {
  return _mm256_add_epi32(_mm256_slli_epi32(a, 8), _mm256_mullo_epi32(_mm256_sub_epi32(b, a), f));
}

// Blends the corner vectors [V000|V100], [V001|V101], [V010|V110],
// [V011|V111] (Vd0d1d2: four outputs each) down to the four outputs,
// channel 2 first (with FirstLanes), then 1 and 0.
template <__m256i (*FirstLanes)(__m256i, __m256i, __m256i),
          __m256i (*Lerp8Lanes)(__m256i, __m256i, __m256i),
          __m128i (*Lerp4Lanes)(__m128i, __m128i, __m128i)>
HUEBRIDGE_AVX2 inline __m128i Blend(__m256i vx00, __m256i vx01, __m256i vx10, __m256i vx11,
                                    const PixelCell& cell) {
  const __m256i h2 = _mm256_set1_epi32(cell.h2);
  const __m256i first = FirstLanes(vx00, vx01, h2);                         // [c00|c10]
  const __m256i second = FirstLanes(vx10, vx11, h2);                        // [c01|c11]
  const __m256i e = Lerp8Lanes(first, second, _mm256_set1_epi32(cell.h1));  // [e0|e1]
  return Lerp4Lanes(_mm256_castsi256_si128(e), _mm256_extracti128_si256(e, 1),
                    _mm_set1_epi32(cell.h0));
}

HUEBRIDGE_AVX2 inline __m128i Load64(const std::uint16_t* p) {
  return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
}

HUEBRIDGE_AVX2 inline __m128i Load32(const std::uint8_t* p) {
  std::int32_t v;
  std::memcpy(&v, p, sizeof v);
  return _mm_cvtsi32_si128(v);
}

// Two lut16 grid points (four outputs each) as eight 32-bit lanes.
HUEBRIDGE_AVX2 inline __m256i Pair16(__m128i first, __m128i second) {
  return _mm256_cvtepu16_epi32(_mm_unpacklo_epi64(first, second));
}

// Two lut8 grid points (four outputs each) as eight lanes of bytes.
HUEBRIDGE_AVX2 inline __m256i Pair8(__m128i first, __m128i second) {
  return _mm256_cvtepu8_epi32(_mm_unpacklo_epi32(first, second));
}

// The grid and its steps, copied out of the tables so that the compiler
// can keep them in registers across the stores to the destination.
template <typename T>
struct GridView {
  const T* grid;
  std::uint32_t s0, s1, s2;
};

// The four outputs of a lut16 cell, one per 32-bit lane.
HUEBRIDGE_AVX2 inline __m128i Cell(const GridView<std::uint16_t>& g, const PixelCell& cell) {
  const std::uint16_t* p = g.grid + cell.base;
  const __m256i vx00 = Pair16(Load64(p), Load64(p + g.s0));
  const __m256i vx01 = Pair16(Load64(p + g.s2), Load64(p + g.s0 + g.s2));
  const __m256i vx10 = Pair16(Load64(p + g.s1), Load64(p + g.s0 + g.s1));
  const __m256i vx11 = Pair16(Load64(p + g.s1 + g.s2), Load64(p + g.s0 + g.s1 + g.s2));
  return Blend<Lerp15x8, Lerp15x8, Lerp15x4>(vx00, vx01, vx10, vx11, cell);
}

// The four outputs of a lut8 cell (16-bit values: grid bytes count 256).
HUEBRIDGE_AVX2 inline __m128i Cell(const GridView<std::uint8_t>& g, const PixelCell& cell) {
  const std::uint8_t* p = g.grid + cell.base;
  const __m256i vx00 = Pair8(Load32(p), Load32(p + g.s0));
  const __m256i vx01 = Pair8(Load32(p + g.s2), Load32(p + g.s0 + g.s2));
  const __m256i vx10 = Pair8(Load32(p + g.s1), Load32(p + g.s0 + g.s1));
  const __m256i vx11 = Pair8(Load32(p + g.s1 + g.s2), Load32(p + g.s0 + g.s1 + g.s2));
  return Blend<FirstLerp8x8, Lerp8x8, Lerp8x4>(vx00, vx01, vx10, vx11, cell);
}

// With exactly four outputs a grid point's neighbour along channel 2 follows
// it directly, so one load fetches both: [V000|V001] and so on.
HUEBRIDGE_AVX2 inline __m128i PairedCell(const GridView<std::uint16_t>& g, const PixelCell& cell) {
  const std::uint16_t* p = g.grid + cell.base;
  auto load = [](const std::uint16_t* at)
                  HUEBRIDGE_AVX2 { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); };
  const __m128i y00 = load(p), y10 = load(p + g.s0);
  const __m128i y01 = load(p + g.s1), y11 = load(p + g.s0 + g.s1);
  return Blend<Lerp15x8, Lerp15x8, Lerp15x4>(_mm256_cvtepu16_epi32(_mm_unpacklo_epi64(y00, y10)),
                                             _mm256_cvtepu16_epi32(_mm_unpackhi_epi64(y00, y10)),
                                             _mm256_cvtepu16_epi32(_mm_unpacklo_epi64(y01, y11)),
                                             _mm256_cvtepu16_epi32(_mm_unpackhi_epi64(y01, y11)),
                                             cell);
}

HUEBRIDGE_AVX2 inline __m128i PairedCell(const GridView<std::uint8_t>& g, const PixelCell& cell) {
  const std::uint8_t* p = g.grid + cell.base;
  auto load = [](const std::uint8_t* at)
                  HUEBRIDGE_AVX2 { return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(at)); };
  // [V000 V100 V001 V101] and [V010 V110 V011 V111], four bytes each.
  const __m128i x0 = _mm_unpacklo_epi32(load(p), load(p + g.s0));
  const __m128i x1 = _mm_unpacklo_epi32(load(p + g.s1), load(p + g.s0 + g.s1));
  return Blend<FirstLerp8x8, Lerp8x8, Lerp8x4>(
      _mm256_cvtepu8_epi32(x0), _mm256_cvtepu8_epi32(_mm_unpackhi_epi64(x0, x0)),
      _mm256_cvtepu8_epi32(x1), _mm256_cvtepu8_epi32(_mm_unpackhi_epi64(x1, x1)), cell);
}

// Where the colours of a batch come from and where their outputs go: the
// misses of a batch, or a run of pixels.
struct FromMisses {
  Misses& misses;
  template <std::uint32_t kFracBits>
  PixelCell Locate(const FastBitmapTables& fast, std::size_t i) const {
    return LocateColour<kFracBits>(fast, misses.colour[i]);
  }
  void Put(std::size_t i, std::uint32_t bytes) const { misses.output[i] = bytes; }
};
struct FromPixels {
  const std::uint8_t* in;
  unsigned pixelBytes;
  std::uint8_t* out;
  template <std::uint32_t kFracBits>
  PixelCell Locate(const FastBitmapTables& fast, std::size_t i) const {
    const std::uint8_t* px = in + i * pixelBytes;
    return huebridge::Locate<kFracBits>(fast, px[0], px[1], px[2]);
  }
  void Put(std::size_t i, std::uint32_t bytes) const { StoreWord(out + 4 * i, bytes); }
};

// A batch goes through short loops of independent iterations: locate every
// cell, blend every cell, look up every output. This keeps more table and
// grid loads in flight than one long chain per pixel would.
template <typename T, OutputMode kMode, bool kPaired, typename Batch>
HUEBRIDGE_AVX2 void Evaluate(const FastBitmapTables& fast, const Batch& batch, std::size_t n) {
  constexpr std::uint32_t kFracBits = sizeof(T) == 2 ? 15 : 8;
  // Locals, so that the stores of outputs cannot be taken to change them.
  const GridView<T> grid{static_cast<const T*>(fast.grid), fast.step0, fast.step1, fast.step2};
  const std::uint8_t* table = kMode == OutputMode::kLut8Tables ? fast.lut8Output : fast.lut16Output;
  // Output k reads its table at (o >> shift) + k x tableSize.
  const __m128i shift = _mm_cvtsi32_si128(kMode == OutputMode::kLut16Tables ? 1 : 8);
  const __m128i tableStarts = kMode == OutputMode::kLut16Tables
                                  ? _mm_setr_epi32(0, 32768, 65536, 98304)
                                  : _mm_setr_epi32(0, 256, 512, 768);
  auto cellOf = [&grid](const PixelCell& cell)
                    HUEBRIDGE_AVX2 { return kPaired ? PairedCell(grid, cell) : Cell(grid, cell); };
  PixelCell cells[kRowBatch];
  for (std::size_t i = 0; i < n; ++i) cells[i] = batch.template Locate<kFracBits>(fast, i);
  if constexpr (kMode == OutputMode::kLut16Direct) {
    for (std::size_t i = 0; i < n; ++i) {
      const __m128i bytes = _mm_srli_epi32(cellOf(cells[i]), 8);  // o >> 8
      const __m128i packed = _mm_packus_epi16(_mm_packus_epi32(bytes, bytes), bytes);
      batch.Put(i, static_cast<std::uint32_t>(_mm_cvtsi128_si32(packed)));
    }
  } else {
    alignas(16) std::uint32_t index[kRowBatch][4];
    for (std::size_t i = 0; i < n; ++i) {
      const __m128i o = _mm_srl_epi32(cellOf(cells[i]), shift);
      _mm_store_si128(reinterpret_cast<__m128i*>(index[i]), _mm_add_epi32(o, tableStarts));
    }
    for (std::size_t i = 0; i < n; ++i) {
      const std::uint32_t* at = index[i];
      batch.Put(i, std::uint32_t{table[at[0]]} | std::uint32_t{table[at[1]]} << 8 |
                       std::uint32_t{table[at[2]]} << 16 | std::uint32_t{table[at[3]]} << 24);
    }
  }
}

template <typename T, OutputMode kMode, bool kPaired>
struct Evaluator {
  const FastBitmapTables& fast;
  HUEBRIDGE_AVX2 void operator()(Misses& misses) const {
    Evaluate<T, kMode, kPaired>(fast, FromMisses{misses}, misses.count);
  }
  HUEBRIDGE_AVX2 void operator()(const std::uint8_t* in, unsigned pixelBytes, std::uint8_t* out,
                                 std::size_t n) const {
    Evaluate<T, kMode, kPaired>(fast, FromPixels{in, pixelBytes, out}, n);
  }
};

template <typename T, OutputMode kMode>
HUEBRIDGE_AVX2 void Row(FastBitmapTables& fast, const std::uint8_t* source, unsigned pixelBytes,
                        std::uint8_t* dest, std::size_t width) {
  if (fast.step2 == 4) {
    CachedRow(fast, source, pixelBytes, dest, width, Evaluator<T, kMode, true>{fast});
  } else {
    CachedRow(fast, source, pixelBytes, dest, width, Evaluator<T, kMode, false>{fast});
  }
}

}  // namespace

void FastRowAvx2(FastBitmapTables& fast, const std::uint8_t* source, unsigned pixelBytes,
                 std::uint8_t* dest, std::size_t width) {
  switch (fast.outputMode) {
    case OutputMode::kLut8Tables:
      Row<std::uint8_t, OutputMode::kLut8Tables>(fast, source, pixelBytes, dest, width);
      break;
    case OutputMode::kLut16Direct:
      Row<std::uint16_t, OutputMode::kLut16Direct>(fast, source, pixelBytes, dest, width);
      break;
    case OutputMode::kLut16Tables:
      Row<std::uint16_t, OutputMode::kLut16Tables>(fast, source, pixelBytes, dest, width);
      break;
  }
}

}  // namespace huebridge

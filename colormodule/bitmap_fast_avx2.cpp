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
// [e0|e1] of a lut16 cell with four outputs a grid point: channels 2 and 1
// blended, channel 0 still to go.
HUEBRIDGE_AVX2 inline __m256i PairedEdges(const GridView<std::uint16_t>& g, const PixelCell& cell) {
  const std::uint16_t* p = g.grid + cell.base;
  auto load = [](const std::uint16_t* at)
                  HUEBRIDGE_AVX2 { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); };
  const __m128i y00 = load(p), y10 = load(p + g.s0);
  const __m128i y01 = load(p + g.s1), y11 = load(p + g.s0 + g.s1);
  const __m256i h2 = _mm256_set1_epi32(cell.h2);
  const __m256i first = Lerp15x8(_mm256_cvtepu16_epi32(_mm_unpacklo_epi64(y00, y10)),
                                 _mm256_cvtepu16_epi32(_mm_unpackhi_epi64(y00, y10)), h2);
  const __m256i second = Lerp15x8(_mm256_cvtepu16_epi32(_mm_unpacklo_epi64(y01, y11)),
                                  _mm256_cvtepu16_epi32(_mm_unpackhi_epi64(y01, y11)), h2);
  return Lerp15x8(first, second, _mm256_set1_epi32(cell.h1));
}

HUEBRIDGE_AVX2 inline __m128i PairedCell(const GridView<std::uint16_t>& g, const PixelCell& cell) {
  const __m256i e = PairedEdges(g, cell);
  return Lerp15x4(_mm256_castsi256_si128(e), _mm256_extracti128_si256(e, 1),
                  _mm_set1_epi32(cell.h0));
}

// The outputs of two lut16 cells, [a|b], the last step of both in one
// vector: half the work of that step and of the output bytes after it.
#define HUEBRIDGE_TWO_CELLS 1
HUEBRIDGE_AVX2 inline __m256i PairedCells(const GridView<std::uint16_t>& g, const PixelCell& a,
                                          const PixelCell& b) {
  const __m256i ea = PairedEdges(g, a), eb = PairedEdges(g, b);
  const __m256i h0 = _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_set1_epi32(a.h0)),
                                             _mm_set1_epi32(b.h0), 1);
  return Lerp15x8(_mm256_permute2x128_si256(ea, eb, 0x20), _mm256_permute2x128_si256(ea, eb, 0x31),
                  h0);
}

// A lut8 step as one multiply-add of 16-bit pairs (a, b) by (256 - f, f):
// a (256 - f) + b f is 256 a + (b - a) f, so Lerp8 is that plus 127,
// shifted by 8. The pair of weights as one 32-bit lane.
inline std::int32_t Weights8(std::int32_t f) { return 256 + f * 65535; }

// Lerp8 on 16-bit values up to 65280 passes them biased by -32768 (so that
// they fit the signed words of vpmaddwd): the weights sum to 256, so the
// sum is biased by -32768 x 256, a multiple of 256, and the shift keeps
// the result biased by exactly -32768.

// The low words of the 32-bit lanes of a and b as pairs (a, b).
HUEBRIDGE_AVX2 inline __m128i PairWords(__m128i a, __m128i b) {
  return _mm_blend_epi16(a, _mm_slli_epi32(b, 16), 0xAA);
}

// All lut8 steps in vpmaddwd, which takes one instruction where the 32-bit
// multiply takes two and twice the latency.
HUEBRIDGE_AVX2 inline __m128i PairedCell(const GridView<std::uint8_t>& g, const PixelCell& cell) {
  const std::uint8_t* p = g.grid + cell.base;
  auto load = [](const std::uint8_t* at)
                  HUEBRIDGE_AVX2 { return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(at)); };
  // [V000 V001 V100 V101] and [V010 V011 V110 V111], four bytes each,
  // reordered to the pairs (Vd0d10 k, Vd0d11 k) and widened to words.
  const __m128i pairs = _mm_setr_epi8(0, 4, 1, 5, 2, 6, 3, 7, 8, 12, 9, 13, 10, 14, 11, 15);
  const __m128i x0 = _mm_shuffle_epi8(_mm_unpacklo_epi64(load(p), load(p + g.s0)), pairs);
  const __m128i x1 =
      _mm_shuffle_epi8(_mm_unpacklo_epi64(load(p + g.s1), load(p + g.s0 + g.s1)), pairs);
  // Along channel 2: the first step of Lerp8 on bytes widened by 256 is
  // exactly 256 a + (b - a) f, with no rounding. Four lanes at a time: in
  // the same process this ran faster than 256-bit vectors, whose widening
  // and splitting cross the halves.
  const __m128i w2 = _mm_set1_epi32(Weights8(cell.h2));
  auto first = [&w2](__m128i bytes)
                   HUEBRIDGE_AVX2 { return _mm_madd_epi16(_mm_cvtepu8_epi16(bytes), w2); };
  const __m128i c00 = first(x0), c10 = first(_mm_srli_si128(x0, 8));
  const __m128i c01 = first(x1), c11 = first(_mm_srli_si128(x1, 8));
  // Along channel 1, biased: e0 - 32768 and e1 - 32768.
  const __m128i bias = _mm_set1_epi32(static_cast<std::int32_t>(0x80008000u));
  const __m128i w1 = _mm_set1_epi32(Weights8(cell.h1));
  auto second = [&](__m128i a, __m128i b) HUEBRIDGE_AVX2 {
    const __m128i sum = _mm_madd_epi16(_mm_xor_si128(PairWords(a, b), bias), w1);
    return _mm_srai_epi32(_mm_add_epi32(sum, _mm_set1_epi32(127)), 8);
  };
  const __m128i e0 = second(c00, c01), e1 = second(c10, c11);
  // Along channel 0; the bias comes back with the rounding.
  const __m128i sum = _mm_madd_epi16(PairWords(e0, e1), _mm_set1_epi32(Weights8(cell.h0)));
  return _mm_srai_epi32(_mm_add_epi32(sum, _mm_set1_epi32(127 + 32768 * 256)), 8);
}

// [lo|hi] from two 128-bit halves.
HUEBRIDGE_AVX2 inline __m256i Halves(__m128i lo, __m128i hi) {
  return _mm256_inserti128_si256(_mm256_castsi128_si256(lo), hi, 1);
}

// The low words of the 32-bit lanes of a and b as pairs (a, b).
HUEBRIDGE_AVX2 inline __m256i PairWords(__m256i a, __m256i b) {
  return _mm256_blend_epi16(a, _mm256_slli_epi32(b, 16), 0xAA);
}

// Lerp8 of biased pairs, biased by -32768, as in PairedCell.
HUEBRIDGE_AVX2 inline __m256i Lerp8Biased(__m256i a, __m256i b, __m256i weights) {
  const __m256i bias = _mm256_set1_epi32(static_cast<std::int32_t>(0x80008000u));
  const __m256i sum = _mm256_madd_epi16(_mm256_xor_si256(PairWords(a, b), bias), weights);
  return _mm256_srai_epi32(_mm256_add_epi32(sum, _mm256_set1_epi32(127)), 8);
}

// Two lut8 cells at once, cells[0] and cells[1]: the steps of PairedCell
// with the first pixel in the low 128-bit half and the second in the high
// one. Every operation stays within its half, so both pixels cost about what
// one did.
HUEBRIDGE_AVX2 inline __m256i PairedCells(const GridView<std::uint8_t>& g, const PixelCell* cells) {
  static_assert(sizeof(PixelCell) == 16, "two cells fill one vector");
  const std::uint8_t* pa = g.grid + cells[0].base;
  const std::uint8_t* pb = g.grid + cells[1].base;
  auto load = [](const std::uint8_t* at)
                  HUEBRIDGE_AVX2 { return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(at)); };
  auto rows = [&](std::uint32_t offset) HUEBRIDGE_AVX2 {
    return Halves(_mm_unpacklo_epi64(load(pa + offset), load(pa + offset + g.s0)),
                  _mm_unpacklo_epi64(load(pb + offset), load(pb + offset + g.s0)));
  };
  // Weights8 of every fraction, h 65535 + 256, from [base h0 h1 h2] of both
  // cells; then each weight in all four lanes of its pixel's half.
  const __m256i h = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(cells));
  const __m256i w =
      _mm256_add_epi32(_mm256_sub_epi32(_mm256_slli_epi32(h, 16), h), _mm256_set1_epi32(256));
  const __m256i w0 = _mm256_shuffle_epi32(w, 0x55), w1 = _mm256_shuffle_epi32(w, 0xAA);
  const __m256i w2 = _mm256_shuffle_epi32(w, 0xFF);
  // Per half, as in PairedCell: the pairs (Vd0d10 k, Vd0d11 k) of d0 = 0 in
  // the low eight bytes and of d0 = 1 in the high ones.
  const __m256i pairs = _mm256_setr_epi8(0, 4, 1, 5, 2, 6, 3, 7, 8, 12, 9, 13, 10, 14, 11, 15, 0, 4,
                                         1, 5, 2, 6, 3, 7, 8, 12, 9, 13, 10, 14, 11, 15);
  const __m256i x0 = _mm256_shuffle_epi8(rows(0), pairs);
  const __m256i x1 = _mm256_shuffle_epi8(rows(g.s1), pairs);
  const __m256i zero = _mm256_setzero_si256();
  const __m256i c00 = _mm256_madd_epi16(_mm256_unpacklo_epi8(x0, zero), w2);
  const __m256i c10 = _mm256_madd_epi16(_mm256_unpackhi_epi8(x0, zero), w2);
  const __m256i c01 = _mm256_madd_epi16(_mm256_unpacklo_epi8(x1, zero), w2);
  const __m256i c11 = _mm256_madd_epi16(_mm256_unpackhi_epi8(x1, zero), w2);
  const __m256i e0 = Lerp8Biased(c00, c01, w1), e1 = Lerp8Biased(c10, c11, w1);
  const __m256i sum = _mm256_madd_epi16(PairWords(e0, e1), w0);
  return _mm256_srai_epi32(_mm256_add_epi32(sum, _mm256_set1_epi32(127 + 32768 * 256)), 8);
}

#define HUEBRIDGE_TARGET HUEBRIDGE_AVX2
#include "fast_row_inl.h"
#undef HUEBRIDGE_TARGET

}  // namespace

void FastRowAvx2(FastBitmapTables& fast, const std::uint8_t* source, unsigned pixelBytes,
                 std::uint8_t* dest, std::size_t width) {
  Dispatch(fast, source, pixelBytes, dest, width);
}

}  // namespace huebridge

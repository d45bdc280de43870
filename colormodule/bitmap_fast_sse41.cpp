// The bitmap row with SSE4.1, for processors without AVX2. Each of the eight
// grid corners of a pixel's cell is one vector of four 32-bit lanes (its
// four outputs), so the seven blending steps of Trilinear run on all four
// outputs at once, with the lane arithmetic of Lerp15 / Lerp8 as in the
// AVX2 row.
#include <immintrin.h>

#include <cstring>

#include "bitmap_fast.h"
#include "row_cache.h"

namespace huebridge {
namespace {

#define HUEBRIDGE_SSE41 __attribute__((target("sse4.1")))

// a + ((b - a) * f >> 15) in every lane.
HUEBRIDGE_SSE41 inline __m128i Lerp15x4(__m128i a, __m128i b, __m128i f) {
  return _mm_add_epi32(a, _mm_srai_epi32(_mm_mullo_epi32(_mm_sub_epi32(b, a), f), 15));
}

// a + (((b - a) * f + 127) >> 8) in every lane; the result lies between a
// and b, so Lerp8's 16-bit truncation changes nothing.
HUEBRIDGE_SSE41 inline __m128i Lerp8x4(__m128i a, __m128i b, __m128i f) {
  return _mm_add_epi32(
      a, _mm_srai_epi32(_mm_add_epi32(_mm_mullo_epi32(_mm_sub_epi32(b, a), f), _mm_set1_epi32(127)),
                        8));
}

// The first lut8 step on grid bytes: exactly 256 a + (b - a) f.
HUEBRIDGE_SSE41 inline __m128i FirstLerp8x4(__m128i a, __m128i b, __m128i f) {
  return _mm_add_epi32(_mm_slli_epi32(a, 8), _mm_mullo_epi32(_mm_sub_epi32(b, a), f));
}

// Blends corners v[d0 d1 d2] (index 4 d0 + 2 d1 + d2) along channel 2 (with
// First), then 1 and 0.
template <__m128i (*First)(__m128i, __m128i, __m128i), __m128i (*Lerp)(__m128i, __m128i, __m128i)>
HUEBRIDGE_SSE41 inline __m128i Blend(const __m128i (&v)[8], const PixelCell& cell) {
  const __m128i h2 = _mm_set1_epi32(cell.h2), h1 = _mm_set1_epi32(cell.h1);
  const __m128i c00 = First(v[0], v[1], h2), c01 = First(v[2], v[3], h2);
  const __m128i c10 = First(v[4], v[5], h2), c11 = First(v[6], v[7], h2);
  return Lerp(Lerp(c00, c01, h1), Lerp(c10, c11, h1), _mm_set1_epi32(cell.h0));
}

HUEBRIDGE_SSE41 inline __m128i Load64(const void* p) {
  return _mm_loadl_epi64(static_cast<const __m128i*>(p));
}
HUEBRIDGE_SSE41 inline __m128i Load32(const std::uint8_t* p) {
  std::int32_t v;
  std::memcpy(&v, p, sizeof v);
  return _mm_cvtsi32_si128(v);
}

// The corner offsets in the order Blend takes them.
template <typename T>
void CornerOffsets(const GridView<T>& g, std::uint32_t (&at)[8]) {
  for (unsigned c = 0; c < 8; ++c) {
    at[c] = (c & 4 ? g.s0 : 0) + (c & 2 ? g.s1 : 0) + (c & 1 ? g.s2 : 0);
  }
}

HUEBRIDGE_SSE41 inline __m128i Cell(const GridView<std::uint16_t>& g, const PixelCell& cell) {
  const std::uint16_t* p = g.grid + cell.base;
  std::uint32_t at[8];
  CornerOffsets(g, at);
  __m128i v[8];
  for (unsigned c = 0; c < 8; ++c) v[c] = _mm_cvtepu16_epi32(Load64(p + at[c]));
  return Blend<Lerp15x4, Lerp15x4>(v, cell);
}

HUEBRIDGE_SSE41 inline __m128i Cell(const GridView<std::uint8_t>& g, const PixelCell& cell) {
  const std::uint8_t* p = g.grid + cell.base;
  std::uint32_t at[8];
  CornerOffsets(g, at);
  __m128i v[8];
  for (unsigned c = 0; c < 8; ++c) v[c] = _mm_cvtepu8_epi32(Load32(p + at[c]));
  return Blend<FirstLerp8x4, Lerp8x4>(v, cell);
}

// Four outputs a grid point: one load fetches a corner and its neighbour
// along channel 2.
HUEBRIDGE_SSE41 inline __m128i PairedCell(const GridView<std::uint16_t>& g, const PixelCell& cell) {
  const std::uint16_t* p = g.grid + cell.base;
  const std::uint16_t* rows[4] = {p, p + g.s1, p + g.s0, p + g.s0 + g.s1};
  __m128i v[8];
  for (unsigned r = 0; r < 4; ++r) {
    const __m128i pair = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[r]));
    v[2 * r] = _mm_cvtepu16_epi32(pair);
    v[2 * r + 1] = _mm_cvtepu16_epi32(_mm_srli_si128(pair, 8));
  }
  return Blend<Lerp15x4, Lerp15x4>(v, cell);
}

// A lut8 step as one multiply-add of 16-bit pairs (a, b) by (256 - f, f),
// as in the AVX2 row: a (256 - f) + b f is 256 a + (b - a) f. Values up to
// 65280 go in biased by -32768, which the weights' sum of 256 keeps as a
// multiple of 256 through the shift.
inline std::int32_t Weights8(std::int32_t f) { return 256 + f * 65535; }

// The low words of the 32-bit lanes of a and b as pairs (a, b).
HUEBRIDGE_SSE41 inline __m128i PairWords(__m128i a, __m128i b) {
  return _mm_blend_epi16(a, _mm_slli_epi32(b, 16), 0xAA);
}

// Lerp8 of biased pairs, biased by -32768.
HUEBRIDGE_SSE41 inline __m128i Lerp8Biased(__m128i pairs, __m128i weights) {
  return _mm_srai_epi32(_mm_add_epi32(_mm_madd_epi16(pairs, weights), _mm_set1_epi32(127)), 8);
}

HUEBRIDGE_SSE41 inline __m128i PairedCell(const GridView<std::uint8_t>& g, const PixelCell& cell) {
  const std::uint8_t* p = g.grid + cell.base;
  // [Vd0d10 Vd0d11] pairs, by output, widened to words.
  const __m128i pairs = _mm_setr_epi8(0, 4, 1, 5, 2, 6, 3, 7, 8, 12, 9, 13, 10, 14, 11, 15);
  const __m128i x0 = _mm_shuffle_epi8(_mm_unpacklo_epi64(Load64(p), Load64(p + g.s0)), pairs);
  const __m128i x1 =
      _mm_shuffle_epi8(_mm_unpacklo_epi64(Load64(p + g.s1), Load64(p + g.s0 + g.s1)), pairs);
  // Along channel 2: the first step on bytes is exactly 256 a + (b - a) f.
  const __m128i w2 = _mm_set1_epi32(Weights8(cell.h2));
  auto first = [&w2](__m128i bytes)
                   HUEBRIDGE_SSE41 { return _mm_madd_epi16(_mm_cvtepu8_epi16(bytes), w2); };
  const __m128i c00 = first(x0), c10 = first(_mm_srli_si128(x0, 8));
  const __m128i c01 = first(x1), c11 = first(_mm_srli_si128(x1, 8));
  // Along channel 1, biased, then channel 0 with the bias back.
  const __m128i bias = _mm_set1_epi32(static_cast<std::int32_t>(0x80008000u));
  const __m128i w1 = _mm_set1_epi32(Weights8(cell.h1));
  const __m128i e0 = Lerp8Biased(_mm_xor_si128(PairWords(c00, c01), bias), w1);
  const __m128i e1 = Lerp8Biased(_mm_xor_si128(PairWords(c10, c11), bias), w1);
  const __m128i sum = _mm_madd_epi16(PairWords(e0, e1), _mm_set1_epi32(Weights8(cell.h0)));
  return _mm_srai_epi32(_mm_add_epi32(sum, _mm_set1_epi32(127 + 32768 * 256)), 8);
}

#define HUEBRIDGE_TARGET HUEBRIDGE_SSE41
#include "fast_row_inl.h"
#undef HUEBRIDGE_TARGET

}  // namespace

void FastRowSse41(FastBitmapTables& fast, const std::uint8_t* source, unsigned pixelBytes,
                  std::uint8_t* dest, std::size_t width) {
  Dispatch(fast, source, pixelBytes, dest, width);
}

}  // namespace huebridge

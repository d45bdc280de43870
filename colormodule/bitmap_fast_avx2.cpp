// The bitmap row with AVX2, chosen at run time. One pixel at a time: the
// eight grid corners of its cell become four vectors of 32-bit lanes, two
// corners (four outputs each) per vector, and the three blending steps of
// Trilinear run on all four outputs at once. The lane arithmetic is that of
// Lerp15 / Lerp8: 32-bit products and arithmetic shifts, so the results are
// bit-identical to the scalar evaluation.
//
// Built for Windows too: the module is compiled there with
// -Wa,-muse-unaligned-vector-move, because GCC does not keep the Win64
// stack 32-byte aligned for spilled vectors (GCC bug 54412).
#include <immintrin.h>

#include <cstring>

#include "bitmap_fast.h"

namespace huebridge {
namespace {

#define HUEBRIDGE_AVX2 __attribute__((target("avx2")))

struct PixelCell {
  std::uint32_t base;
  std::int32_t h0, h1, h2;
};

// Lab indices, a and b words and the grid cell of one RGB pixel.
inline PixelCell Locate(const FastBitmapTables& fast, const std::uint8_t* px) {
  const std::uint64_t sums =
      fast.packedSums[0][px[0]] + fast.packedSums[1][px[1]] + fast.packedSums[2][px[2]];
  const auto xi = static_cast<std::uint32_t>(sums >> 11) & 0x3FF;
  const auto yi = static_cast<std::uint32_t>(sums >> 32) & 0x3FF;
  const auto zi = static_cast<std::uint32_t>(sums >> 53) & 0x3FF;
  const std::int32_t crY = fast.cubeRoot[yi];
  const auto a = static_cast<std::uint32_t>((fast.cubeRoot[xi] - crY) * 5 + 0x8000) & 0xFFFF;
  const auto b = static_cast<std::uint32_t>((crY - fast.cubeRoot[zi]) * 2 + 0x8000) & 0xFFFF;
  const std::uint32_t c0 = fast.axisL[yi], c1 = fast.axisA[a], c2 = fast.axisB[b];
  return {(c0 >> 16) * fast.step0 + (c1 >> 16) * fast.step1 + (c2 >> 16) * fast.step2,
          static_cast<std::int32_t>(c0 & 0xFFFF), static_cast<std::int32_t>(c1 & 0xFFFF),
          static_cast<std::int32_t>(c2 & 0xFFFF)};
}

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
      a, _mm256_srai_epi32(_mm256_add_epi32(_mm256_mullo_epi32(_mm256_sub_epi32(b, a), f), round), 8));
}
HUEBRIDGE_AVX2 inline __m128i Lerp8x4(__m128i a, __m128i b, __m128i f) {
  return _mm_add_epi32(
      a, _mm_srai_epi32(_mm_add_epi32(_mm_mullo_epi32(_mm_sub_epi32(b, a), f), _mm_set1_epi32(127)), 8));
}

// Blends the corner vectors [V000|V010], [V001|V011], [V100|V110],
// [V101|V111] down to the four outputs, channel 2 first.
template <__m256i (*Lerp8Lanes)(__m256i, __m256i, __m256i),
          __m128i (*Lerp4Lanes)(__m128i, __m128i, __m128i)>
HUEBRIDGE_AVX2 inline __m128i Blend(__m256i v0x0, __m256i v0x1, __m256i v1x0, __m256i v1x1,
                                    const PixelCell& cell) {
  const __m256i lo = Lerp8Lanes(v0x0, v0x1, _mm256_set1_epi32(cell.h2));  // [c00|c01]
  const __m256i hi = Lerp8Lanes(v1x0, v1x1, _mm256_set1_epi32(cell.h2));  // [c10|c11]
  const __m256i first = _mm256_permute2x128_si256(lo, hi, 0x20);          // [c00|c10]
  const __m256i second = _mm256_permute2x128_si256(lo, hi, 0x31);         // [c01|c11]
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

// Two lut8 grid points (four outputs each) as eight lanes of byte x 256.
HUEBRIDGE_AVX2 inline __m256i Pair8(__m128i first, __m128i second) {
  return _mm256_slli_epi32(_mm256_cvtepu8_epi32(_mm_unpacklo_epi32(first, second)), 8);
}

// The four outputs of a lut16 cell, each in the low 16 bits of a lane.
HUEBRIDGE_AVX2 inline __m128i Cell16(const FastBitmapTables& fast, const PixelCell& cell) {
  const std::uint16_t* p = static_cast<const std::uint16_t*>(fast.grid) + cell.base;
  const std::uint32_t s0 = fast.step0, s1 = fast.step1, s2 = fast.step2;
  const __m256i v0x0 = Pair16(Load64(p), Load64(p + s1));
  const __m256i v0x1 = Pair16(Load64(p + s2), Load64(p + s1 + s2));
  const __m256i v1x0 = Pair16(Load64(p + s0), Load64(p + s0 + s1));
  const __m256i v1x1 = Pair16(Load64(p + s0 + s2), Load64(p + s0 + s1 + s2));
  return Blend<Lerp15x8, Lerp15x4>(v0x0, v0x1, v1x0, v1x1, cell);
}

// The four outputs of a lut8 cell, grid bytes widened by 256.
HUEBRIDGE_AVX2 inline __m128i Cell8(const FastBitmapTables& fast, const PixelCell& cell) {
  const std::uint8_t* p = static_cast<const std::uint8_t*>(fast.grid) + cell.base;
  const std::uint32_t s0 = fast.step0, s1 = fast.step1, s2 = fast.step2;
  const __m256i v0x0 = Pair8(Load32(p), Load32(p + s1));
  const __m256i v0x1 = Pair8(Load32(p + s2), Load32(p + s1 + s2));
  const __m256i v1x0 = Pair8(Load32(p + s0), Load32(p + s0 + s1));
  const __m256i v1x1 = Pair8(Load32(p + s0 + s2), Load32(p + s0 + s1 + s2));
  return Blend<Lerp8x8, Lerp8x4>(v0x0, v0x1, v1x0, v1x1, cell);
}

HUEBRIDGE_AVX2 inline void Store(std::uint8_t* dest, std::uint32_t v) { std::memcpy(dest, &v, 4); }

HUEBRIDGE_AVX2 void RowLut16Direct(const FastBitmapTables& fast, const std::uint8_t* source,
                                   unsigned pixelBytes, std::uint8_t* dest, std::size_t width) {
  // Byte 1 of each lane: o >> 8.
  const __m128i highBytes = _mm_setr_epi8(1, 5, 9, 13, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1);
  for (std::size_t x = 0; x < width; ++x, source += pixelBytes, dest += 4) {
    const __m128i o = Cell16(fast, Locate(fast, source));
    Store(dest, static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_shuffle_epi8(o, highBytes))));
  }
}

HUEBRIDGE_AVX2 void RowLut16Tables(const FastBitmapTables& fast, const std::uint8_t* source,
                                   unsigned pixelBytes, std::uint8_t* dest, std::size_t width) {
  for (std::size_t x = 0; x < width; ++x, source += pixelBytes, dest += 4) {
    const __m128i o = _mm_srli_epi32(Cell16(fast, Locate(fast, source)), 1);
    const auto o0 = static_cast<std::uint32_t>(_mm_cvtsi128_si32(o));
    const auto o1 = static_cast<std::uint32_t>(_mm_extract_epi32(o, 1));
    const auto o2 = static_cast<std::uint32_t>(_mm_extract_epi32(o, 2));
    const auto o3 = static_cast<std::uint32_t>(_mm_extract_epi32(o, 3));
    Store(dest, std::uint32_t{fast.lut16Output[0][o0]} | std::uint32_t{fast.lut16Output[1][o1]} << 8 |
                    std::uint32_t{fast.lut16Output[2][o2]} << 16 |
                    std::uint32_t{fast.lut16Output[3][o3]} << 24);
  }
}

HUEBRIDGE_AVX2 void RowLut8(const FastBitmapTables& fast, const std::uint8_t* source,
                            unsigned pixelBytes, std::uint8_t* dest, std::size_t width) {
  const std::uint8_t* out = fast.lut8Output;
  for (std::size_t x = 0; x < width; ++x, source += pixelBytes, dest += 4) {
    const __m128i o = _mm_srli_epi32(Cell8(fast, Locate(fast, source)), 8);
    const auto o0 = static_cast<std::uint32_t>(_mm_cvtsi128_si32(o));
    const auto o1 = static_cast<std::uint32_t>(_mm_extract_epi32(o, 1));
    const auto o2 = static_cast<std::uint32_t>(_mm_extract_epi32(o, 2));
    const auto o3 = static_cast<std::uint32_t>(_mm_extract_epi32(o, 3));
    Store(dest, std::uint32_t{out[o0]} | std::uint32_t{out[256 + o1]} << 8 |
                    std::uint32_t{out[512 + o2]} << 16 | std::uint32_t{out[768 + o3]} << 24);
  }
}

}  // namespace

void FastRowAvx2(const FastBitmapTables& fast, const std::uint8_t* source, unsigned pixelBytes,
                 std::uint8_t* dest, std::size_t width) {
  switch (fast.outputMode) {
    case OutputMode::kLut8Tables: RowLut8(fast, source, pixelBytes, dest, width); break;
    case OutputMode::kLut16Direct: RowLut16Direct(fast, source, pixelBytes, dest, width); break;
    case OutputMode::kLut16Tables: RowLut16Tables(fast, source, pixelBytes, dest, width); break;
  }
}

}  // namespace huebridge

// The bitmap fast path: everything that depends on one input channel alone
// is precomputed per transform and device table, so that a pixel costs three
// packed-weight lookups, three grid-coordinate lookups, one trilinear blend
// and four output lookups, all in integers. Results are bit-identical to
// RgbToLab followed by EvalLut8 / EvalLut16. A pixel equal to the one
// before it, or whose colour a small cache holds, costs a load and a store.
#pragma once

#include <cstddef>
#include <cstdint>

#include "cmm_transform.h"

namespace huebridge {

enum class OutputMode : std::uint8_t {
  kLut8Tables,    // byte = lut8 output table k [o >> 8]
  kLut16Direct,   // output tables of 2 entries or fewer: byte = o >> 8
  kLut16Tables,   // byte = high byte of the lut16 output table at o
  kLut16Steps,    // the same bytes from lut16Steps (SIMD rows; see there)
  kLut16Shifted,  // the same bytes as ((o >> 1) + outputShift[k]) >> 7, clamped
};

// cubeRoot entries lie in 0..25600 (f(t) <= 1 at 25600 = 1.0).
inline constexpr std::uint32_t kCubeRootSpan = 25600;

// Where channel 0 (L) puts a pixel: the grid index of its cell along
// channel 0 and the fraction toward the next grid point.
struct AxisL {
  std::uint32_t offset;
  std::int32_t h;
};

// The colour cache: direct-mapped, 2^kCacheBits entries of colour (red in
// bits 0-7) | four output bytes << 32. Empty entries hold kNoColour, which no
// 24-bit colour equals.
inline constexpr unsigned kCacheBits = 12;
inline constexpr std::uint32_t kNoColour = 0xFFFFFFFF;
inline std::uint32_t CacheSlot(std::uint32_t colour) {
  return (colour * 0x9E3779B1u) >> (32 - kCacheBits);
}

struct FastBitmapTables;
// Pixel size 3 or 4 bytes (red, green, blue in the first three); four output
// bytes a pixel. Reads every pixel before it writes its output and reads no
// input again after writing, so `dest` may be `source` for 4-byte pixels.
using FastRowFn = void (*)(FastBitmapTables& fast, const std::uint8_t* source, unsigned pixelBytes,
                           std::uint8_t* dest, std::size_t width);

struct FastBitmapTables {
  // Per channel and byte value the three weighted sums of the Lab indices,
  // packed as X in bits 0-20, Y in bits 21-41 and Z in bits 42-62. Each sum
  // of three stays below 2^20, so adding the packed words never carries
  // from one field into the next.
  std::uint64_t packedSums[3][256];
  // a and b are 5 and 2 times a difference of two cubeRoot entries, and the
  // tables of channels 1 and 2 are indexed by that difference less the
  // smallest one an 8-bit colour reaches: cubeRootA[xi] - cubeRoot[yi] and
  // cubeRootB[yi] - cubeRoot[zi], with the bias in cubeRootA and cubeRootB.
  std::uint32_t cubeRoot[512];
  std::uint32_t cubeRootA[512];
  std::uint32_t cubeRootB[512];
  // Channel 0 by the Y index; channels 1 and 2 by those differences, as
  // (grid index offset << fracBits) | h. Only the differences colours reach
  // have entries (about 9600 and 26800 of the 51201 possible), so that the
  // tables share the second-level cache with the grid.
  AxisL axisL[512];
  const std::uint32_t* axisA;  // both in the same allocation, after this record
  const std::uint32_t* axisB;
  std::uint32_t fracBits;  // 15 for lut16, 8 for lut8
  const void* grid;
  std::uint32_t step0, step1, step2;  // grid values between neighbours
  std::uint32_t kind;                 // kLut8 or kLut16
  OutputMode outputMode;
  // Output bytes by (o >> 8) + 256 k (kLut8Tables) or (o >> 1) + 32768 k
  // (kLut16Tables).
  const std::uint8_t* lut8Output;
  std::uint8_t lut16Output[4 * 32768];
  // The same bytes when in every block of 128 entries of lut16Output they
  // rise by at most one, as smooth output curves do: entry (o >> 8) + 256 k
  // holds the block's first byte and, above it, the offset in the block
  // where the byte rises (128: it does not). 2 KB instead of 128 KB of
  // second-level cache. outputMode is kLut16Steps when they hold.
  std::uint16_t lut16Steps[4 * 256];
  // Output tables that are the identity up to rounding give byte k =
  // ((o >> 1) + outputShift[k]) >> 7, clamped to 0..255, for every o: no
  // table at all. outputMode is kLut16Shifted when that holds.
  std::int32_t outputShift[4];
  // The row function for this processor; tests and the benchmark may set
  // another one.
  FastRowFn row;
  // Finished pixels; only the row functions write here, so the cache lives
  // and dies with the transform and follows its one-thread rule.
  std::uint64_t cache[std::size_t{1} << kCacheBits];
  // Batches still to go straight to the evaluation (see CachedRow).
  std::uint32_t skippedBatches;
};

// Where one pixel falls in the grid.
struct PixelCell {
  std::uint32_t base;  // grid index of the cell's first corner
  std::int32_t h0, h1, h2;
};

template <std::uint32_t kFracBits>
inline PixelCell Locate(const FastBitmapTables& fast, unsigned red, unsigned green, unsigned blue) {
  const std::uint64_t sums =
      fast.packedSums[0][red] + fast.packedSums[1][green] + fast.packedSums[2][blue];
  const auto xi = static_cast<std::uint32_t>(sums >> 11) & 0x3FF;
  const auto yi = static_cast<std::uint32_t>(sums >> 32) & 0x3FF;
  const auto zi = static_cast<std::uint32_t>(sums >> 53) & 0x3FF;
  // a = 5 (cubeRoot[xi] - cubeRoot[yi]) + 0x8000, b = 2 (cubeRoot[yi] -
  // cubeRoot[zi]) + 0x8000 (mod 2^16), folded into axisA and axisB.
  const AxisL c0 = fast.axisL[yi];
  const std::uint32_t c1 = fast.axisA[fast.cubeRootA[xi] - fast.cubeRoot[yi]];
  const std::uint32_t c2 = fast.axisB[fast.cubeRootB[yi] - fast.cubeRoot[zi]];
  constexpr std::uint32_t kMask = (1u << kFracBits) - 1;
  return {c0.offset + (c1 >> kFracBits) + (c2 >> kFracBits), c0.h,
          static_cast<std::int32_t>(c1 & kMask), static_cast<std::int32_t>(c2 & kMask)};
}

// A colour as the row functions hold it: red in bits 0-7.
template <std::uint32_t kFracBits>
inline PixelCell LocateColour(const FastBitmapTables& fast, std::uint32_t colour) {
  return Locate<kFracBits>(fast, colour & 0xFF, colour >> 8 & 0xFF, colour >> 16);
}

// Needs the conversion tables and a usable device table. Null when out of
// memory, or when a grid offset along channel 1 or 2 does not fit beside
// the fraction in 32 bits (grids far larger than real profiles carry).
FastBitmapTables* BuildFastTables(const CMM_TRANSFORM* t, const CMM_LUT* lut);
void FreeFastTables(FastBitmapTables* fast);
// Empties the colour cache (tests compare row functions on fresh caches).
void ClearColourCache(FastBitmapTables& fast);

void FastRowPortable(FastBitmapTables& fast, const std::uint8_t* source, unsigned pixelBytes,
                     std::uint8_t* dest, std::size_t width);
void FastRowSse41(FastBitmapTables& fast, const std::uint8_t* source, unsigned pixelBytes,
                  std::uint8_t* dest, std::size_t width);
void FastRowAvx2(FastBitmapTables& fast, const std::uint8_t* source, unsigned pixelBytes,
                 std::uint8_t* dest, std::size_t width);
bool CpuHasAvx2();
bool CpuHasSse41();
// The best row function this processor runs.
FastRowFn ChooseFastRow();

}  // namespace huebridge

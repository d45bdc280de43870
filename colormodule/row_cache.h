// The part of a fast-path row that needs no arithmetic: a pixel equal to the
// one before it takes that pixel's output, a colour found in the transform's
// cache takes the cached output, and only the rest (the misses) go to the
// row function's evaluation, a batch at a time. Real images are mostly runs
// and repeated colours: white paper, flat fills, text edges.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "bitmap_fast.h"

namespace huebridge {

inline constexpr std::size_t kRowBatch = 256;

inline std::uint32_t LoadWord(const std::uint8_t* p) {
  std::uint32_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
inline void StoreWord(std::uint8_t* p, std::uint32_t v) { std::memcpy(p, &v, sizeof v); }

// The grid and its steps, copied out of the tables so that the compiler
// can keep them in registers across the stores to the destination.
template <typename T>
struct GridView {
  const T* grid;
  std::uint32_t s0, s1, s2;
};

// The colours of one batch that neither the cache nor the pixel before
// answered.
struct Misses {
  std::uint32_t count;
  std::uint32_t colour[kRowBatch];
  std::uint32_t output[kRowBatch];  // filled by the evaluation
  std::uint16_t pixel[kRowBatch];   // position in the batch
};

// Probing costs a few cycles a pixel and an evaluation about ten times as
// much: a batch in which the cache and runs answer fewer than an eighth of
// the pixels (noise, detailed photographs) makes the next kSkippedBatches
// batches go straight to the evaluation.
inline constexpr std::uint32_t kSkippedBatches = 15;

// Runs `evaluate(misses)` (which fills misses.output) on each batch's misses
// and writes every output; a batch that skips the cache goes whole to
// `evaluate(in, pixelBytes, out, n)`. Each pixel is read before any output of its batch
// is written, and nothing is read twice, so 4-byte pixels may be converted
// in place.
template <typename Evaluate>
inline void CachedRow(FastBitmapTables& fast, const std::uint8_t* source, unsigned pixelBytes,
                      std::uint8_t* dest, std::size_t width, Evaluate&& evaluate) {
  Misses misses;
  std::uint16_t runs[kRowBatch];             // pixels equal to a miss just before them
  std::uint32_t skip = fast.skippedBatches;  // kept across rows and calls
  for (std::size_t done = 0; done < width;) {
    const std::size_t n = width - done < kRowBatch ? width - done : kRowBatch;
    const std::uint8_t* in = source + done * pixelBytes;
    std::uint8_t* out = dest + done * 4;
    // A 4-byte load of a 3-byte pixel reads one byte past it: not at the
    // row's last pixel.
    const std::size_t wide = pixelBytes == 4 || done + n < width ? n : n - 1;
    auto colourAt = [&](std::size_t i) {
      const std::uint8_t* px = in + i * pixelBytes;
      return i < wide
                 ? LoadWord(px) & 0xFFFFFF
                 : std::uint32_t{px[0]} | std::uint32_t{px[1]} << 8 | std::uint32_t{px[2]} << 16;
    };
    done += n;
    const bool refill = skip == 1;
    if (skip != 0 && --skip != 0) {
      evaluate(in, pixelBytes, out, n);
      continue;
    }
    std::uint32_t count = 0, runCount = 0;
    if (refill) {
      // The last skipped batch refills the cache for the probe that follows,
      // which then sees what the image repeats locally.
      for (std::size_t i = 0; i < n; ++i) {
        misses.colour[i] = colourAt(i);
        misses.pixel[i] = static_cast<std::uint16_t>(i);
      }
      count = static_cast<std::uint32_t>(n);
    }
    // Without branches on the outcome, which photographs make random: every
    // pixel takes its cache entry's output, and a miss is listed (or, when
    // it repeats the miss before it, noted as a run) to be overwritten.
    std::uint32_t previous = kNoColour, previousMissed = 0;
    for (std::size_t i = 0; i < n && !refill; ++i) {
      const std::uint32_t colour = colourAt(i);
      const std::uint64_t entry = fast.cache[CacheSlot(colour)];
      StoreWord(out + 4 * i, static_cast<std::uint32_t>(entry >> 32));
      const std::uint32_t missed = static_cast<std::uint32_t>(entry) != colour;
      const std::uint32_t repeat = missed & previousMissed & (colour == previous);
      runs[runCount] = static_cast<std::uint16_t>(i);
      runCount += repeat;
      misses.colour[count] = colour;
      misses.pixel[count] = static_cast<std::uint16_t>(i);
      count += missed & (repeat ^ 1);
      previous = colour;
      previousMissed = missed;
    }
    misses.count = count;
    if (count != 0) {
      evaluate(misses);
      for (std::uint32_t j = 0; j < count; ++j) {
        StoreWord(out + 4 * misses.pixel[j], misses.output[j]);
        fast.cache[CacheSlot(misses.colour[j])] = misses.colour[j] | std::uint64_t{misses.output[j]}
                                                                         << 32;
      }
    }
    // In order, so that each copies a finished output.
    for (std::uint32_t j = 0; j < runCount; ++j) {
      std::memcpy(out + 4 * runs[j], out + 4 * (runs[j] - 1), 4);
    }
    if (!refill && 8 * count > 7 * n) skip = kSkippedBatches;
  }
  fast.skippedBatches = skip;
}

}  // namespace huebridge

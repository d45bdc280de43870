// The batch evaluation shared by the SIMD row functions, in the manner of
// an "_inl" file: each instruction set's file includes it inside its own
// anonymous namespace, with HUEBRIDGE_TARGET set to its target attribute
// and after defining Cell and PairedCell (the four outputs of a grid cell,
// one per 32-bit lane) for both grid types. No include guard on purpose.

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
HUEBRIDGE_TARGET void Evaluate(const FastBitmapTables& fast, const Batch& batch, std::size_t n) {
  constexpr std::uint32_t kFracBits = sizeof(T) == 2 ? 15 : 8;
  // Locals, so that the stores of outputs cannot be taken to change them.
  const GridView<T> grid{static_cast<const T*>(fast.grid), fast.step0, fast.step1, fast.step2};
  const std::uint8_t* table = kMode == OutputMode::kLut8Tables ? fast.lut8Output : fast.lut16Output;
  // Output k reads its table at (o >> shift) + k x tableSize.
  const __m128i shift = _mm_cvtsi32_si128(kMode == OutputMode::kLut16Tables ? 1 : 8);
  const __m128i tableStarts = kMode == OutputMode::kLut16Tables
                                  ? _mm_setr_epi32(0, 32768, 65536, 98304)
                                  : _mm_setr_epi32(0, 256, 512, 768);
  auto cellOf = [&grid](const PixelCell& cell) HUEBRIDGE_TARGET {
    return kPaired ? PairedCell(grid, cell) : Cell(grid, cell);
  };
  PixelCell cells[kRowBatch];
  for (std::size_t i = 0; i < n; ++i) cells[i] = batch.template Locate<kFracBits>(fast, i);
  if constexpr (kMode == OutputMode::kLut16Direct) {
    for (std::size_t i = 0; i < n; ++i) {
      const __m128i bytes = _mm_srli_epi32(cellOf(cells[i]), 8);  // o >> 8
      const __m128i packed = _mm_packus_epi16(_mm_packus_epi32(bytes, bytes), bytes);
      batch.Put(i, static_cast<std::uint32_t>(_mm_cvtsi128_si32(packed)));
    }
  } else if constexpr (kMode == OutputMode::kLut16Shifted) {
    const __m128i shifts = _mm_loadu_si128(reinterpret_cast<const __m128i*>(fast.outputShift));
    std::size_t i = 0;
#ifdef HUEBRIDGE_TWO_CELLS
    if constexpr (kPaired && sizeof(T) == 2) {
      const __m256i shifts2 = _mm256_broadcastsi128_si256(shifts);
      for (; i + 1 < n; i += 2) {
        const __m256i o = PairedCells(grid, cells[i], cells[i + 1]);
        const __m256i bytes =
            _mm256_srai_epi32(_mm256_add_epi32(_mm256_srli_epi32(o, 1), shifts2), 7);
        // Per 128-bit half, as below: pixel i in element 0, pixel i + 1 in 4.
        const __m256i packed = _mm256_packus_epi16(_mm256_packs_epi32(bytes, bytes), bytes);
        batch.Put(i, static_cast<std::uint32_t>(_mm256_extract_epi32(packed, 0)));
        batch.Put(i + 1, static_cast<std::uint32_t>(_mm256_extract_epi32(packed, 4)));
      }
    }
#endif
    for (; i < n; ++i) {
      const __m128i o = cellOf(cells[i]);
      const __m128i bytes = _mm_srai_epi32(_mm_add_epi32(_mm_srli_epi32(o, 1), shifts), 7);
      // The two saturating packs clamp to 0..255.
      const __m128i packed = _mm_packus_epi16(_mm_packs_epi32(bytes, bytes), bytes);
      batch.Put(i, static_cast<std::uint32_t>(_mm_cvtsi128_si32(packed)));
    }
  } else if constexpr (kMode == OutputMode::kLut16Steps) {
    // Per lane: byte = first byte of block o >> 8, plus one when
    // (o >> 1) & 127 has reached the block's rise.
    const std::uint16_t* steps = fast.lut16Steps;
    const __m128i blockStarts = _mm_setr_epi32(0, 256, 512, 768);
    alignas(16) std::uint32_t at[kRowBatch][4];
    alignas(16) std::int32_t within[kRowBatch][4];
    for (std::size_t i = 0; i < n; ++i) {
      const __m128i o = cellOf(cells[i]);
      _mm_store_si128(reinterpret_cast<__m128i*>(at[i]),
                      _mm_add_epi32(_mm_srli_epi32(o, 8), blockStarts));
      _mm_store_si128(reinterpret_cast<__m128i*>(within[i]),
                      _mm_and_si128(_mm_srli_epi32(o, 1), _mm_set1_epi32(127)));
    }
    for (std::size_t i = 0; i < n; ++i) {
      const __m128i e =
          _mm_setr_epi32(steps[at[i][0]], steps[at[i][1]], steps[at[i][2]], steps[at[i][3]]);
      const __m128i lo = _mm_load_si128(reinterpret_cast<const __m128i*>(within[i]));
      const __m128i risen = _mm_cmpgt_epi32(_mm_add_epi32(lo, _mm_set1_epi32(1)),
                                            _mm_srli_epi32(e, 8));  // lo >= rise: -1
      const __m128i bytes = _mm_sub_epi32(_mm_and_si128(e, _mm_set1_epi32(0xFF)), risen);
      const __m128i packed = _mm_packus_epi16(_mm_packus_epi32(bytes, bytes), bytes);
      batch.Put(i, static_cast<std::uint32_t>(_mm_cvtsi128_si32(packed)));
    }
  } else {
    alignas(16) std::uint32_t index[kRowBatch][4];
    std::size_t i = 0;
#ifdef HUEBRIDGE_TWO_CELLS
    if constexpr (kPaired && kMode == OutputMode::kLut8Tables) {
      const __m256i tableStarts2 = _mm256_broadcastsi128_si256(tableStarts);
      for (; i + 1 < n; i += 2) {
        const __m256i o = _mm256_srli_epi32(PairedCells(grid, cells + i), 8);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(index[i]),
                            _mm256_add_epi32(o, tableStarts2));
      }
    }
#endif
    for (; i < n; ++i) {
      const __m128i o = _mm_srl_epi32(cellOf(cells[i]), shift);
      _mm_store_si128(reinterpret_cast<__m128i*>(index[i]), _mm_add_epi32(o, tableStarts));
    }
    for (std::size_t j = 0; j < n; ++j) {
      const std::uint32_t* at = index[j];
      batch.Put(j, std::uint32_t{table[at[0]]} | std::uint32_t{table[at[1]]} << 8 |
                       std::uint32_t{table[at[2]]} << 16 | std::uint32_t{table[at[3]]} << 24);
    }
  }
}

template <typename T, OutputMode kMode, bool kPaired>
struct Evaluator {
  const FastBitmapTables& fast;
  HUEBRIDGE_TARGET void operator()(Misses& misses) const {
    Evaluate<T, kMode, kPaired>(fast, FromMisses{misses}, misses.count);
  }
  HUEBRIDGE_TARGET void operator()(const std::uint8_t* in, unsigned pixelBytes, std::uint8_t* out,
                                   std::size_t n) const {
    Evaluate<T, kMode, kPaired>(fast, FromPixels{in, pixelBytes, out}, n);
  }
};

template <typename T, OutputMode kMode>
HUEBRIDGE_TARGET void Row(FastBitmapTables& fast, const std::uint8_t* source, unsigned pixelBytes,
                          std::uint8_t* dest, std::size_t width) {
  if (fast.step2 == 4) {
    CachedRow(fast, source, pixelBytes, dest, width, Evaluator<T, kMode, true>{fast});
  } else {
    CachedRow(fast, source, pixelBytes, dest, width, Evaluator<T, kMode, false>{fast});
  }
}

HUEBRIDGE_TARGET void Dispatch(FastBitmapTables& fast, const std::uint8_t* source,
                               unsigned pixelBytes, std::uint8_t* dest, std::size_t width) {
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
    case OutputMode::kLut16Steps:
      Row<std::uint16_t, OutputMode::kLut16Steps>(fast, source, pixelBytes, dest, width);
      break;
    case OutputMode::kLut16Shifted:
      Row<std::uint16_t, OutputMode::kLut16Shifted>(fast, source, pixelBytes, dest, width);
      break;
  }
}

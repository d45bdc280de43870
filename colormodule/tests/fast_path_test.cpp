// The bitmap fast path against the plain evaluation: every row function the
// processor runs, on random tables of every kind and random pixels, must
// give the same bytes as RgbToLab followed by the device table.
#include <gtest/gtest.h>

#include <cstring>

#include "bitmap_fast.h"
#include "cmm_transform.h"
#include "icc_writer.h"
#include "lab_tables.h"
#include "routes.h"
#include "test_support.h"

namespace {

using icc::Sig;
using testing_support::Transform;

struct TableShape {
  bool sixteenBit;
  std::uint8_t grid;
  std::uint8_t outputs;
  std::uint16_t inputEntries;   // lut16
  std::uint16_t outputEntries;  // lut16
  bool randomInput;
  bool randomOutput;
  bool gentleOutput = false;  // lut16 output curves of slope 3/4, not the identity
};

std::ostream& operator<<(std::ostream& os, const TableShape& s) {
  return os << (s.sixteenBit ? "lut16" : "lut8") << " grid " << int{s.grid} << " outputs "
            << int{s.outputs} << " entries " << s.inputEntries << "/" << s.outputEntries
            << (s.randomInput ? " curved in" : "") << (s.randomOutput ? " curved out" : "")
            << (s.gentleOutput ? " gentle out" : "");
}

icc::Lut MakeTable(const TableShape& shape, std::mt19937& rng) {
  icc::Lut lut = shape.sixteenBit ? icc::IdentityLut16(shape.grid, shape.inputEntries,
                                                       shape.outputEntries, shape.outputs)
                                  : icc::IdentityLut8(shape.grid, shape.outputs);
  icc::FillRandomGrid(lut, rng);
  if (shape.randomInput) icc::RandomizeInputTables(lut, rng);
  if (shape.randomOutput) icc::RandomizeOutputTables(lut, rng);
  if (shape.gentleOutput) {
    for (std::uint16_t& v : lut.outputTables) v = static_cast<std::uint16_t>(v / 4 * 3 + 8192);
  }
  return lut;
}

std::vector<huebridge::FastRowFn> RowFunctions() {
  std::vector<huebridge::FastRowFn> rows{huebridge::FastRowPortable};
  if (huebridge::CpuHasSse41()) rows.push_back(huebridge::FastRowSse41);
  if (huebridge::CpuHasAvx2()) rows.push_back(huebridge::FastRowAvx2);
  return rows;
}

class FastPath : public ::testing::TestWithParam<TableShape> {};

TEST_P(FastPath, MatchesThePlainEvaluation) {
  std::mt19937 rng(static_cast<std::uint32_t>(GetParam().grid * 131 + GetParam().outputs));
  icc::Profile p;
  p.Add(Sig("B2A0"), MakeTable(GetParam(), rng));
  Transform t(p.Build());
  ASSERT_TRUE(t.ok());
  auto* record = static_cast<huebridge::CMM_TRANSFORM*>(t.get());
  ASSERT_TRUE(huebridge::BuildLabTables(record));
  huebridge::FastBitmapTables* fast = huebridge::BuildFastTables(record, &record->b2a[0]);
  ASSERT_NE(fast, nullptr);

  // Random pixels, plus the extremes of every channel.
  constexpr std::size_t kPixels = 20000;
  std::vector<std::uint8_t> source(kPixels * 4);
  for (auto& b : source) b = static_cast<std::uint8_t>(rng());
  const std::uint8_t extremes[][3] = {{0, 0, 0},   {255, 255, 255}, {255, 0, 0},   {0, 255, 0},
                                      {0, 0, 255}, {255, 255, 0},   {0, 255, 255}, {255, 0, 255}};
  for (std::size_t i = 0; i < std::size(extremes); ++i) std::memcpy(&source[i * 4], extremes[i], 3);

  for (const unsigned pixelBytes : {3u, 4u}) {
    const std::size_t width = kPixels * 3 / pixelBytes;
    std::vector<std::uint8_t> expected(width * 4), actual(width * 4);
    huebridge::ScalarRow(record, &record->b2a[0], source.data(), pixelBytes, expected.data(),
                         width);
    for (const huebridge::FastRowFn row : RowFunctions()) {
      std::fill(actual.begin(), actual.end(), 0xEE);
      huebridge::ClearColourCache(*fast);
      row(*fast, source.data(), pixelBytes, actual.data(), width);
      for (std::size_t i = 0; i < actual.size(); ++i) {
        ASSERT_EQ(actual[i], expected[i])
            << (row == huebridge::FastRowAvx2    ? "AVX2"
                : row == huebridge::FastRowSse41 ? "SSE4.1"
                                                 : "portable")
            << ", pixel " << i / 4 << " output " << i % 4 << ", " << pixelBytes << "-byte pixels";
      }
    }
  }
  huebridge::FreeFastTables(fast);
}

INSTANTIATE_TEST_SUITE_P(Tables, FastPath,
                         ::testing::Values(TableShape{false, 2, 4, 0, 0, false, false},
                                           TableShape{false, 33, 4, 0, 0, true, true},
                                           TableShape{false, 9, 4, 0, 0, false, true},
                                           TableShape{false, 17, 6, 0, 0, true, false},
                                           TableShape{true, 2, 4, 2, 2, false, false},
                                           TableShape{true, 33, 4, 258, 256, true, true},
                                           TableShape{true, 17, 4, 256, 256, true, false},
                                           TableShape{true, 9, 4, 1024, 256, true, false, true},
                                           TableShape{true, 17, 4, 1024, 1024, true, true},
                                           TableShape{true, 5, 4, 3, 3, true, true},
                                           TableShape{true, 9, 5, 256, 2, true, false},
                                           TableShape{true, 3, 7, 2, 0, false, false},
                                           TableShape{true, 33, 4, 256, 1, false, false}));

// Real images repeat: runs of one colour, a few colours over and over, and
// stretches of noise in which the cache is skipped and then refilled. Rows
// follow each other through the same tables, so the cache and the skipping
// carry over; 4-byte pixels are also converted in place.
TEST(FastPathCache, RunsRepeatsAndNoiseMatchThePlainEvaluation) {
  std::mt19937 rng(2024);
  for (const bool sixteen : {false, true}) {
    icc::Profile p;
    p.Add(Sig("B2A0"), MakeTable(TableShape{sixteen, 17, 4, 256, 256, true, true}, rng));
    Transform t(p.Build());
    ASSERT_TRUE(t.ok());
    auto* record = static_cast<huebridge::CMM_TRANSFORM*>(t.get());
    ASSERT_TRUE(huebridge::BuildLabTables(record));
    huebridge::FastBitmapTables* fast = huebridge::BuildFastTables(record, &record->b2a[0]);
    ASSERT_NE(fast, nullptr);
    std::uint32_t palette[12];
    for (auto& c : palette) c = rng() & 0xFFFFFF;
    constexpr std::size_t kWidth = 3001, kRows = 12;
    for (const unsigned pixelBytes : {3u, 4u}) {
      std::vector<std::vector<std::uint8_t>> rows(kRows);
      for (std::size_t r = 0; r < kRows; ++r) {
        rows[r].resize(kWidth * pixelBytes);
        for (std::size_t x = 0; x < kWidth;) {
          // Row r % 3 == 2 is noise with short runs; the others are runs of
          // palette colours.
          const std::size_t run = std::min<std::size_t>(kWidth - x, 1 + rng() % 40);
          const std::uint32_t colour =
              r % 3 == 2 && rng() % 16 != 0 ? rng() & 0xFFFFFF : palette[rng() % 12];
          for (std::size_t i = 0; i < (r % 3 == 2 ? 1 : run); ++i, ++x) {
            std::memcpy(&rows[r][x * pixelBytes], &colour, 3);
            if (pixelBytes == 4) rows[r][x * pixelBytes + 3] = static_cast<std::uint8_t>(rng());
          }
        }
      }
      for (const huebridge::FastRowFn row : RowFunctions()) {
        huebridge::ClearColourCache(*fast);
        for (std::size_t r = 0; r < kRows; ++r) {
          std::vector<std::uint8_t> expected(kWidth * 4), actual(kWidth * 4, 0xEE);
          huebridge::ScalarRow(record, &record->b2a[0], rows[r].data(), pixelBytes, expected.data(),
                               kWidth);
          if (pixelBytes == 4) {
            actual = rows[r];
            row(*fast, actual.data(), 4, actual.data(), kWidth);
          } else {
            row(*fast, rows[r].data(), 3, actual.data(), kWidth);
          }
          ASSERT_EQ(actual, expected)
              << (sixteen ? "lut16" : "lut8") << ", row " << r << ", " << pixelBytes
              << "-byte pixels" << (pixelBytes == 4 ? " in place" : "");
        }
      }
    }
    huebridge::FreeFastTables(fast);
  }
}

TEST(FastPathTables, GridsTooLargeForPackedOffsetsAreLeftToThePlainRoute) {
  // (grid - 2) x grid x outputs must stay below 2^17 beside a 15-bit
  // fraction; the check comes before anything is read or allocated.
  huebridge::CMM_LUT lut{};
  lut.kind = huebridge::kLut16;
  lut.inputChannels = 3;
  lut.gridPoints = 70;
  lut.outputChannels = 28;
  huebridge::CMM_TRANSFORM t{};
  EXPECT_EQ(huebridge::BuildFastTables(&t, &lut), nullptr);
}

TEST(FastPathExport, LargeBitmapsMatchSingleColours) {
  // 128 x 128 pixels take the fast path inside CMTranslateRGBs; single
  // colours never do. On the bitmap's transform CMTranslateRGB answers from
  // the fast path's cache or its own last answer, on a fresh one by the
  // plain evaluation: both must give the bitmap's bytes.
  std::mt19937 rng(77);
  for (const bool sixteen : {false, true}) {
    icc::Profile p;
    icc::Lut lut = sixteen ? icc::IdentityLut16(17, 256, 256) : icc::IdentityLut8(17);
    icc::FillRandomGrid(lut, rng);
    icc::RandomizeInputTables(lut, rng);
    p.Add(Sig("B2A0"), lut);
    Transform t(p.Build()), fresh(p.Build());
    ASSERT_TRUE(t.ok() && fresh.ok());
    constexpr DWORD kSide = 128;
    std::vector<std::uint8_t> source(kSide * kSide * 3), dest(kSide * kSide * 4);
    for (auto& b : source) b = static_cast<std::uint8_t>(rng());
    ASSERT_TRUE(CMTranslateRGBs(t.get(), source.data(), BM_RGBTRIPLETS, kSide, kSide, 0,
                                dest.data(), BM_CMYKQUADS, 0));
    for (std::size_t i = 0; i < kSide * kSide; i += 7) {
      const COLORREF colour = source[3 * i] | source[3 * i + 1] << 8 | source[3 * i + 2] << 16;
      for (const Transform* h : {&t, &t, &fresh}) {  // the second call repeats the colour
        COLORREF packed = 0;
        ASSERT_TRUE(CMTranslateRGB(h->get(), colour, &packed, 0));
        ASSERT_EQ(std::memcmp(&dest[4 * i], &packed, 4), 0) << sixteen << " pixel " << i;
      }
    }
  }
}

}  // namespace

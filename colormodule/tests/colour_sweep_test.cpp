// Every 8-bit colour through each row function the processor runs, on both
// real profiles, against the plain evaluation (RgbToLab, then the device
// table). The native optimised build sweeps all 2^24 colours, in a few
// seconds; the sanitizer build, where the plain evaluation is many times
// slower, and the Windows build under Wine take every 29th colour (all
// values of every channel still occur), to keep the time CI spends.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "bitmap_fast.h"
#include "cmm_transform.h"
#include "lab_tables.h"
#include "profile_reader.h"
#include "routes.h"
#include "test_support.h"

namespace {

#ifdef HUEBRIDGE_FULL_SWEEP
constexpr std::uint32_t kStride = 1;
#else
constexpr std::uint32_t kStride = 29;
#endif

struct RowFunction {
  const char* name;
  huebridge::FastRowFn row;
  bool runs;
};

class ColourSweep : public ::testing::TestWithParam<const char*> {};

TEST_P(ColourSweep, EveryRowFunctionGivesThePlainBytes) {
  const std::string path = testing_support::HostPath(GetParam());
  ASSERT_TRUE(std::filesystem::exists(path)) << path << ": run scripts/install-deps.sh";
  testing_support::Transform t(path);
  ASSERT_TRUE(t.ok());
  auto* record = static_cast<huebridge::CMM_TRANSFORM*>(t.get());
  const huebridge::CMM_LUT* lut = huebridge::SelectLut(record);
  ASSERT_TRUE(huebridge::BuildLabTables(record));
  huebridge::FastBitmapTables* fast = huebridge::BuildFastTables(record, lut);
  ASSERT_NE(fast, nullptr);
  const RowFunction rows[] = {{"portable", huebridge::FastRowPortable, true},
                              {"SSE4.1", huebridge::FastRowSse41, huebridge::CpuHasSse41()},
                              {"AVX2", huebridge::FastRowAvx2, huebridge::CpuHasAvx2()}};

  constexpr std::uint32_t kWidth = 4096;
  std::vector<std::uint8_t> source(kWidth * 3), plain(kWidth * 4), fastOut(kWidth * 4);
  const std::uint32_t count = (std::uint32_t{1} << 24) / kStride;
  for (std::uint32_t first = 0; first < count; first += kWidth) {
    const std::uint32_t width = std::min(kWidth, count - first);
    for (std::uint32_t i = 0; i < width; ++i) {
      const std::uint32_t colour = (first + i) * kStride;
      source[3 * i] = static_cast<std::uint8_t>(colour);
      source[3 * i + 1] = static_cast<std::uint8_t>(colour >> 8);
      source[3 * i + 2] = static_cast<std::uint8_t>(colour >> 16);
    }
    huebridge::ScalarRow(record, lut, source.data(), 3, plain.data(), width);
    for (const RowFunction& row : rows) {
      if (!row.runs) continue;
      row.row(*fast, source.data(), 3, fastOut.data(), width);
      if (std::memcmp(fastOut.data(), plain.data(), std::size_t{width} * 4) == 0) continue;
      for (std::uint32_t i = 0;; ++i) {
        if (std::memcmp(&fastOut[4 * i], &plain[4 * i], 4) != 0) {
          huebridge::FreeFastTables(fast);
          FAIL() << row.name << " differs at colour 0x" << std::hex << (first + i) * kStride;
        }
      }
    }
  }
  huebridge::FreeFastTables(fast);
}

INSTANTIATE_TEST_SUITE_P(Debian, ColourSweep,
                         ::testing::Values("/usr/share/color/icc/ghostscript/default_cmyk.icc",
                                           "/usr/share/scribus/profiles/ISOcoated_v2_300_bas.icc"),
                         [](const ::testing::TestParamInfo<const char*>& param) {
                           return param.index == 0 ? std::string("default_cmyk")
                                                   : std::string("ISOcoated");
                         });

}  // namespace

// Real printer profiles from Debian packages (installed by
// scripts/install-deps.sh): libgs-common's default_cmyk.icc (lut8, no
// 'gamt') and scribus-data's ISOcoated_v2_300_bas.icc (lut16 with 'gamt').
#include <gtest/gtest.h>

#include <filesystem>

#include "cmm_transform.h"
#include "test_support.h"

namespace {

using testing_support::Transform;

struct RealProfile {
  const char* path;
  std::uint32_t kind;
  bool hasGamut;
};

const RealProfile kProfiles[] = {
    {"/usr/share/color/icc/ghostscript/default_cmyk.icc", huebridge::kLut8, false},
    {"/usr/share/scribus/profiles/ISOcoated_v2_300_bas.icc", huebridge::kLut16, true},
};

void PrintTo(const RealProfile& p, std::ostream* os) { *os << p.path; }

class RealProfiles : public ::testing::TestWithParam<RealProfile> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(std::filesystem::exists(testing_support::HostPath(GetParam().path)))
        << GetParam().path << " is missing: run scripts/install-deps.sh";
  }
};

COLOR Cmyk(const Transform& t, WORD r, WORD g, WORD b) {
  COLOR in = testing_support::Rgb(r, g, b), out{};
  EXPECT_TRUE(CMTranslateColors(t.get(), &in, 1, COLOR_RGB, &out, COLOR_CMYK));
  return out;
}

TEST_P(RealProfiles, CreateForEveryIntentAndTranslate) {
  for (const LONG intent : {LCS_GM_IMAGES, LCS_GM_GRAPHICS, LCS_GM_BUSINESS}) {
    Transform t(testing_support::HostPath(GetParam().path), intent);
    ASSERT_TRUE(t.ok()) << GetParam().path << ": " << t.code();
    const auto& record = *static_cast<const huebridge::CMM_TRANSFORM*>(t.get());
    ASSERT_NE(record.currentLut->inputTables, nullptr);
    EXPECT_EQ(record.currentLut->kind, GetParam().kind);

    // White paper needs no ink; black needs a lot (total area well above
    // any single channel's maximum).
    const COLOR white = Cmyk(t, 0xFFFF, 0xFFFF, 0xFFFF);
    EXPECT_LE(white.cmyk.cyan + white.cmyk.magenta + white.cmyk.yellow + white.cmyk.black, 3 * 256)
        << intent;
    const COLOR black = Cmyk(t, 0, 0, 0);
    EXPECT_GT(black.cmyk.black, 0xC000) << intent;
    EXPECT_GT(black.cmyk.cyan + black.cmyk.magenta + black.cmyk.yellow + black.cmyk.black,
              2 * 0xFFFF)
        << intent;
    // Pure cyan light (no red) prints mostly cyan ink; red mostly magenta
    // and yellow.
    const COLOR cyan = Cmyk(t, 0, 0xFFFF, 0xFFFF);
    EXPECT_GT(cyan.cmyk.cyan, 0x6000) << intent;
    EXPECT_GT(cyan.cmyk.cyan, 2 * cyan.cmyk.yellow) << intent;
    EXPECT_GT(cyan.cmyk.cyan, 2 * cyan.cmyk.black) << intent;
    const COLOR red = Cmyk(t, 0xFFFF, 0, 0);
    EXPECT_GT(red.cmyk.magenta, 0x8000) << intent;
    EXPECT_GT(red.cmyk.yellow, 0x8000) << intent;
    EXPECT_LT(red.cmyk.cyan, 0x2000) << intent;

    // Darker greys never take less black ink.
    WORD previousBlack = 0;
    for (int v = 255; v >= 0; v -= 5) {
      const COLOR grey =
          Cmyk(t, static_cast<WORD>(v << 8), static_cast<WORD>(v << 8), static_cast<WORD>(v << 8));
      EXPECT_GE(grey.cmyk.black + 0x200, previousBlack) << "grey " << v << ", intent " << intent;
      previousBlack = grey.cmyk.black;
    }
  }
}

TEST_P(RealProfiles, GamutChecksRunWhereThereIsATable) {
  Transform t(testing_support::HostPath(GetParam().path));
  ASSERT_TRUE(t.ok());
  COLOR colors[] = {testing_support::Lab(0xFFFF, 0x8000, 0x8000),              // white
                    testing_support::Lab(0x8000, 0x8000, 0x8000),              // mid grey
                    testing_support::Lab(0x8000, 0x8000 + 100 * 256, 0x8000),  // a* = +100
                    testing_support::Lab(0xE000, 0x8000 - 100 * 256, 0x8000 + 100 * 256)};
  BYTE result[5] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
  SetLastError(0);
  if (!GetParam().hasGamut) {
    EXPECT_FALSE(CMCheckColors(t.get(), colors, 4, COLOR_Lab, result));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
    return;
  }
  ASSERT_TRUE(CMCheckColors(t.get(), colors, 4, COLOR_Lab, result));
  EXPECT_EQ(result[4], 0xEE);
  // Mid grey lies well inside the gamut, far-out saturated colours do not:
  // the table says so with a larger value.
  EXPECT_LT(result[1], result[2]);
  EXPECT_LT(result[1], result[3]);
}

INSTANTIATE_TEST_SUITE_P(Debian, RealProfiles, ::testing::ValuesIn(kProfiles),
                         [](const ::testing::TestParamInfo<RealProfile>& param) {
                           return param.param.kind == huebridge::kLut8 ? std::string("default_cmyk")
                                                                       : std::string("ISOcoated");
                         });

}  // namespace

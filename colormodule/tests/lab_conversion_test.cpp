// sRGB to Lab and XYZ: the conversion tables and the colours whose words are
// known, through the exports on a generated profile.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "cmm_transform.h"
#include "icc_writer.h"
#include "lab_tables.h"
#include "test_support.h"

namespace {

using testing_support::Rgb;
using testing_support::Transform;

struct Words {
  WORD a, b, c;
  bool operator==(const Words&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Words& w) {
  return os << "(" << w.a << ", " << w.b << ", " << w.c << ")";
}

class LabConversion : public ::testing::Test {
 protected:
  void SetUp() override {
    std::mt19937 rng(7);
    transform_ = std::make_unique<Transform>(icc::TypicalProfile(rng, 3).Build());
    ASSERT_TRUE(transform_->ok()) << transform_->code();
  }

  Words Convert(COLORTYPE to, WORD r, WORD g, WORD b) {
    COLOR in = Rgb(r, g, b), out{};
    EXPECT_TRUE(CMTranslateColors(transform_->get(), &in, 1, COLOR_RGB, &out, to));
    return {out.rgb.red, out.rgb.green, out.rgb.blue};
  }
  Words ToLab(int r, int g, int b) {
    return Convert(COLOR_Lab, static_cast<WORD>(r << 8), static_cast<WORD>(g << 8),
                   static_cast<WORD>(b << 8));
  }
  Words ToXyz(int r, int g, int b) {
    return Convert(COLOR_XYZ, static_cast<WORD>(r << 8), static_cast<WORD>(g << 8),
                   static_cast<WORD>(b << 8));
  }

  std::unique_ptr<Transform> transform_;
};

TEST(LabTables, EntriesAtTheirKnownValues) {
  huebridge::CMM_TRANSFORM* t = huebridge::NewTransform(testing_support::ColorSpace());
  ASSERT_NE(t, nullptr);
  ASSERT_TRUE(huebridge::BuildLabTables(t));
  EXPECT_EQ(t->srgbToLinear[0], 0u);
  EXPECT_EQ(t->srgbToLinear[1], 1u);
  EXPECT_EQ(t->srgbToLinear[2], 1u);
  EXPECT_EQ(t->srgbToLinear[3], 2u);
  EXPECT_EQ(t->srgbToLinear[128], 442u);
  EXPECT_EQ(t->srgbToLinear[255], 2048u);
  EXPECT_EQ(t->lightness[0], 0u);
  EXPECT_EQ(t->lightness[1], 1156u);
  EXPECT_EQ(t->lightness[2], 2312u);
  EXPECT_EQ(t->lightness[511], 65485u);
  EXPECT_EQ(t->cubeRoot[0], 3531u);
  EXPECT_EQ(t->cubeRoot[511], 25583u);
  // Building again keeps the tables.
  const std::uint32_t* first = t->srgbToLinear;
  ASSERT_TRUE(huebridge::BuildLabTables(t));
  EXPECT_EQ(t->srgbToLinear, first);
  huebridge::FreeTransform(t);
}

TEST(LabTables, EveryEntryIsFarFromARoundingTie) {
  // The tables come from pow(); a C library whose pow differs in the last
  // bit could only change an entry whose unrounded value lies next to a
  // .5 tie. None does, so both builds get the same tables.
  for (int i = 0; i < 256; ++i) {
    const double t = i * (1.0 / 255.0);
    const double v =
        t < 0.03928 ? t * 2048 * (1.0 / 12.92) : std::pow((t + 0.055) * (1.0 / 1.055), 2.4) * 2048;
    EXPECT_GT(std::fabs(v - std::floor(v) - 0.5), 1e-9) << "srgbToLinear " << i;
  }
  for (int i = 5; i < 512; ++i) {
    const double c = std::pow(i * (1.0 / 512.0), 1.0 / 3.0);
    const double cube = c * 25600, light = (c * 1.16 - 0.16) * 65535;
    EXPECT_GT(std::fabs(cube - std::floor(cube) - 0.5), 1e-9) << "cubeRoot " << i;
    EXPECT_GT(std::fabs(light - std::floor(light) - 0.5), 1e-9) << "lightness " << i;
  }
}

TEST_F(LabConversion, WhiteBlackAndGrey) {
  EXPECT_EQ(ToLab(255, 255, 255), (Words{65485, 32768, 32768}));
  EXPECT_EQ(ToXyz(255, 255, 255), (Words{65408, 65408, 65408}));
  EXPECT_EQ(ToLab(0, 0, 0), (Words{0, 32768, 32768}));
  EXPECT_EQ(ToXyz(0, 0, 0), (Words{0, 0, 0}));
  const Words grey = ToLab(128, 128, 128);
  EXPECT_EQ(grey, (Words{35045, 32768, 32768}));
}

TEST_F(LabConversion, Primaries) {
  EXPECT_EQ(ToLab(255, 0, 0), (Words{35591, 53363, 50488}));
  EXPECT_EQ(ToXyz(255, 0, 0), (Words{29568, 14592, 1152}));
  EXPECT_EQ(ToLab(0, 255, 0), (Words{57487, 12508, 53492}));
  EXPECT_EQ(ToLab(0, 0, 255), (Words{19366, 50283, 4120}));
}

TEST_F(LabConversion, LowByteHasNoInfluence) {
  std::mt19937 rng(3);
  for (int i = 0; i < 200; ++i) {
    const WORD r = static_cast<WORD>(rng()), g = static_cast<WORD>(rng()),
               b = static_cast<WORD>(rng());
    const auto high = [](WORD w) { return static_cast<WORD>(w & 0xFF00); };
    EXPECT_EQ(Convert(COLOR_Lab, r, g, b), Convert(COLOR_Lab, high(r), high(g), high(b)));
    EXPECT_EQ(Convert(COLOR_XYZ, r, g, b), Convert(COLOR_XYZ, high(r), high(g), high(b)));
  }
}

// CIE Lab of an sRGB colour in double precision, relative to the white the
// module's weights imply (each weight row sums to 511).
void ReferenceLab(int r8, int g8, int b8, double lab[3]) {
  auto linear = [](int v) {
    const double c = v / 255.0;
    return c < 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  const double r = linear(r8), g = linear(g8), b = linear(b8);
  const double x = (231 * r + 204 * g + 76 * b) / 511, y = (114 * r + 366 * g + 31 * b) / 511,
               z = (9 * r + 60 * g + 442 * b) / 511;
  auto f = [](double t) { return t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116.0; };
  lab[0] = y > 0.008856 ? 116 * std::cbrt(y) - 16 : 903.3 * y;
  lab[1] = 500 * (f(x) - f(y));
  lab[2] = 200 * (f(y) - f(z));
}

TEST_F(LabConversion, CloseToFloatingPointLab) {
  // The indices are truncated to 1/512 steps. Where the Lab function is
  // steepest (its linear part, slope 7.787) a step moves L* by up to
  // 903.3 / 512 = 1.77, a* by up to 500 x 7.787 / 512 = 7.6 and b* by up to
  // 200 x 7.787 / 512 = 3.04; swapped weights or channels miss by far more.
  std::mt19937 rng(11);
  for (int i = 0; i < 2000; ++i) {
    const int r = static_cast<int>(rng() % 256), g = static_cast<int>(rng() % 256),
              b = static_cast<int>(rng() % 256);
    double ref[3];
    ReferenceLab(r, g, b, ref);
    const Words w = ToLab(r, g, b);
    const double l = w.a / 655.35;
    const double a = static_cast<std::int16_t>(static_cast<WORD>(w.b - 32768)) / 256.0;
    const double bb = static_cast<std::int16_t>(static_cast<WORD>(w.c - 32768)) / 256.0;
    ASSERT_NEAR(l, ref[0], 1.9) << r << "," << g << "," << b;
    ASSERT_NEAR(a, ref[1], 7.8) << r << "," << g << "," << b;
    ASSERT_NEAR(bb, ref[2], 3.2) << r << "," << g << "," << b;
  }
}

}  // namespace

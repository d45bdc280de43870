// lut16 evaluation against an exact reading of the ICC lut16Type: input
// curves, trilinear grid and output curves in double precision, positions
// at x / 65535 of each table. The fixed-point steps (halving, 15-bit
// fractions, rounding toward minus infinity) keep the module within a few
// dozen units of it.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "cmm_transform.h"
#include "icc_writer.h"
#include "test_support.h"

namespace {

using testing_support::Transform;

double Curve(const std::uint16_t* table, unsigned entries, double x) {
  const double position = x * (entries - 1);
  const unsigned i = std::min(static_cast<unsigned>(position), entries - 2);
  return (table[i] + (table[i + 1] - table[i]) * (position - i)) / 65535.0;
}

// Output k of the lut16 slot for the 16-bit inputs w, in 0..65535.
double Exact(const huebridge::CMM_LUT& lut, const WORD w[3], unsigned k) {
  const auto* in = static_cast<const std::uint16_t*>(lut.inputTables);
  const auto* grid = static_cast<const std::uint16_t*>(lut.clut);
  const auto* out = static_cast<const std::uint16_t*>(lut.outputTables);
  const unsigned n = lut.inputEntries, m = lut.outputEntries, g = lut.gridPoints,
                 outputs = lut.outputChannels;
  unsigned cell[3];
  double f[3];
  for (unsigned c = 0; c < 3; ++c) {
    const double position = Curve(in + c * n, n, w[c] / 65535.0) * (g - 1);
    cell[c] = std::min(static_cast<unsigned>(position), g - 2);
    f[c] = position - cell[c];
  }
  double sum = 0;
  for (unsigned d0 = 0; d0 < 2; ++d0)
    for (unsigned d1 = 0; d1 < 2; ++d1)
      for (unsigned d2 = 0; d2 < 2; ++d2) {
        const double v =
            grid[(((cell[0] + d0) * g + cell[1] + d1) * g + cell[2] + d2) * outputs + k];
        sum += v * (d0 ? f[0] : 1 - f[0]) * (d1 ? f[1] : 1 - f[1]) * (d2 ? f[2] : 1 - f[2]);
      }
  return m <= 2 ? sum : Curve(out + k * m, m, sum / 65535.0) * 65535;
}

void ExpectCloseToExact(const Transform& t, double worstAllowed, double meanAllowed) {
  const auto& lut = *static_cast<const huebridge::CMM_TRANSFORM*>(t.get())->currentLut;
  ASSERT_EQ(lut.kind, huebridge::kLut16);
  std::mt19937 rng(6);
  double worst = 0, total = 0;
  constexpr int kColors = 20000;
  for (int i = 0; i < kColors; ++i) {
    const WORD w[3] = {static_cast<WORD>(rng()), static_cast<WORD>(rng()),
                       static_cast<WORD>(rng())};
    COLOR in = testing_support::Lab(w[0], w[1], w[2]), out{};
    ASSERT_TRUE(CMTranslateColors(t.get(), &in, 1, COLOR_Lab, &out, COLOR_CMYK));
    const WORD ours[4] = {out.cmyk.cyan, out.cmyk.magenta, out.cmyk.yellow, out.cmyk.black};
    for (unsigned k = 0; k < 4; ++k) {
      const double diff = std::fabs(ours[k] - Exact(lut, w, k));
      worst = std::max(worst, diff);
      total += diff;
    }
  }
  EXPECT_LE(worst, worstAllowed);
  EXPECT_LE(total / (4 * kColors), meanAllowed);
}

TEST(ExactReference, RealLut16Profile) {
  const std::string path =
      testing_support::HostPath("/usr/share/scribus/profiles/ISOcoated_v2_300_bas.icc");
  ASSERT_TRUE(std::filesystem::exists(path));
  for (const LONG intent : {LCS_GM_IMAGES, LCS_GM_GRAPHICS, LCS_GM_BUSINESS}) {
    Transform t(path, intent);
    ASSERT_TRUE(t.ok());
    ExpectCloseToExact(t, 48, 6);
  }
}

TEST(ExactReference, GeneratedLut16WithCurves) {
  // A smooth grid with curved 1024-entry input and 3-entry output tables.
  constexpr std::uint8_t kGrid = 17;
  icc::Lut lut = icc::IdentityLut16(kGrid, 1024, 3);
  for (unsigned g0 = 0; g0 < kGrid; ++g0)
    for (unsigned g1 = 0; g1 < kGrid; ++g1)
      for (unsigned g2 = 0; g2 < kGrid; ++g2)
        for (unsigned k = 0; k < 4; ++k) {
          const double x = (3.0 * g0 + 2.0 * g1 + g2 + k) / (6.0 * (kGrid - 1));
          lut.At(g0, g1, g2, k) =
              static_cast<WORD>(std::lround(65535 * (0.5 + 0.5 * std::cos(2 * x + k))));
        }
  for (std::size_t i = 0; i < lut.inputTables.size(); ++i) {
    lut.inputTables[i] = static_cast<WORD>(
        std::lround(65535 * std::pow(static_cast<double>(i % 1024) / 1023.0, 1.8)));
  }
  for (unsigned k = 0; k < 4; ++k) lut.outputTables[3 * k + 1] = 40000;  // a bent output curve
  icc::Profile p;
  p.Add(icc::Sig("B2A0"), lut);
  Transform t(p.Build());
  ASSERT_TRUE(t.ok());
  ExpectCloseToExact(t, 48, 6);
}

}  // namespace

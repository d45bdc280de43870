// An independent check of table decoding and evaluation against Little CMS.
// Little CMS runs the same B2A table from the same 16-bit Lab words (input
// profile: its built-in v2 Lab profile with TYPE_LabV2_16, so that the words
// reach the table unchanged; cmsFLAGS_NOOPTIMIZE, so that it evaluates the
// stored curves and grid, trilinearly as it does for Lab-indexed tables).
// Little CMS interpolates in floating point and widens 8-bit tables by 257
// where this module uses fixed point and 256. On ISOcoated's lut16 tables it
// lies within about 900 units (mean 36) of this module, while an exact
// double-precision evaluation of the same tables lies within 28 of this
// module (reference_eval_test.cpp): most of the gap is Little CMS's own. A
// wrong byte order, table order, channel order or grid step misses by
// thousands on average.
#include <gtest/gtest.h>
#include <lcms2.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "icc_writer.h"
#include "test_support.h"

namespace {

using icc::Sig;
using testing_support::Transform;

struct Disagreement {
  int worst = 0;
  double mean = 0;
};

// Lab words on a grid over the valid v2 range (L up to 0xFF00), plus random
// ones, through both engines. Outputs compared in bytes (the module's lut8
// outputs are bytes) or in 16-bit words.
Disagreement Compare(const std::string& path, const Transform& t, int lcmsIntent, bool bytes) {
  cmsHPROFILE lab = cmsCreateLab2Profile(nullptr);
  cmsHPROFILE printer = cmsOpenProfileFromFile(path.c_str(), "r");
  EXPECT_NE(printer, nullptr) << path;
  if (printer == nullptr) return {1 << 30, 0};
  cmsHTRANSFORM xform = cmsCreateTransform(lab, TYPE_LabV2_16, printer, TYPE_CMYK_16, lcmsIntent,
                                           cmsFLAGS_NOOPTIMIZE | cmsFLAGS_NOCACHE);
  EXPECT_NE(xform, nullptr);
  std::vector<std::array<WORD, 3>> inputs;
  for (unsigned l = 0; l <= 0xFF00; l += 0xFF00 / 16)
    for (unsigned a = 0; a <= 0xFF00; a += 0xFF00 / 16)
      for (unsigned b = 0; b <= 0xFF00; b += 0xFF00 / 16)
        inputs.push_back({static_cast<WORD>(l), static_cast<WORD>(a), static_cast<WORD>(b)});
  std::mt19937 rng(4);
  for (int i = 0; i < 5000; ++i) {
    inputs.push_back({static_cast<WORD>(rng() % 0xFF01), static_cast<WORD>(rng() % 0xFF01),
                      static_cast<WORD>(rng() % 0xFF01)});
  }
  Disagreement d;
  double total = 0;
  for (const auto& in : inputs) {
    WORD theirs[4];
    cmsDoTransform(xform, in.data(), theirs, 1);
    COLOR c = testing_support::Lab(in[0], in[1], in[2]), out{};
    EXPECT_TRUE(CMTranslateColors(t.get(), &c, 1, COLOR_Lab, &out, COLOR_CMYK));
    const WORD ours[4] = {out.cmyk.cyan, out.cmyk.magenta, out.cmyk.yellow, out.cmyk.black};
    for (int k = 0; k < 4; ++k) {
      const int diff = bytes ? std::abs((ours[k] >> 8) - (theirs[k] + 128) / 257)
                             : std::abs(ours[k] - theirs[k]);
      d.worst = std::max(d.worst, diff);
      total += diff;
    }
  }
  d.mean = total / (4.0 * static_cast<double>(inputs.size()));
  cmsDeleteTransform(xform);
  cmsCloseProfile(printer);
  cmsCloseProfile(lab);
  return d;
}

struct IntentPair {
  LONG lcsIntent;
  int lcmsIntent;
};
const IntentPair kIntents[] = {{LCS_GM_IMAGES, INTENT_PERCEPTUAL},
                               {LCS_GM_GRAPHICS, INTENT_RELATIVE_COLORIMETRIC},
                               {LCS_GM_BUSINESS, INTENT_SATURATION}};

TEST(LittleCms, Lut8RealProfileAgreesWithinAFewSteps) {
  const std::string path = "/usr/share/color/icc/ghostscript/default_cmyk.icc";
  ASSERT_TRUE(std::filesystem::exists(path));
  for (const IntentPair& intent : kIntents) {
    Transform t(path, intent.lcsIntent);
    ASSERT_TRUE(t.ok());
    const Disagreement d = Compare(path, t, intent.lcmsIntent, true);
    EXPECT_LE(d.worst, 8) << "intent " << intent.lcsIntent;
    EXPECT_LT(d.mean, 0.5) << "intent " << intent.lcsIntent;
  }
}

TEST(LittleCms, Lut16RealProfileAgreesWithinLittleCmsPrecision) {
  const std::string path = "/usr/share/scribus/profiles/ISOcoated_v2_300_bas.icc";
  ASSERT_TRUE(std::filesystem::exists(path));
  for (const IntentPair& intent : kIntents) {
    Transform t(path, intent.lcsIntent);
    ASSERT_TRUE(t.ok());
    const Disagreement d = Compare(path, t, intent.lcmsIntent, false);
    EXPECT_LE(d.worst, 1200) << "intent " << intent.lcsIntent;
    EXPECT_LT(d.mean, 64) << "intent " << intent.lcsIntent;
  }
}

TEST(LittleCms, GeneratedTablesAgree) {
  // Smooth grids (as printer tables are) with curved input and output
  // tables, written by the test writer and read by both engines.
  std::mt19937 rng(31);
  for (const bool sixteen : {false, true}) {
    constexpr std::uint8_t kGrid = 9;
    icc::Lut lut = sixteen ? icc::IdentityLut16(kGrid, 1024, 256) : icc::IdentityLut8(kGrid);
    const double top = sixteen ? 65535 : 255;
    for (unsigned g0 = 0; g0 < kGrid; ++g0)
      for (unsigned g1 = 0; g1 < kGrid; ++g1)
        for (unsigned g2 = 0; g2 < kGrid; ++g2)
          for (unsigned k = 0; k < 4; ++k) {
            const double x = (g0 + 2.0 * g1 + 3.0 * g2 + k) / (6.0 * (kGrid - 1));
            lut.At(g0, g1, g2, k) =
                static_cast<WORD>(std::lround(top * (0.5 + 0.5 * std::sin(3 * x + k))));
          }
    auto gamma = [&](std::vector<std::uint16_t>& tables, unsigned entries, double exponent) {
      for (std::size_t i = 0; i < tables.size(); ++i) {
        tables[i] = static_cast<std::uint16_t>(
            std::lround(top * std::pow(double(i % entries) / (entries - 1), exponent)));
      }
    };
    gamma(lut.inputTables, sixteen ? 1024 : 256, 0.8);
    gamma(lut.outputTables, sixteen ? 256 : 256, 1.25);
    icc::Profile p;
    p.Add(Sig("B2A0"), lut);
    p.Add(Sig("B2A1"), lut);
    p.Add(Sig("B2A2"), lut);
    const std::string path =
        testing_support::WriteScratch(sixteen ? "lcms16.icc" : "lcms8.icc", p.Build());
    Transform t(path, LCS_GM_IMAGES);
    ASSERT_TRUE(t.ok());
    const Disagreement d = Compare(path, t, INTENT_PERCEPTUAL, !sixteen);
    EXPECT_LE(d.worst, sixteen ? 512 : 4) << sixteen;
    EXPECT_LT(d.mean, sixteen ? 40 : 0.5) << sixteen;
  }
}

}  // namespace

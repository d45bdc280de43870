// Fixed-point evaluation of device and gamut tables, driven through the
// Lab -> CMYK route and CMCheckColors on generated profiles. The expected
// words are worked out by hand from the table contents in each comment.
#include <gtest/gtest.h>

#include <array>

#include "icc_writer.h"
#include "test_support.h"

namespace {

using icc::Sig;
using testing_support::Lab;
using testing_support::Transform;

using Cmyk = std::array<WORD, 4>;

Cmyk Eval(const Transform& t, WORD x0, WORD x1, WORD x2) {
  COLOR in = Lab(x0, x1, x2), out{};
  EXPECT_TRUE(CMTranslateColors(t.get(), &in, 1, COLOR_Lab, &out, COLOR_CMYK));
  return {out.cmyk.cyan, out.cmyk.magenta, out.cmyk.yellow, out.cmyk.black};
}

Transform WithDeviceTable(const icc::Lut& lut) {
  icc::Profile p;
  p.Add(Sig("B2A0"), lut);
  return Transform(p.Build());
}

// --- lut16 ------------------------------------------------------------------

TEST(Lut16, SingleCellArithmetic) {
  // G = 2, two-entry input tables 0..65535: v = (65535 x (x >> 1)) >> 15 and
  // h = v >> 1. Output 0 runs 0 -> 32768 along channel 0, so it equals h0.
  icc::Lut lut = icc::IdentityLut16(2, 2, 2);
  lut.At(1, 0, 0, 0) = lut.At(1, 0, 1, 0) = lut.At(1, 1, 0, 0) = lut.At(1, 1, 1, 0) = 32768;
  // Output 1 falls from 3 to 0 along channel 0: 3 + ((-3 h) >> 15) rounds
  // toward minus infinity.
  for (unsigned a = 0; a < 2; ++a)
    for (unsigned b = 0; b < 2; ++b) lut.At(0, a, b, 1) = 3;
  Transform t = WithDeviceTable(lut);
  ASSERT_TRUE(t.ok());
  // x = 0x8000: v = 65535 x 16384 >> 15 = 32767, h = 16383.
  EXPECT_EQ(Eval(t, 0x8000, 0, 0)[0], 16383);
  EXPECT_EQ(Eval(t, 0x8000, 0, 0)[1], 1);  // 3 + floor(-49149 / 32768) = 3 - 2
  // x = 0xFFFF: v = 65535 x 32767 >> 15 = 65533, h = 32766.
  EXPECT_EQ(Eval(t, 0xFFFF, 0, 0)[0], 32766);
  EXPECT_EQ(Eval(t, 0, 0, 0)[0], 0);
  EXPECT_EQ(Eval(t, 0, 0, 0)[1], 3);
}

TEST(Lut16, OutputTablesOfTwoEntriesAreSkippedAndOfThreeApplied) {
  // A constant grid of 0x4000 in every output.
  for (const std::uint16_t entries : {std::uint16_t{2}, std::uint16_t{3}}) {
    icc::Lut lut = icc::IdentityLut16(3, 2, entries);
    for (auto& v : lut.grid) v = 0x4000;
    // A falling two-entry table would map 0x4000 to about 0xC000, and the
    // three-entry tent 0, 65535, 0 maps it to lerp15(0, 65535, 16384) = 32767.
    lut.outputTables.clear();
    for (int k = 0; k < 4; ++k) {
      if (entries == 2) {
        lut.outputTables.insert(lut.outputTables.end(), {65535, 0});
      } else {
        lut.outputTables.insert(lut.outputTables.end(), {0, 65535, 0});
      }
    }
    Transform t = WithDeviceTable(lut);
    ASSERT_TRUE(t.ok());
    const WORD expected = entries == 2 ? 0x4000 : 32767;
    EXPECT_EQ(Eval(t, 0x1234, 0xABCD, 0xFFFF), (Cmyk{expected, expected, expected, expected}))
        << entries;
  }
}

TEST(Lut16, ChannelsAndOutputsKeepTheirPlaces) {
  // Five outputs per grid point: output k holds g_k x 1000 for k < 3, and
  // 7777 for output 3; output 4 (never computed) holds noise.
  constexpr std::uint8_t kGrid = 5;
  icc::Lut lut = icc::IdentityLut16(kGrid, 256, 2, 5);
  std::mt19937 rng(9);
  for (unsigned g0 = 0; g0 < kGrid; ++g0)
    for (unsigned g1 = 0; g1 < kGrid; ++g1)
      for (unsigned g2 = 0; g2 < kGrid; ++g2) {
        lut.At(g0, g1, g2, 0) = static_cast<WORD>(g0 * 1000);
        lut.At(g0, g1, g2, 1) = static_cast<WORD>(g1 * 1000);
        lut.At(g0, g1, g2, 2) = static_cast<WORD>(g2 * 1000);
        lut.At(g0, g1, g2, 3) = 7777;
        lut.At(g0, g1, g2, 4) = static_cast<WORD>(rng());
      }
  Transform t = WithDeviceTable(lut);
  ASSERT_TRUE(t.ok());
  Cmyk previous{};
  for (unsigned x = 0; x <= 0xFFFF; x += 0x101) {
    const Cmyk all = Eval(t, static_cast<WORD>(x), static_cast<WORD>(x), static_cast<WORD>(x));
    // The same position along each channel gives the same output.
    EXPECT_EQ(all[0], all[1]);
    EXPECT_EQ(all[1], all[2]);
    EXPECT_EQ(all[3], 7777);
    // Linear along the channel: within a grid step of x x 4000 / 65535.
    EXPECT_NEAR(all[0], x * 4000.0 / 65535, 2.0) << x;
    EXPECT_GE(all[0], previous[0]);
    previous = all;
    // Each output follows its own channel only.
    const Cmyk one = Eval(t, static_cast<WORD>(x), 0, 0xFFFF);
    EXPECT_EQ(one[0], all[0]);
    EXPECT_EQ(one[1], 0);
    EXPECT_EQ(one[2], Eval(t, 0, 0, 0xFFFF)[2]);
  }
}

TEST(Lut16, InputTablesShapeTheChannel) {
  // A falling input table on channel 0 mirrors output 0.
  icc::Lut lut = icc::IdentityLut16(2, 2, 2);
  lut.inputTables[0] = 65535;
  lut.inputTables[1] = 0;
  for (unsigned a = 0; a < 2; ++a)
    for (unsigned b = 0; b < 2; ++b) lut.At(1, a, b, 0) = 32768;
  Transform t = WithDeviceTable(lut);
  ASSERT_TRUE(t.ok());
  // x = 0: v = 65535, h = 32767. x = 0xFFFF: f = 32767,
  // v = 65535 + floor(-65535 x 32767 / 32768) = 65535 - 65534 = 1, h = 0.
  // x = 0x8000: v = 65535 + floor(-32767.5) = 32767, h = 16383.
  EXPECT_EQ(Eval(t, 0, 0, 0)[0], 32767);
  EXPECT_EQ(Eval(t, 0xFFFF, 0, 0)[0], 0);
  EXPECT_EQ(Eval(t, 0x8000, 0, 0)[0], 16383);
}

// --- lut8 -------------------------------------------------------------------

icc::Lut ChannelZeroRamp8(std::uint8_t grid) {
  // Output 0 is 0 everywhere but at the last grid point of channel 0 (255).
  icc::Lut lut = icc::IdentityLut8(grid);
  for (unsigned a = 0; a < grid; ++a)
    for (unsigned b = 0; b < grid; ++b) lut.At(grid - 1u, a, b, 0) = 255;
  return lut;
}

TEST(Lut8, IdentityInputUsesTheWordDirectly) {
  // G = 3, x = 0xFFFF: p = 65535 x 2, the last cell (g = 1) with fraction
  // (p >> 8) & 0xFF = 255; lerp8(0, 65280, 255) = 65025, byte 254.
  Transform t = WithDeviceTable(ChannelZeroRamp8(3));
  ASSERT_TRUE(t.ok());
  EXPECT_EQ(Eval(t, 0xFFFF, 0, 0)[0], 254 * 256);
  // x = 0xC000: p = 0x18000, g = 1, h = 0x80: (65280 x 128 + 127) >> 8 = 32640.
  EXPECT_EQ(Eval(t, 0xC000, 0, 0)[0], 127 * 256);
  EXPECT_EQ(Eval(t, 0x7FFF, 0, 0)[0], 0);
}

TEST(Lut8, SlopeAtTheLastEntryIsOne) {
  // Not an identity table (entry 0 is 1), but ending in 255: 0xFFFF maps to
  // 255 x 256 + 255 x 1 = 0xFFFF and so to fraction 255 in the last cell as
  // above. A slope of 0 there would give fraction 254 and byte 253.
  icc::Lut lut = ChannelZeroRamp8(3);
  lut.inputTables[0] = 1;
  Transform t = WithDeviceTable(lut);
  ASSERT_TRUE(t.ok());
  EXPECT_EQ(Eval(t, 0xFFFF, 0, 0)[0], 254 * 256);
  // Between entries the slope is the table's: hi = 0x80 (value 128, next
  // 129), lo = 0x40: v = 128 x 256 + 64 = 0x8040, with G = 3 p = 0x10080,
  // cell 1, fraction 0: output 0.
  EXPECT_EQ(Eval(t, 0x8040, 0, 0)[0], 0);
}

TEST(Lut8, OutputTablesMapTheHighByte) {
  icc::Lut lut = icc::IdentityLut8(2);
  for (auto& v : lut.grid) v = 100;
  for (int k = 0; k < 4; ++k)
    lut.outputTables[static_cast<std::size_t>(k * 256 + 100)] = static_cast<std::uint16_t>(10 + k);
  Transform t = WithDeviceTable(lut);
  ASSERT_TRUE(t.ok());
  EXPECT_EQ(Eval(t, 0x1234, 0x5678, 0x9ABC), (Cmyk{10 * 256, 11 * 256, 12 * 256, 13 * 256}));
}

// --- Gamut tables -------------------------------------------------------------

std::vector<BYTE> Check(const Transform& t, const std::vector<COLOR>& colors) {
  std::vector<BYTE> result(colors.size() + 1, 0xEE);
  EXPECT_TRUE(CMCheckColors(t.get(), const_cast<COLOR*>(colors.data()),
                            static_cast<DWORD>(colors.size()), COLOR_Lab, result.data()));
  EXPECT_EQ(result.back(), 0xEE) << "wrote past the last colour";
  result.pop_back();
  return result;
}

Transform WithGamut(const icc::Lut& gamut) {
  icc::Profile p;
  p.Add(Sig("B2A0"), icc::IdentityLut16(2, 2, 2));
  p.Add(Sig("gamt"), gamut);
  return Transform(p.Build());
}

TEST(GamutTable, Lut16ResultIsTheHighByte) {
  icc::Lut gamut = icc::IdentityLut16(3, 2, 2, 1);
  for (auto& v : gamut.grid) v = 0x1234;
  {
    Transform t = WithGamut(gamut);
    ASSERT_TRUE(t.ok());
    EXPECT_EQ(Check(t, {Lab(0, 0, 0), Lab(0xFFFF, 0x8000, 0x1234)}),
              (std::vector<BYTE>{0x12, 0x12}));
  }
  // With a 256-entry falling output table: o = 0x1234, p = 0x91A x 255 =
  // 0x90E66, i = 18, f = 0xE66: lerp15(65535 - 18 x 257, 65535 - 19 x 257,
  // 0xE66) = 60909 - 29 = 60880, whose high byte is 0xED.
  gamut.outputEntries = 256;
  gamut.outputTables.resize(256);
  for (unsigned i = 0; i < 256; ++i) gamut.outputTables[i] = static_cast<WORD>(65535 - i * 257);
  Transform t = WithGamut(gamut);
  ASSERT_TRUE(t.ok());
  EXPECT_EQ(Check(t, {Lab(0x4000, 0x4000, 0x4000)}), (std::vector<BYTE>{0xED}));
}

TEST(GamutTable, Lut8FollowsTheHighByteOfEachChannel) {
  // G = 2, channel 0 runs from 0 to 255: t = x >> 8, h = t, r = (255 h) >> 8.
  icc::Lut gamut = icc::IdentityLut8(2, 1);
  for (unsigned a = 0; a < 2; ++a)
    for (unsigned b = 0; b < 2; ++b) gamut.At(1, a, b, 0) = 255;
  gamut.outputTables.assign(256, 0);
  for (unsigned i = 0; i < 256; ++i) gamut.outputTables[i] = static_cast<WORD>(255 - i);
  Transform t = WithGamut(gamut);
  ASSERT_TRUE(t.ok());
  // 0xFFFF: r = 254, table 255 - 254 = 1. 0x80FF: r = 127 (low byte ignored),
  // table 128. 0: r = 0, table 255.
  EXPECT_EQ(Check(t, {Lab(0xFFFF, 0, 0), Lab(0x80FF, 0xFFFF, 0xFFFF), Lab(0, 0x8000, 0)}),
            (std::vector<BYTE>{1, 128, 255}));
}

TEST(GamutTable, EveryColourIsCheckedAlike) {
  std::mt19937 rng(12);
  for (const bool sixteen : {false, true}) {
    icc::Lut gamut = sixteen ? icc::IdentityLut16(9, 1024, 256, 1) : icc::IdentityLut8(9, 1);
    icc::FillRandomGrid(gamut, rng);
    icc::RandomizeInputTables(gamut, rng);
    Transform t = WithGamut(gamut);
    ASSERT_TRUE(t.ok());
    std::vector<COLOR> colors;
    for (int i = 0; i < 50; ++i) {
      colors.push_back(
          Lab(static_cast<WORD>(rng()), static_cast<WORD>(rng()), static_cast<WORD>(rng())));
    }
    const std::vector<BYTE> batch = Check(t, colors);
    for (std::size_t i = 0; i < colors.size(); ++i) {
      EXPECT_EQ(Check(t, {colors[i]}), std::vector<BYTE>{batch[i]}) << i;
    }
  }
}

}  // namespace

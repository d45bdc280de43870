// The translation exports: which type pairs and formats are served, what is
// written and what is left alone, bitmap rows and strides, progress
// callbacks, gamut checks, and the refusals of bad handles, arguments and
// tables.
#include <gtest/gtest.h>

#include <cstring>

#include "icc_writer.h"
#include "test_support.h"

namespace {

using icc::Sig;
using testing_support::Lab;
using testing_support::Rgb;
using testing_support::Transform;

constexpr DWORD kSentinelError = 0xC0FFEE;

std::vector<std::uint8_t> TypicalBytes(std::uint32_t seed = 21, const char* space = "CMYK") {
  std::mt19937 rng(seed);
  icc::Profile p = icc::TypicalProfile(rng, 5);
  p.colorSpace = icc::SigOf(space);
  return p.Build();
}

bool SameBytes(const COLOR& a, const COLOR& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

COLOR Filled(std::uint8_t byte) {
  COLOR c;
  std::memset(&c, byte, sizeof c);
  return c;
}

// --- CMTranslateColors -----------------------------------------------------------

TEST(TranslateColors, SupportedPairsAndWhatTheyWrite) {
  Transform t(TypicalBytes());
  ASSERT_TRUE(t.ok());
  const COLOR rgb = [] {
    COLOR c = Filled(0x5A);
    c.rgb = {0x8000, 0x4000, 0xC000};
    return c;
  }();
  // Lab and XYZ write three words, CMYK four; the rest stays as it was.
  for (const COLORTYPE to : {COLOR_Lab, COLOR_XYZ, COLOR_CMYK}) {
    COLOR out = Filled(0xA5);
    ASSERT_TRUE(CMTranslateColors(t.get(), const_cast<COLOR*>(&rgb), 1, COLOR_RGB, &out, to)) << to;
    const std::size_t written = to == COLOR_CMYK ? 8 : 6;
    const COLOR untouched = Filled(0xA5);
    EXPECT_EQ(
        std::memcmp(reinterpret_cast<const char*>(&out) + written,
                    reinterpret_cast<const char*>(&untouched) + written, sizeof out - written),
        0)
        << to;
  }
  // RGB -> CMYK is RGB -> Lab followed by Lab -> CMYK; CMYK input is read
  // like Lab input (its first three words).
  COLOR lab{}, viaLab{}, direct{}, viaCmyk{};
  ASSERT_TRUE(CMTranslateColors(t.get(), const_cast<COLOR*>(&rgb), 1, COLOR_RGB, &lab, COLOR_Lab));
  ASSERT_TRUE(CMTranslateColors(t.get(), &lab, 1, COLOR_Lab, &viaLab, COLOR_CMYK));
  ASSERT_TRUE(
      CMTranslateColors(t.get(), const_cast<COLOR*>(&rgb), 1, COLOR_RGB, &direct, COLOR_CMYK));
  ASSERT_TRUE(CMTranslateColors(t.get(), &lab, 1, COLOR_CMYK, &viaCmyk, COLOR_CMYK));
  EXPECT_TRUE(SameBytes(viaLab, direct));
  EXPECT_TRUE(SameBytes(viaCmyk, direct));
}

TEST(TranslateColors, ArraysInPlaceAndEmpty) {
  Transform t(TypicalBytes());
  ASSERT_TRUE(t.ok());
  std::mt19937 rng(2);
  // Half the colours repeat the one before with other low bytes, which
  // count for Lab input and not for RGB.
  for (const COLORTYPE from : {COLOR_RGB, COLOR_Lab}) {
    std::vector<COLOR> colors;
    for (int i = 0; i < 64; ++i) {
      COLOR c = Rgb(static_cast<WORD>(rng()), static_cast<WORD>(rng()), static_cast<WORD>(rng()));
      if (i > 0 && rng() % 2 == 0) {
        c = colors.back();
        c.rgb.green = static_cast<WORD>((c.rgb.green & 0xFF00) | (rng() & 0xFF));
      }
      colors.push_back(c);
    }
    std::vector<COLOR> separate(colors.size());
    ASSERT_TRUE(CMTranslateColors(t.get(), colors.data(), 64, from, separate.data(), COLOR_CMYK));
    for (std::size_t i = 0; i < colors.size(); ++i) {
      COLOR one{};
      ASSERT_TRUE(CMTranslateColors(t.get(), &colors[i], 1, from, &one, COLOR_CMYK));
      EXPECT_EQ(std::memcmp(&one, &separate[i], 8), 0) << from << " colour " << i;
    }
    ASSERT_TRUE(CMTranslateColors(t.get(), colors.data(), 64, from, colors.data(), COLOR_CMYK));
    for (std::size_t i = 0; i < colors.size(); ++i)
      EXPECT_EQ(std::memcmp(&colors[i], &separate[i], 8), 0) << from << " colour " << i;
  }
  EXPECT_TRUE(CMTranslateColors(t.get(), nullptr, 0, COLOR_RGB, nullptr, COLOR_CMYK));
}

TEST(TranslateColors, UnsupportedPairsFailWith87AndWriteNothing) {
  Transform cmyk(TypicalBytes()), rgbProfile(TypicalBytes(21, "RGB ")),
      csType2(TypicalBytes(), 0, 2);
  ASSERT_TRUE(cmyk.ok() && rgbProfile.ok() && csType2.ok());
  struct Case {
    const Transform* t;
    COLORTYPE in, out;
  } cases[] = {{&cmyk, COLOR_XYZ, COLOR_CMYK},       {&cmyk, COLOR_CMYK, COLOR_RGB},
               {&cmyk, COLOR_Lab, COLOR_Lab},        {&cmyk, COLOR_RGB, COLOR_RGB},
               {&cmyk, COLOR_GRAY, COLOR_CMYK},      {&rgbProfile, COLOR_RGB, COLOR_RGB},
               {&rgbProfile, COLOR_RGB, COLOR_CMYK}, {&rgbProfile, COLOR_Lab, COLOR_CMYK},
               {&csType2, COLOR_RGB, COLOR_Lab},     {&csType2, COLOR_RGB, COLOR_CMYK}};
  for (const Case& c : cases) {
    COLOR in = Rgb(0x1000, 0x2000, 0x3000), out = Filled(0x77);
    SetLastError(0);
    EXPECT_FALSE(CMTranslateColors(c.t->get(), &in, 1, c.in, &out, c.out)) << c.in << "->" << c.out;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_TRUE(SameBytes(out, Filled(0x77)));
  }
  // Those that need no CMYK profile or no RGB colour-space type still work.
  COLOR in = Rgb(0x1000, 0x2000, 0x3000), out{};
  EXPECT_TRUE(CMTranslateColors(rgbProfile.get(), &in, 1, COLOR_RGB, &out, COLOR_Lab));
  EXPECT_TRUE(CMTranslateColors(csType2.get(), &in, 1, COLOR_Lab, &out, COLOR_CMYK));
  Transform csType1(TypicalBytes(), 0, 1);
  EXPECT_TRUE(CMTranslateColors(csType1.get(), &in, 1, COLOR_RGB, &out, COLOR_CMYK));
}

TEST(TranslateColors, IntentChoosesTheDeviceTable) {
  // Each B2A table is constant: B2A<i> gives 1000 x (i + 1) in every output.
  icc::Profile p;
  for (int i = 0; i < 3; ++i) {
    icc::Lut lut = icc::IdentityLut16(2, 2, 2);
    for (auto& v : lut.grid) v = static_cast<WORD>(1000 * (i + 1));
    p.Add(icc::SigOf(i == 0 ? "B2A0" : i == 1 ? "B2A1" : "B2A2"), lut);
  }
  const auto bytes = p.Build();
  const std::pair<LONG, WORD> cases[] = {{LCS_GM_BUSINESS, 3000},
                                         {LCS_GM_GRAPHICS, 2000},
                                         {LCS_GM_IMAGES, 1000},
                                         {LCS_GM_ABS_COLORIMETRIC, 1000},
                                         {0, 1000},
                                         {-1, 1000}};
  for (const auto& [intent, expected] : cases) {
    Transform t(bytes, intent);
    ASSERT_TRUE(t.ok());
    COLOR in = Rgb(0x4000, 0x8000, 0xC000), out{};
    ASSERT_TRUE(CMTranslateColors(t.get(), &in, 1, COLOR_RGB, &out, COLOR_CMYK));
    EXPECT_EQ(out.cmyk.black, expected) << intent;
    COLORREF packed = 0;
    ASSERT_TRUE(CMTranslateRGB(t.get(), 0x123456, &packed, 0));
    EXPECT_EQ(packed >> 24, expected >> 8u) << intent;
  }
}

// --- CMTranslateRGB ------------------------------------------------------------------

TEST(TranslateRgb, PacksTheHighBytesOfTheFourOutputs) {
  Transform t(TypicalBytes());
  ASSERT_TRUE(t.ok());
  std::mt19937 rng(8);
  for (int i = 0; i < 100; ++i) {
    const COLORREF ref = rng() & 0xFFFFFF;
    COLORREF packed = 0xDEADBEEF;
    ASSERT_TRUE(CMTranslateRGB(t.get(), ref, &packed, 0));
    COLOR in = Rgb(static_cast<WORD>((ref & 0xFF) << 8), static_cast<WORD>(ref & 0xFF00),
                   static_cast<WORD>((ref >> 8) & 0xFF00)),
          out{};
    ASSERT_TRUE(CMTranslateColors(t.get(), &in, 1, COLOR_RGB, &out, COLOR_CMYK));
    EXPECT_EQ(packed,
              static_cast<COLORREF>(out.cmyk.cyan >> 8 | (out.cmyk.magenta >> 8) << 8 |
                                    (out.cmyk.yellow >> 8) << 16 | (out.cmyk.black >> 8) << 24));
  }
}

TEST(TranslateRgb, RefusalsAndTheRgbProfile) {
  Transform t(TypicalBytes()), csType2(TypicalBytes(), 0, 2), rgbProfile(TypicalBytes(21, "RGB "));
  COLORREF result = 0x11223344;
  SetLastError(0);
  EXPECT_FALSE(CMTranslateRGB(t.get(), 0x808080, &result, CMS_BACKWARD));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  SetLastError(kSentinelError);
  EXPECT_FALSE(CMTranslateRGB(csType2.get(), 0x808080, &result, 0));
  EXPECT_EQ(GetLastError(), kSentinelError);
  EXPECT_TRUE(CMTranslateRGB(rgbProfile.get(), 0x808080, &result, 0));
  EXPECT_EQ(result, 0x11223344u);
  // Flags other than CMS_BACKWARD are not looked at.
  EXPECT_TRUE(CMTranslateRGB(t.get(), 0x808080, &result, 2));
  EXPECT_NE(result, 0x11223344u);
  EXPECT_FALSE(CMTranslateRGB(t.get(), 0x808080, nullptr, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

// --- Bitmaps --------------------------------------------------------------------------

class Bitmaps : public ::testing::Test {
 public:
  void SetUp() override { ASSERT_TRUE(t_.ok()); }

  // The CMYK bytes of one RGB pixel through the single-colour export.
  std::array<std::uint8_t, 4> Expected(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    COLORREF packed = 0;
    EXPECT_TRUE(CMTranslateRGB(t_.get(), r | g << 8 | b << 16, &packed, 0));
    return {static_cast<std::uint8_t>(packed), static_cast<std::uint8_t>(packed >> 8),
            static_cast<std::uint8_t>(packed >> 16), static_cast<std::uint8_t>(packed >> 24)};
  }

  Transform t_{TypicalBytes()};
};

std::vector<std::uint8_t> RandomBytes(std::size_t n, std::uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<std::uint8_t> v(n);
  for (auto& b : v) b = static_cast<std::uint8_t>(rng());
  return v;
}

TEST_F(Bitmaps, EveryInputFormatTakesByteZeroAsRed) {
  const std::uint32_t width = 7, height = 3;
  for (const BMFORMAT format : {BM_RGBTRIPLETS, BM_BGRTRIPLETS, BM_xRGBQUADS, BM_xBGRQUADS}) {
    const unsigned px = format == BM_RGBTRIPLETS || format == BM_BGRTRIPLETS ? 3 : 4;
    const std::size_t pitch = px == 3 ? (width * 3 + 3) / 4 * 4 : width * 4;
    const auto source = RandomBytes(pitch * height, format);
    for (const BMFORMAT out : {BM_CMYKQUADS, BM_KYMCQUADS}) {
      std::vector<std::uint8_t> dest(width * height * 4, 0xEE);
      ASSERT_TRUE(CMTranslateRGBs(t_.get(), const_cast<std::uint8_t*>(source.data()), format, width,
                                  height, 0, dest.data(), out, 0));
      for (std::uint32_t y = 0; y < height; ++y)
        for (std::uint32_t x = 0; x < width; ++x) {
          const std::uint8_t* s = &source[y * pitch + x * px];
          const auto e = Expected(s[0], s[1], s[2]);
          EXPECT_EQ(std::memcmp(&dest[(y * width + x) * 4], e.data(), 4), 0)
              << format << " " << out << " " << x << "," << y;
        }
    }
  }
}

TEST_F(Bitmaps, UnsupportedFormatsFailWithoutErrorCode) {
  std::uint8_t source[16] = {}, dest[16] = {};
  SetLastError(kSentinelError);
  EXPECT_FALSE(CMTranslateRGBs(t_.get(), source, BM_RGBTRIPLETS, 1, 1, 0, dest, BM_RGBTRIPLETS, 0));
  EXPECT_FALSE(CMTranslateRGBs(t_.get(), source, BM_x555RGB, 1, 1, 0, dest, BM_CMYKQUADS, 0));
  EXPECT_FALSE(CMTranslateRGBs(t_.get(), source, BM_16b_RGB, 1, 1, 0, dest, BM_CMYKQUADS, 0));
  EXPECT_FALSE(CMTranslateRGBs(t_.get(), source, BM_CMYKQUADS, 1, 1, 0, dest, BM_CMYKQUADS, 0));
  EXPECT_EQ(GetLastError(), kSentinelError);
}

// Translates a bitmap with the given strides and checks every pixel at its
// place and every byte outside the pixels untouched.
void CheckStrides(Bitmaps& fixture, const Transform& t, BMFORMAT format, std::uint32_t width,
                  std::uint32_t height, DWORD inStride, DWORD outStride, std::size_t inPitch,
                  std::size_t outPitch) {
  const unsigned px = format == BM_RGBTRIPLETS ? 3 : 4;
  const auto source = RandomBytes(inPitch * height, width * 31 + inStride);
  std::vector<std::uint8_t> dest(outPitch * height + 8, 0xEE);
  ASSERT_TRUE(CMTranslateRGBsExt(t.get(), const_cast<std::uint8_t*>(source.data()), format, width,
                                 height, inStride, dest.data(), BM_CMYKQUADS, outStride, nullptr,
                                 0));
  for (std::size_t i = 0; i < dest.size(); ++i) {
    const std::size_t y = i / outPitch, x = (i % outPitch) / 4;
    if (y < height && x < width) {
      const std::uint8_t* s = &source[y * inPitch + x * px];
      ASSERT_EQ(dest[i], fixture.Expected(s[0], s[1], s[2])[i % 4])
          << "width " << width << " strides " << inStride << "/" << outStride << " byte " << i;
    } else {
      ASSERT_EQ(dest[i], 0xEE) << "gap byte " << i << " written";
    }
  }
}

TEST_F(Bitmaps, StridesAreDistancesBetweenRowStarts) {
  // Width 5, stride 0: rows of 15 bytes padded to 16. Input stride 16 is
  // the same; output stride 20 is exactly a row, so no gap.
  CheckStrides(*this, t_, BM_RGBTRIPLETS, 5, 4, 0, 0, 16, 20);
  CheckStrides(*this, t_, BM_RGBTRIPLETS, 5, 4, 16, 20, 16, 20);
  // Width 3 with the usual DWORD-aligned stride of 12.
  CheckStrides(*this, t_, BM_RGBTRIPLETS, 3, 4, 12, 0, 12, 12);
  CheckStrides(*this, t_, BM_RGBTRIPLETS, 3, 4, 0, 0, 12, 12);
  // Wider strides leave gaps in both buffers, for both pixel sizes.
  for (std::uint32_t width = 1; width <= 8; ++width) {
    CheckStrides(*this, t_, BM_RGBTRIPLETS, width, 3, 0, 0, (width * 3 + 3) / 4 * 4, width * 4);
    CheckStrides(*this, t_, BM_RGBTRIPLETS, width, 3, width * 3 + 5, width * 4 + 12, width * 3 + 5,
                 width * 4 + 12);
    CheckStrides(*this, t_, BM_xRGBQUADS, width, 3, 0, 0, width * 4, width * 4);
    CheckStrides(*this, t_, BM_xRGBQUADS, width, 3, width * 4 + 4, width * 4 + 8, width * 4 + 4,
                 width * 4 + 8);
  }
}

TEST_F(Bitmaps, StridesShorterThanARowAreRefused) {
  std::vector<std::uint8_t> source(64), dest(64, 0xEE);
  for (const auto& [format, inStride, outStride] :
       {std::tuple{BM_RGBTRIPLETS, 14u, 0u}, std::tuple{BM_xBGRQUADS, 19u, 0u},
        std::tuple{BM_RGBTRIPLETS, 0u, 19u}}) {
    SetLastError(0);
    EXPECT_FALSE(CMTranslateRGBsExt(t_.get(), source.data(), format, 5, 2, inStride, dest.data(),
                                    BM_CMYKQUADS, outStride, nullptr, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(dest, std::vector<std::uint8_t>(64, 0xEE));
  }
  // CMTranslateRGBs passes its stride for the input only: 15 is a row of 5
  // triplets, and the output rows stay 20 bytes apart.
  EXPECT_TRUE(CMTranslateRGBs(t_.get(), source.data(), BM_RGBTRIPLETS, 5, 2, 15, dest.data(),
                              BM_CMYKQUADS, 0));
  const auto e = Expected(source[15], source[16], source[17]);
  EXPECT_EQ(std::memcmp(&dest[20], e.data(), 4), 0);
}

struct Progress {
  std::vector<std::pair<ULONG, ULONG>> calls;
  ULONG stopAfter = 0xFFFFFFFF;
};

BOOL OnRow(ULONG total, ULONG done, HUEBRIDGE_CALLBACK_DATA data) {
  auto* progress = reinterpret_cast<Progress*>(data);
  progress->calls.emplace_back(total, done);
  return done < progress->stopAfter;
}

TEST_F(Bitmaps, CallbackAfterEveryRowCanStopTheWork) {
  const auto source = RandomBytes(4 * 4 * 4, 5);
  std::vector<std::uint8_t> dest(4 * 4 * 4, 0xEE);
  Progress progress;
  progress.stopAfter = 1;
  EXPECT_TRUE(CMTranslateRGBsExt(t_.get(), const_cast<std::uint8_t*>(source.data()), BM_xRGBQUADS,
                                 4, 4, 0, dest.data(), BM_CMYKQUADS, 0, OnRow,
                                 reinterpret_cast<HUEBRIDGE_CALLBACK_DATA>(&progress)));
  EXPECT_EQ(progress.calls, (std::vector<std::pair<ULONG, ULONG>>{{4, 1}}));
  EXPECT_NE(std::vector<std::uint8_t>(dest.begin(), dest.begin() + 16),
            std::vector<std::uint8_t>(16, 0xEE));
  EXPECT_EQ(std::vector<std::uint8_t>(dest.begin() + 16, dest.end()),
            std::vector<std::uint8_t>(48, 0xEE));

  // Width 0: nothing to translate, but every row is still reported.
  Progress empty;
  EXPECT_TRUE(CMTranslateRGBsExt(t_.get(), nullptr, BM_RGBTRIPLETS, 0, 3, 0, nullptr, BM_CMYKQUADS,
                                 0, OnRow, reinterpret_cast<HUEBRIDGE_CALLBACK_DATA>(&empty)));
  EXPECT_EQ(empty.calls, (std::vector<std::pair<ULONG, ULONG>>{{3, 1}, {3, 2}, {3, 3}}));
}

// --- Gamut checks ------------------------------------------------------------------------

TEST(CheckColors, LabOnlyAndOneByteEach) {
  Transform t(TypicalBytes());
  ASSERT_TRUE(t.ok());
  COLOR colors[3] = {Lab(0, 0x8000, 0x8000), Lab(0xFFFF, 0x8000, 0x8000),
                     Lab(0x8000, 0x2000, 0xE000)};
  BYTE result[4] = {0xEE, 0xEE, 0xEE, 0xEE};
  EXPECT_TRUE(CMCheckColors(t.get(), colors, 3, COLOR_Lab, result));
  EXPECT_EQ(result[3], 0xEE);
  SetLastError(kSentinelError);
  EXPECT_FALSE(CMCheckColors(t.get(), colors, 3, COLOR_RGB, result));
  EXPECT_EQ(GetLastError(), kSentinelError);
  EXPECT_TRUE(CMCheckColors(t.get(), nullptr, 0, COLOR_Lab, nullptr));
  // RGB gamut checks are not offered.
  EXPECT_FALSE(CMCheckColorsInGamut(t.get(), nullptr, nullptr, 0));
  EXPECT_FALSE(CMCheckRGBs(t.get(), nullptr, BM_RGBTRIPLETS, 1, 1, 0, result, nullptr, 0));
  EXPECT_EQ(GetLastError(), kSentinelError);
}

// --- Refusals --------------------------------------------------------------------------

TEST(Refusals, InvalidHandlesAreRefusedByEveryExport) {
  COLOR c{};
  BYTE b[4];
  COLORREF ref;
  std::uint8_t px[16] = {};
  for (const std::uintptr_t value :
       {std::uintptr_t{0}, std::uintptr_t{1}, std::uintptr_t{13}, std::uintptr_t{255}}) {
    auto* h = reinterpret_cast<HCMTRANSFORM>(value);
    const auto expectRefused = [&](BOOL result, const char* what) {
      EXPECT_FALSE(result) << what << " " << value;
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE)) << what << " " << value;
      SetLastError(0);
    };
    SetLastError(0);
    expectRefused(CMDeleteTransform(h), "CMDeleteTransform");
    expectRefused(CMTranslateColors(h, &c, 1, COLOR_RGB, &c, COLOR_Lab), "CMTranslateColors");
    expectRefused(CMTranslateRGB(h, 0, &ref, 0), "CMTranslateRGB");
    expectRefused(CMTranslateRGBs(h, px, BM_RGBTRIPLETS, 1, 1, 0, px, BM_CMYKQUADS, 0),
                  "CMTranslateRGBs");
    expectRefused(
        CMTranslateRGBsExt(h, px, BM_RGBTRIPLETS, 1, 1, 0, px, BM_CMYKQUADS, 0, nullptr, 0),
        "CMTranslateRGBsExt");
    expectRefused(CMCheckColors(h, &c, 1, COLOR_Lab, b), "CMCheckColors");
    expectRefused(CMCheckColorsInGamut(h, nullptr, b, 1), "CMCheckColorsInGamut");
    expectRefused(CMCheckRGBs(h, px, BM_RGBTRIPLETS, 1, 1, 0, b, nullptr, 0), "CMCheckRGBs");
  }
}

TEST(Refusals, NullArraysWithACountAreRefused) {
  Transform t(TypicalBytes());
  ASSERT_TRUE(t.ok());
  COLOR c{};
  BYTE b[1];
  std::uint8_t px[16] = {};
  const auto expect87 = [](BOOL result) {
    EXPECT_FALSE(result);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  };
  expect87(CMTranslateColors(t.get(), nullptr, 1, COLOR_RGB, &c, COLOR_CMYK));
  expect87(CMTranslateColors(t.get(), &c, 1, COLOR_RGB, nullptr, COLOR_Lab));
  expect87(CMCheckColors(t.get(), nullptr, 1, COLOR_Lab, b));
  expect87(CMCheckColors(t.get(), &c, 1, COLOR_Lab, nullptr));
  expect87(CMTranslateRGBs(t.get(), nullptr, BM_RGBTRIPLETS, 1, 1, 0, px, BM_CMYKQUADS, 0));
  expect87(CMTranslateRGBs(t.get(), px, BM_RGBTRIPLETS, 1, 1, 0, nullptr, BM_CMYKQUADS, 0));
}

// Every shape of device table the evaluation cannot run on.
std::vector<std::pair<const char*, icc::Lut>> UnusableDeviceTables() {
  std::vector<std::pair<const char*, icc::Lut>> cases;
  icc::Lut lut = icc::IdentityLut16(3, 16, 16, 3);
  cases.emplace_back("3 outputs", lut);
  lut = icc::IdentityLut16(1, 16, 16);
  cases.emplace_back("1 grid point", lut);
  lut = icc::IdentityLut8(1);
  cases.emplace_back("lut8 with 1 grid point", lut);
  lut = icc::IdentityLut16(3, 1, 16);
  cases.emplace_back("1 input entry", lut);
  lut = icc::IdentityLut16(3, 0, 16);
  cases.emplace_back("0 input entries", lut);
  lut = icc::IdentityLut16(3, 16, 16);
  lut.inputChannels = 4;
  lut.inputTables.resize(4 * 16);
  lut.grid.assign(lut.GridValues(), 0);
  cases.emplace_back("4 inputs", lut);
  lut = icc::IdentityLut8(3);
  lut.inputChannels = 2;
  lut.inputTables.resize(2 * 256);
  lut.grid.assign(lut.GridValues(), 0);
  cases.emplace_back("lut8 with 2 inputs", lut);
  return cases;
}

TEST(Refusals, UnusableOrMissingDeviceTablesFailWith13AndWriteNothing) {
  auto cases = UnusableDeviceTables();
  cases.emplace_back("missing", icc::Lut{});
  for (const auto& [what, lut] : cases) {
    icc::Profile p;
    if (std::string(what) != "missing") p.Add(Sig("B2A0"), lut);
    Transform t(p.Build());
    ASSERT_TRUE(t.ok()) << what;
    COLOR in = Rgb(0x8000, 0x8000, 0x8000), out = Filled(0x33);
    SetLastError(0);
    EXPECT_FALSE(CMTranslateColors(t.get(), &in, 1, COLOR_RGB, &out, COLOR_CMYK)) << what;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA)) << what;
    EXPECT_FALSE(CMTranslateColors(t.get(), &in, 1, COLOR_Lab, &out, COLOR_CMYK)) << what;
    EXPECT_TRUE(SameBytes(out, Filled(0x33))) << what;
    COLORREF ref = 0x5555;
    EXPECT_FALSE(CMTranslateRGB(t.get(), 0x808080, &ref, 0)) << what;
    EXPECT_EQ(ref, 0x5555u);
    std::uint8_t px[12] = {}, dest[16];
    std::memset(dest, 0x33, sizeof dest);
    SetLastError(0);
    EXPECT_FALSE(CMTranslateRGBs(t.get(), px, BM_RGBTRIPLETS, 2, 2, 0, dest, BM_CMYKQUADS, 0))
        << what;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA)) << what;
    EXPECT_EQ(dest[0], 0x33);
    // Routes that do not evaluate the table still work.
    EXPECT_TRUE(CMTranslateColors(t.get(), &in, 1, COLOR_RGB, &out, COLOR_Lab)) << what;
    EXPECT_TRUE(CMTranslateColors(t.get(), &in, 0, COLOR_RGB, &out, COLOR_CMYK)) << what;
  }
  // On an 'RGB ' profile CMTranslateRGB never gets to the table.
  icc::Profile rgb;
  rgb.colorSpace = Sig("RGB ");
  Transform t(rgb.Build());
  COLORREF ref = 0x5555;
  EXPECT_TRUE(CMTranslateRGB(t.get(), 0x808080, &ref, 0));
  EXPECT_EQ(ref, 0x5555u);
}

TEST(Refusals, UnusableOrMissingGamutTablesFailWith13) {
  std::vector<std::pair<const char*, icc::Lut>> cases;
  icc::Lut lut = icc::IdentityLut16(3, 16, 16, 0);
  cases.emplace_back("0 outputs", lut);
  cases.emplace_back("1 grid point", icc::IdentityLut8(1, 1));
  cases.emplace_back("1 input entry", icc::IdentityLut16(3, 1, 16, 1));
  lut = icc::IdentityLut8(3, 1);
  lut.inputChannels = 1;
  lut.inputTables.resize(256);
  lut.grid.assign(lut.GridValues(), 0);
  cases.emplace_back("1 input", lut);
  for (const auto& [what, gamut] : cases) {
    icc::Profile p;
    p.Add(Sig("gamt"), gamut);
    Transform t(p.Build());
    ASSERT_TRUE(t.ok()) << what;
    COLOR c = Lab(0x8000, 0x8000, 0x8000);
    BYTE result = 0x44;
    SetLastError(0);
    EXPECT_FALSE(CMCheckColors(t.get(), &c, 1, COLOR_Lab, &result)) << what;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA)) << what;
    EXPECT_EQ(result, 0x44);
  }
  Transform none(icc::Profile{}.Build());
  COLOR c = Lab(0x8000, 0x8000, 0x8000);
  BYTE result = 0x44;
  EXPECT_FALSE(CMCheckColors(none.get(), &c, 1, COLOR_Lab, &result));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
}

}  // namespace

// Creating transforms: finding the file, the header check, the tag table
// walk and the decoding of lut8 and lut16 tables, well-formed and not.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "cmm_transform.h"
#include "icc_writer.h"
#include "profile_reader.h"
#include "test_support.h"

namespace {

using icc::Sig;
using testing_support::Transform;

const huebridge::CMM_TRANSFORM& Record(const Transform& t) {
  return *static_cast<const huebridge::CMM_TRANSFORM*>(t.get());
}

icc::Profile OneTableProfile(const icc::Lut& lut, std::uint32_t spare = 0) {
  icc::Profile p;
  p.Add(Sig("B2A0"), lut, spare);
  return p;
}

// --- Header -----------------------------------------------------------------

TEST(ProfileHeader, OnlyPrinterProfilesInCmykOrRgbAreAccepted) {
  const icc::Lut lut = icc::IdentityLut16(2, 2, 2);
  struct Case {
    const char* deviceClass;
    const char* space;
    bool accepted;
  } cases[] = {{"prtr", "CMYK", true},  {"prtr", "RGB ", true},  {"mntr", "CMYK", false},
               {"scnr", "RGB ", false}, {"prtr", "GRAY", false}, {"prtr", "Lab ", false}};
  for (const Case& c : cases) {
    icc::Profile p = OneTableProfile(lut);
    p.deviceClass = icc::SigOf(c.deviceClass);
    p.colorSpace = icc::SigOf(c.space);
    Transform t(p.Build());
    if (c.accepted) {
      EXPECT_TRUE(t.ok()) << c.deviceClass << " " << c.space << ": " << t.code();
    } else {
      EXPECT_EQ(t.code(), ERROR_INVALID_DATA) << c.deviceClass << " " << c.space;
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
    }
  }
}

TEST(ProfileHeader, FilesShorterThanHeaderAndTagCountAreRefused) {
  std::vector<std::uint8_t> bytes = icc::Profile{}.Build();
  ASSERT_EQ(bytes.size(), 132u);
  EXPECT_TRUE(Transform(bytes).ok());
  bytes.pop_back();
  EXPECT_EQ(Transform(bytes).code(), ERROR_INVALID_DATA);
  EXPECT_EQ(Transform(std::vector<std::uint8_t>{}).code(), ERROR_INVALID_DATA);
}

// --- Tag table ---------------------------------------------------------------

TEST(TagTable, NoTagsLeavesEverySlotEmpty) {
  Transform t(icc::Profile{}.Build());
  ASSERT_TRUE(t.ok());
  for (const auto& slot : Record(t).b2a) EXPECT_EQ(slot.inputTables, nullptr);
  EXPECT_EQ(Record(t).gamutLut.inputTables, nullptr);
  EXPECT_EQ(Record(t).currentLut, &Record(t).b2a[0]);
}

TEST(TagTable, MissingDeviceTablesStayEmpty) {
  icc::Profile p;
  p.Add(Sig("B2A1"), icc::IdentityLut16(3, 2, 2));
  Transform t(p.Build());
  ASSERT_TRUE(t.ok());
  EXPECT_EQ(Record(t).b2a[0].inputTables, nullptr);
  EXPECT_NE(Record(t).b2a[1].inputTables, nullptr);
  EXPECT_EQ(Record(t).b2a[2].inputTables, nullptr);
}

TEST(TagTable, TableThatDoesNotFitInTheFileIsRefused) {
  icc::Profile p = OneTableProfile(icc::IdentityLut16(2, 2, 2));
  p.tagCount = 1000;
  EXPECT_EQ(Transform(p.Build()).code(), ERROR_INVALID_DATA);
  p.tagCount = 0xFFFFFFFFu;  // 132 + 12 x count overflows 32 bits
  EXPECT_EQ(Transform(p.Build()).code(), ERROR_INVALID_DATA);
}

TEST(TagTable, TagOfInterestOutsideTheFileIsRefused) {
  const icc::Lut lut = icc::IdentityLut16(2, 2, 2);
  for (const std::uint32_t sig : {Sig("B2A0"), Sig("B2A1"), Sig("B2A2"), Sig("gamt")}) {
    icc::Profile p;
    p.Add(sig, sig == Sig("gamt") ? icc::IdentityLut16(2, 2, 2, 1) : lut);
    const std::uint32_t size = static_cast<std::uint32_t>(p.tags[0].data.size());
    const std::uint32_t fileSize = static_cast<std::uint32_t>(p.Build().size());
    p.tags[0].size = size + 1;  // one byte past the end
    EXPECT_EQ(Transform(p.Build()).code(), ERROR_INVALID_DATA);
    p.tags[0].size = size;
    p.tags[0].offset = fileSize;
    EXPECT_EQ(Transform(p.Build()).code(), ERROR_INVALID_DATA);
    p.tags[0].offset = 0xFFFFFFF0u;  // offset + size wraps in 32 bits
    p.tags[0].size = 0x20;
    EXPECT_EQ(Transform(p.Build()).code(), ERROR_INVALID_DATA);
  }
}

TEST(TagTable, TagsNotOfInterestAreNotChecked) {
  icc::Profile p = OneTableProfile(icc::IdentityLut16(2, 2, 2));
  p.AddRaw(Sig("desc"), {1, 2, 3, 4});
  p.tags[1].offset = 0xFFFFFFF0u;
  p.tags[1].size = 0x1000;
  EXPECT_TRUE(Transform(p.Build()).ok());
}

TEST(TagTable, UnknownTypeOrTooSmallToNameOneLeavesTheSlotEmpty) {
  icc::Profile p;
  p.AddRaw(Sig("B2A0"), {'m', 'B', 'A', ' ', 0, 0, 0, 0});
  p.AddRaw(Sig("B2A1"), {'m', 'f'});
  p.Add(Sig("B2A2"), icc::IdentityLut16(2, 2, 2));
  Transform t(p.Build());
  ASSERT_TRUE(t.ok()) << t.code();
  EXPECT_EQ(Record(t).b2a[0].inputTables, nullptr);
  EXPECT_EQ(Record(t).b2a[1].inputTables, nullptr);
  EXPECT_NE(Record(t).b2a[2].inputTables, nullptr);
}

TEST(TagTable, SharedDataAndSpareBytesAreAccepted) {
  // Real profiles point several tags at one block and state sizes a few
  // bytes larger than their tables need.
  std::mt19937 rng(5);
  icc::Lut lut = icc::IdentityLut8(5);
  icc::FillRandomGrid(lut, rng);
  icc::Profile p;
  p.Add(Sig("B2A0"), lut, 8);
  p.tags.push_back({Sig("B2A1"), {}, {}, {}, 0});
  p.tags.push_back({Sig("B2A2"), {}, {}, {}, 0});
  Transform t(p.Build());
  ASSERT_TRUE(t.ok()) << t.code();
  for (const auto& slot : Record(t).b2a) {
    ASSERT_NE(slot.inputTables, nullptr);
    EXPECT_EQ(std::memcmp(slot.clut, Record(t).b2a[0].clut, lut.grid.size()), 0);
  }
}

TEST(TagTable, RepeatedTagReplacesTheEarlierOne) {
  icc::Profile p;
  p.Add(Sig("B2A0"), icc::IdentityLut16(2, 2, 2));
  p.Add(Sig("B2A0"), icc::IdentityLut8(3));
  Transform t(p.Build());
  ASSERT_TRUE(t.ok());
  EXPECT_EQ(Record(t).b2a[0].kind, huebridge::kLut8);
  EXPECT_EQ(Record(t).b2a[0].gridPoints, 3);
}

// --- Table decoding ------------------------------------------------------------

TEST(LutDecoding, Lut16ValuesAreDecodedInOrder) {
  std::mt19937 rng(1);
  icc::Lut lut = icc::IdentityLut16(4, 1024, 3, 5);
  icc::FillRandomGrid(lut, rng);
  icc::RandomizeInputTables(lut, rng);
  icc::RandomizeOutputTables(lut, rng);
  Transform t(OneTableProfile(lut, 2).Build());
  ASSERT_TRUE(t.ok());
  const huebridge::CMM_LUT& slot = Record(t).b2a[0];
  EXPECT_EQ(slot.kind, huebridge::kLut16);
  EXPECT_EQ(slot.inputChannels, 3);
  EXPECT_EQ(slot.outputChannels, 5);
  EXPECT_EQ(slot.gridPoints, 4);
  EXPECT_EQ(slot.inputEntries, 1024);
  EXPECT_EQ(slot.outputEntries, 3);
  const auto* in = static_cast<const std::uint16_t*>(slot.inputTables);
  const auto* grid = static_cast<const std::uint16_t*>(slot.clut);
  const auto* out = static_cast<const std::uint16_t*>(slot.outputTables);
  EXPECT_TRUE(std::equal(lut.inputTables.begin(), lut.inputTables.end(), in));
  EXPECT_TRUE(std::equal(lut.grid.begin(), lut.grid.end(), grid));
  EXPECT_TRUE(std::equal(lut.outputTables.begin(), lut.outputTables.end(), out));
}

TEST(LutDecoding, Lut8ValuesAndIdentityInputFlag) {
  std::mt19937 rng(2);
  icc::Lut lut = icc::IdentityLut8(6);
  icc::FillRandomGrid(lut, rng);
  {
    Transform t(OneTableProfile(lut).Build());
    ASSERT_TRUE(t.ok());
    const huebridge::CMM_LUT& slot = Record(t).b2a[0];
    EXPECT_EQ(slot.kind, huebridge::kLut8);
    EXPECT_EQ(slot.identityInput, 1);
    const auto* grid = static_cast<const std::uint8_t*>(slot.clut);
    EXPECT_TRUE(std::equal(lut.grid.begin(), lut.grid.end(), grid));
  }
  // One byte of the third table differs from its position.
  lut.inputTables[2 * 256 + 200] = 201;
  Transform t(OneTableProfile(lut).Build());
  ASSERT_TRUE(t.ok());
  EXPECT_EQ(Record(t).b2a[0].identityInput, 0);
}

TEST(LutDecoding, TwoEntryOutputTablesDecode) {
  Transform t(OneTableProfile(icc::IdentityLut16(2, 2, 2)).Build());
  ASSERT_TRUE(t.ok());
  EXPECT_EQ(Record(t).b2a[0].outputEntries, 2);
  EXPECT_NE(Record(t).b2a[0].outputTables, nullptr);
}

TEST(LutDecoding, TablesShorterThanTheirShapeAreRefused) {
  for (const bool sixteen : {false, true}) {
    const icc::Lut lut = sixteen ? icc::IdentityLut16(3, 256, 256) : icc::IdentityLut8(3);
    icc::Profile exact = OneTableProfile(lut);
    EXPECT_TRUE(Transform(exact.Build()).ok());
    icc::Profile shorter = OneTableProfile(lut);
    shorter.tags[0].data.pop_back();  // the stated size is one byte short
    EXPECT_EQ(Transform(shorter.Build()).code(), ERROR_INVALID_DATA) << sixteen;
    icc::Profile headerOnly = OneTableProfile(lut);
    headerOnly.tags[0].data.resize(sixteen ? 51 : 47);
    EXPECT_EQ(Transform(headerOnly.Build()).code(), ERROR_INVALID_DATA) << sixteen;
  }
  // A grid of 255 points in 255 dimensions: far beyond 64 bits unchecked.
  icc::Lut huge = icc::IdentityLut16(2, 2, 2);
  auto data = huge.Encode();
  data[8] = 255;
  data[10] = 255;
  icc::Profile p;
  p.AddRaw(Sig("gamt"), data);
  EXPECT_EQ(Transform(p.Build()).code(), ERROR_INVALID_DATA);
}

// --- Finding the file -----------------------------------------------------------

TEST(ProfileLookup, NameHoldingASeparatorIsOpenedUnchanged) {
  namespace fs = std::filesystem;
  const std::vector<std::uint8_t> bytes = icc::Profile{}.Build();
  const fs::path sub = fs::path(testing_support::ScratchDir()) / "sub";
  fs::create_directories(sub);
  icc::WriteFile((sub / "relative.icc").string(), bytes);
  const fs::path previous = fs::current_path();
  fs::current_path(testing_support::ScratchDir());
  LOGCOLORSPACEA cs = testing_support::ColorSpace();
  HCMTRANSFORM h = CMCreateTransformA(&cs, const_cast<char*>("sub\\relative.icc"), nullptr);
#ifndef _WIN32
  // On Linux the backslash is no separator of the file system, but it still
  // marks a path: no directory is put in front, and no such file exists.
  EXPECT_EQ(testing_support::Code(h), ERROR_OPEN_FAILED);
  h = CMCreateTransformA(&cs, const_cast<char*>("sub/relative.icc"), nullptr);
#endif
  fs::current_path(previous);
  ASSERT_GE(testing_support::Code(h), 256u);
  EXPECT_TRUE(CMDeleteTransform(h));
}

TEST(ProfileLookup, BareNameIsLookedUpInTheColorDirectory) {
  const std::vector<std::uint8_t> bytes = icc::Profile{}.Build();
  char path[MAX_PATH];
  ASSERT_EQ(huebridge::ComposeProfilePath("huebridge-lookup.icc", path), 0u);
#ifdef _WIN32
  // Wine's mscms reports C:\windows\system32\spool\drivers\color.
  const std::string expectedDir = [] {
    char dir[MAX_PATH];
    DWORD size = MAX_PATH;
    HMODULE mscms = LoadLibraryA("mscms.dll");
    auto get = reinterpret_cast<BOOL(WINAPI*)(const char*, char*, DWORD*)>(
        reinterpret_cast<void (*)()>(GetProcAddress(mscms, "GetColorDirectoryA")));
    EXPECT_TRUE(get != nullptr && get(nullptr, dir, &size));
    FreeLibrary(mscms);
    return std::string(dir) + "\\";
  }();
  EXPECT_EQ(std::string(path), expectedDir + "huebridge-lookup.icc");
  icc::WriteFile(path, bytes);
  EXPECT_TRUE(Transform("huebridge-lookup.icc").ok());
  std::filesystem::remove(path);
#else
  unsetenv("HUEBRIDGE_COLOR_DIR");
  EXPECT_STREQ(path, "/usr/share/color/icc/huebridge-lookup.icc");
  icc::WriteFile(testing_support::ScratchDir() + "/huebridge-lookup.icc", bytes);
  setenv("HUEBRIDGE_COLOR_DIR", testing_support::ScratchDir().c_str(), 1);
  EXPECT_TRUE(Transform("huebridge-lookup.icc").ok());
  setenv("HUEBRIDGE_COLOR_DIR", (testing_support::ScratchDir() + "/").c_str(), 1);
  EXPECT_TRUE(Transform("huebridge-lookup.icc").ok());
  unsetenv("HUEBRIDGE_COLOR_DIR");
  EXPECT_EQ(Transform("huebridge-lookup.icc").code(), ERROR_OPEN_FAILED);
#endif
}

TEST(ProfileLookup, FailuresReportTheirCodes) {
  LOGCOLORSPACEA cs = testing_support::ColorSpace();
  EXPECT_EQ(testing_support::Code(CMCreateTransformA(&cs, const_cast<char*>(""), nullptr)),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(testing_support::Code(CMCreateTransformA(&cs, nullptr, nullptr)),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(Transform(testing_support::ScratchDir() + "/missing.icc").code(), ERROR_OPEN_FAILED);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_OPEN_FAILED));
  // A directory is no profile file.
  EXPECT_EQ(Transform(testing_support::ScratchDir()).code(), ERROR_OPEN_FAILED);
  // Paths that do not fit in MAX_PATH bytes, composed or given whole.
  const std::string longName(MAX_PATH, 'x');
  EXPECT_EQ(Transform(longName).code(), ERROR_FILENAME_EXCED_RANGE);
  EXPECT_EQ(Transform(testing_support::ScratchDir() + "/" + longName).code(),
            ERROR_FILENAME_EXCED_RANGE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
}

// --- The creation entries ---------------------------------------------------------

TEST(CreationEntries, AllFourReadTheirArgumentsAlike) {
  std::mt19937 rng(4);
  const std::string path =
      testing_support::WriteScratch("entries.icc", icc::TypicalProfile(rng).Build());
  const std::string mntr = [&] {
    icc::Profile p;
    p.deviceClass = Sig("mntr");
    return testing_support::WriteScratch("entries-mntr.icc", p.Build());
  }();
  using Create = HCMTRANSFORM (*)(const std::string&);
  const Create entries[] = {
      [](const std::string& p) {
        LOGCOLORSPACEA cs = testing_support::ColorSpace(LCS_GM_GRAPHICS);
        return CMCreateTransformA(&cs, const_cast<char*>(p.c_str()), nullptr);
      },
      [](const std::string& p) {
        LOGCOLORSPACEA cs = testing_support::ColorSpace(LCS_GM_GRAPHICS);
        return CMCreateTransformExt(&cs, const_cast<char*>(p.c_str()), nullptr, 0xFFFF);
      },
      [](const std::string& p) {
        LOGCOLORSPACEW cs{};
        cs.lcsIntent = LCS_GM_GRAPHICS;
        return CMCreateTransformW(&cs, const_cast<char*>(p.c_str()), nullptr);
      },
      [](const std::string& p) {
        LOGCOLORSPACEW cs{};
        cs.lcsIntent = LCS_GM_GRAPHICS;
        return CMCreateTransformExtW(&cs, const_cast<char*>(p.c_str()), nullptr, 0);
      },
  };
  COLOR expected{};
  for (std::size_t i = 0; i < std::size(entries); ++i) {
    EXPECT_EQ(testing_support::Code(entries[i](mntr)), ERROR_INVALID_DATA) << i;
    EXPECT_EQ(testing_support::Code(entries[i]("")), ERROR_INVALID_PARAMETER) << i;
    HCMTRANSFORM h = entries[i](path);
    ASSERT_GE(testing_support::Code(h), 256u) << i;
    EXPECT_EQ(static_cast<huebridge::CMM_TRANSFORM*>(h)->currentLut,
              &static_cast<huebridge::CMM_TRANSFORM*>(h)->b2a[1]);
    COLOR in = testing_support::Rgb(0x1200, 0x8000, 0xF000), out{};
    ASSERT_TRUE(CMTranslateColors(h, &in, 1, COLOR_RGB, &out, COLOR_CMYK));
    if (i == 0) expected = out;
    EXPECT_EQ(std::memcmp(&out, &expected, sizeof out), 0) << i;
    EXPECT_TRUE(CMDeleteTransform(h));
  }
}

TEST(CreationEntries, MultiProfileTransformIsNotImplemented) {
  SetLastError(0);
  EXPECT_EQ(testing_support::Code(CMCreateMultiProfileTransform(nullptr, 0, nullptr, 0, 0)),
            ERROR_CALL_NOT_IMPLEMENTED);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CALL_NOT_IMPLEMENTED));
}

TEST(CreationEntries, InfoQueries) {
  EXPECT_EQ(CMGetInfo(CMM_IDENT), 0x56483751u);  // 'V' 'H' '7' 'Q'
  EXPECT_EQ(CMGetInfo(CMM_DLL_VERSION), 0x10000u);
  EXPECT_EQ(CMGetInfo(CMM_DESCRIPTION), 1u);
  for (const DWORD other : {0u, 2u, 4u, 6u, 0xFFFFFFFFu}) EXPECT_EQ(CMGetInfo(other), 0u) << other;
}

}  // namespace

// Every input the fuzzer ever crashed on is kept as a file in regressions/
// and runs here through the fuzzer's own routine (under the sanitizers in
// the sanitizer build), together with the fuzzer's seed corpus. Each kept
// file must also give the result its fix decided, listed below: a new file
// without an entry fails the test.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "exercise.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

// The creation code (0: a transform), then for a transform the last error
// of a one-pixel bitmap translation and of a Lab gamut check (0: success).
struct Expected {
  DWORD creation, bitmap, gamut;
};

const std::map<std::string, Expected> kRegressions = {
    {"short-file-empty.icc", {13, 0, 0}},         {"tag-table-past-end.icc", {13, 0, 0}},
    {"tag-outside-file.icc", {13, 0, 0}},         {"lut16-tables-past-tag.icc", {13, 0, 0}},
    {"lut8-tables-past-tag.icc", {13, 0, 0}},     {"device-table-unusable-1.icc", {0, 13, 13}},
    {"device-table-unusable-2.icc", {0, 13, 13}}, {"gamut-table-unusable.icc", {0, 0, 13}},
};

std::vector<fs::path> FilesIn(const std::string& unixDir) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(testing_support::HostPath(unixDir))) {
    if (entry.is_regular_file() && entry.path().filename() != "README")
      files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

void RunAll(const std::vector<fs::path>& files) {
  ASSERT_FALSE(files.empty());
  for (const fs::path& file : files) {
    SCOPED_TRACE(file.string());
    const std::vector<std::uint8_t> bytes = testing_support::ReadFileBytes(file.string());
    huebridge_fuzz::ExerciseProfile(bytes.data(), bytes.size());
  }
}

DWORD LastErrorOf(BOOL ok) { return ok ? 0 : GetLastError(); }

TEST(FuzzRegressions, EveryKeptCrashRunsCleanlyAndGivesItsResult) {
  const auto files = FilesIn(HUEBRIDGE_REGRESSIONS_DIR);
  RunAll(files);
  std::size_t listed = 0;
  for (const fs::path& file : files) {
    const auto expected = kRegressions.find(file.filename().string());
    ASSERT_NE(expected, kRegressions.end()) << file << " has no entry in kRegressions";
    ++listed;
    testing_support::Transform t(file.string());
    ASSERT_EQ(t.ok() ? 0 : t.code(), expected->second.creation) << file;
    if (!t.ok()) continue;
    std::uint8_t pixel[4] = {10, 200, 30, 0}, cmyk[4];
    SetLastError(0);
    EXPECT_EQ(LastErrorOf(
                  CMTranslateRGBs(t.get(), pixel, BM_RGBTRIPLETS, 1, 1, 0, cmyk, BM_CMYKQUADS, 0)),
              expected->second.bitmap)
        << file;
    COLOR lab = testing_support::Lab(0x8000, 0x8000, 0x8000);
    BYTE inGamut;
    SetLastError(0);
    EXPECT_EQ(LastErrorOf(CMCheckColors(t.get(), &lab, 1, COLOR_Lab, &inGamut)),
              expected->second.gamut)
        << file;
  }
  EXPECT_EQ(listed, kRegressions.size()) << "an entry of kRegressions names no file";
}

TEST(FuzzRegressions, SeedCorpusRunsCleanly) { RunAll(FilesIn(HUEBRIDGE_CORPUS_DIR)); }

}  // namespace

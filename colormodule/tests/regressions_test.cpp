// Every input the fuzzer ever crashed on is kept as a file in regressions/
// and runs here through the fuzzer's own routine (under the sanitizers in
// the sanitizer build), together with the fuzzer's seed corpus.
#include <gtest/gtest.h>

#include <filesystem>

#include "exercise.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> FilesIn(const std::string& unixDir) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(testing_support::HostPath(unixDir))) {
    if (entry.is_regular_file() && entry.path().filename() != "README")
      files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

void RunAll(const std::string& unixDir) {
  const auto files = FilesIn(unixDir);
  ASSERT_FALSE(files.empty()) << unixDir;
  for (const fs::path& file : files) {
    SCOPED_TRACE(file.string());
    const std::vector<std::uint8_t> bytes = testing_support::ReadFileBytes(file.string());
    huebridge_fuzz::ExerciseProfile(bytes.data(), bytes.size());
  }
}

TEST(FuzzRegressions, EveryKeptCrashRunsCleanly) { RunAll(HUEBRIDGE_REGRESSIONS_DIR); }

TEST(FuzzRegressions, SeedCorpusRunsCleanly) { RunAll(HUEBRIDGE_CORPUS_DIR); }

}  // namespace

#include "test_support.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include "icc_writer.h"

namespace testing_support {
namespace fs = std::filesystem;

namespace {

struct Scratch {
  std::string path;
  Scratch() {
    std::random_device seed;
    const fs::path dir = fs::temp_directory_path() /
                         ("huebridge-test-" + std::to_string(seed()) + std::to_string(seed()));
    fs::create_directories(dir);
    path = dir.string();
  }
  ~Scratch() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
  }
};

}  // namespace

const std::string& ScratchDir() {
  static Scratch scratch;
  return scratch.path;
}

std::string WriteScratch(const std::string& name, const std::vector<std::uint8_t>& bytes) {
  const std::string path = (fs::path(ScratchDir()) / name).string();
  icc::WriteFile(path, bytes);
  return path;
}

std::string HostPath(const std::string& unixPath) {
#ifdef _WIN32
  // Wine maps the Linux root to drive Z:.
  std::string path = "Z:" + unixPath;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
#else
  return unixPath;
#endif
}

std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error("cannot read " + path);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

LOGCOLORSPACEA ColorSpace(LONG intent, LONG csType) {
  LOGCOLORSPACEA cs{};
  cs.lcsSignature = 0x50534F43;  // 'PSOC'
  cs.lcsVersion = 0x400;
  cs.lcsSize = sizeof cs;
  cs.lcsCSType = csType;
  cs.lcsIntent = intent;
  return cs;
}

Transform::Transform(const std::string& path, LONG intent, LONG csType) {
  LOGCOLORSPACEA cs = ColorSpace(intent, csType);
  handle_ = CMCreateTransformA(&cs, const_cast<char*>(path.c_str()), nullptr);
}

Transform::Transform(const std::vector<std::uint8_t>& profile, LONG intent, LONG csType)
    : Transform(WriteScratch("profile-" + std::to_string([] {
                               static std::atomic<int> n{0};
                               return n++;
                             }()) +
                                 ".icc",
                             profile),
                intent, csType) {}

Transform::~Transform() {
  if (ok()) CMDeleteTransform(handle_);
}

COLOR Rgb(WORD r, WORD g, WORD b) {
  COLOR c{};
  c.rgb.red = r;
  c.rgb.green = g;
  c.rgb.blue = b;
  return c;
}

COLOR Lab(WORD l, WORD a, WORD b) {
  COLOR c{};
  c.Lab.L = l;
  c.Lab.a = a;
  c.Lab.b = b;
  return c;
}

}  // namespace testing_support

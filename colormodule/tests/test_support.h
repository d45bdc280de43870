// Helpers shared by the tests: scratch files, transform handles, paths of
// the real profiles under Linux and Wine.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "huebridge.h"

namespace testing_support {

// A fresh directory for this test program, removed at exit.
const std::string& ScratchDir();
// Writes `bytes` to ScratchDir()/name and gives the path.
std::string WriteScratch(const std::string& name, const std::vector<std::uint8_t>& bytes);
// A path of this Linux system as the test program sees it (Z:\... in Wine).
std::string HostPath(const std::string& unixPath);
std::vector<std::uint8_t> ReadFileBytes(const std::string& path);

inline std::uintptr_t Code(HCMTRANSFORM h) { return reinterpret_cast<std::uintptr_t>(h); }

LOGCOLORSPACEA ColorSpace(LONG intent = 0, LONG csType = 0);

// Owns a transform; creation failures are kept as their code.
class Transform {
 public:
  explicit Transform(const std::string& path, LONG intent = 0, LONG csType = 0);
  explicit Transform(const std::vector<std::uint8_t>& profile, LONG intent = 0, LONG csType = 0);
  ~Transform();
  Transform(const Transform&) = delete;
  Transform& operator=(const Transform&) = delete;

  HCMTRANSFORM get() const { return handle_; }
  bool ok() const { return Code(handle_) >= 256; }
  std::uintptr_t code() const { return Code(handle_); }

 private:
  HCMTRANSFORM handle_;
};

COLOR Rgb(WORD r, WORD g, WORD b);
COLOR Lab(WORD l, WORD a, WORD b);

}  // namespace testing_support

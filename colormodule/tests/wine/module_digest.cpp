// Loads the colour module by path (Huebridge.dll with LoadLibraryA, or
// libhuebridge.so with dlopen), resolves every export by name and records
// the result of a fixed, deterministic set of calls on the given profiles:
// every return value, every error code after a failure and every output
// byte, in one file. The Windows build run under Wine and the native build
// must write identical files.
//
//   module_digest profiles <dir>                     writes generated profiles
//   module_digest run <module> <out> <profile>...    records the results
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "huebridge.h"
#include "icc_writer.h"

#ifndef _WIN32
#include <dlfcn.h>
#endif

namespace {

struct Exports {
  decltype(&CMCreateTransformA) createA;
  decltype(&CMCreateTransformW) createW;
  decltype(&CMCreateTransformExt) createExt;
  decltype(&CMCreateTransformExtW) createExtW;
  decltype(&CMCreateMultiProfileTransform) createMulti;
  decltype(&CMDeleteTransform) remove;
  decltype(&CMGetInfo) info;
  decltype(&CMTranslateColors) colors;
  decltype(&CMTranslateRGB) rgb;
  decltype(&CMTranslateRGBs) rgbs;
  decltype(&CMTranslateRGBsExt) rgbsExt;
  decltype(&CMCheckColors) check;
  decltype(&CMCheckColorsInGamut) checkInGamut;
  decltype(&CMCheckRGBs) checkRgbs;
  decltype(&DllRegisterServer) registerServer;
  decltype(&DllUnregisterServer) unregisterServer;
  DWORD (*getLastError)();
  void (*setLastError)(DWORD);
};

void* Symbol(void* module, const char* name) {
#ifdef _WIN32
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
#else
  return dlsym(module, name);
#endif
}

template <typename Fn>
bool Resolve(void* module, const char* name, Fn& fn) {
  fn = reinterpret_cast<Fn>(Symbol(module, name));
  if (fn == nullptr) std::fprintf(stderr, "export %s not found\n", name);
  return fn != nullptr;
}

bool Load(const char* path, Exports& e) {
#ifdef _WIN32
  void* module = LoadLibraryA(path);
  // The last error is kernel32's on Windows.
  void* kernel32 = GetModuleHandleA("kernel32.dll");
#else
  void* module = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  void* kernel32 = module;  // the Linux build exports its own
#endif
  if (module == nullptr) {
    std::fprintf(stderr, "cannot load %s\n", path);
    return false;
  }
  bool ok = true;
  ok &= Resolve(module, "CMCreateTransformA", e.createA);
  ok &= Resolve(module, "CMCreateTransformW", e.createW);
  ok &= Resolve(module, "CMCreateTransformExt", e.createExt);
  ok &= Resolve(module, "CMCreateTransformExtW", e.createExtW);
  ok &= Resolve(module, "CMCreateMultiProfileTransform", e.createMulti);
  ok &= Resolve(module, "CMDeleteTransform", e.remove);
  ok &= Resolve(module, "CMGetInfo", e.info);
  ok &= Resolve(module, "CMTranslateColors", e.colors);
  ok &= Resolve(module, "CMTranslateRGB", e.rgb);
  ok &= Resolve(module, "CMTranslateRGBs", e.rgbs);
  ok &= Resolve(module, "CMTranslateRGBsExt", e.rgbsExt);
  ok &= Resolve(module, "CMCheckColors", e.check);
  ok &= Resolve(module, "CMCheckColorsInGamut", e.checkInGamut);
  ok &= Resolve(module, "CMCheckRGBs", e.checkRgbs);
  ok &= Resolve(module, "DllRegisterServer", e.registerServer);
  ok &= Resolve(module, "DllUnregisterServer", e.unregisterServer);
  ok &= Resolve(kernel32, "GetLastError", e.getLastError);
  ok &= Resolve(kernel32, "SetLastError", e.setLastError);
  return ok;
}

class Record {
 public:
  template <typename T>
  void Put(const T& value) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(&value);
    bytes_.insert(bytes_.end(), p, p + sizeof value);
  }
  void PutBytes(const void* data, std::size_t size) {
    const auto* p = static_cast<const std::uint8_t*>(data);
    bytes_.insert(bytes_.end(), p, p + size);
  }
  bool Write(const char* path) const {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes_.data()),
               static_cast<std::streamsize>(bytes_.size()));
    return static_cast<bool>(file);
  }

 private:
  std::vector<std::uint8_t> bytes_;
};

// A result and, when it failed, the error code it left.
void PutResult(Record& r, const Exports& e, BOOL result) {
  r.Put(result);
  r.Put(result ? DWORD{0} : e.getLastError());
}

std::uintptr_t Code(HCMTRANSFORM h) { return reinterpret_cast<std::uintptr_t>(h); }

void Colours(Record& r, const Exports& e, HCMTRANSFORM h, std::mt19937& rng) {
  constexpr std::size_t kCount = 1024;
  std::vector<COLOR> in(kCount), out(kCount);
  for (std::size_t i = 0; i < kCount; ++i) {
    in[i] = COLOR{};
    in[i].rgb = {static_cast<WORD>(rng()), static_cast<WORD>(rng()), static_cast<WORD>(rng())};
  }
  in[0].rgb = {0, 0, 0};
  in[1].rgb = {0xFFFF, 0xFFFF, 0xFFFF};
  const COLORTYPE pairs[][2] = {{COLOR_RGB, COLOR_Lab},   {COLOR_RGB, COLOR_XYZ},
                                {COLOR_RGB, COLOR_CMYK},  {COLOR_Lab, COLOR_CMYK},
                                {COLOR_CMYK, COLOR_CMYK}, {COLOR_XYZ, COLOR_CMYK}};
  for (const auto& pair : pairs) {
    std::memset(out.data(), 0, kCount * sizeof(COLOR));
    e.setLastError(0);
    PutResult(r, e, e.colors(h, in.data(), kCount, pair[0], out.data(), pair[1]));
    for (const COLOR& c : out) r.PutBytes(&c, 8);  // the channel words
  }
  for (int i = 0; i < 64; ++i) {
    COLORREF packed = 0;
    e.setLastError(0);
    PutResult(r, e, e.rgb(h, rng() & 0xFFFFFF, &packed, 0));
    r.Put(packed);
  }
  BYTE gamut[kCount] = {};
  e.setLastError(0);
  PutResult(r, e, e.check(h, in.data(), kCount, COLOR_Lab, gamut));
  r.PutBytes(gamut, sizeof gamut);
  r.Put(e.checkInGamut(h, nullptr, gamut, 1));
  r.Put(e.checkRgbs(h, nullptr, BM_RGBTRIPLETS, 1, 1, 0, gamut, nullptr, 0));
}

void Bitmaps(Record& r, const Exports& e, HCMTRANSFORM h, std::mt19937& rng) {
  struct Shape {
    BMFORMAT format;
    DWORD width, height, inStride, outStride;
  };
  // Small bitmaps with every row layout, and two large enough for the fast
  // path.
  const Shape shapes[] = {{BM_RGBTRIPLETS, 67, 5, 0, 0},   {BM_BGRTRIPLETS, 67, 5, 211, 280},
                          {BM_xRGBQUADS, 67, 5, 0, 0},     {BM_xBGRQUADS, 33, 4, 140, 0},
                          {BM_RGBTRIPLETS, 192, 96, 0, 0}, {BM_xBGRQUADS, 160, 128, 0, 0}};
  for (const Shape& s : shapes) {
    const unsigned px = s.format == BM_RGBTRIPLETS || s.format == BM_BGRTRIPLETS ? 3 : 4;
    const std::size_t inPitch = s.inStride ? s.inStride : (s.width * px + 3) / 4 * 4;
    const std::size_t outPitch = s.outStride ? s.outStride : s.width * 4;
    std::vector<std::uint8_t> source(inPitch * s.height), dest(outPitch * s.height, 0xEE);
    for (auto& b : source) b = static_cast<std::uint8_t>(rng());
    e.setLastError(0);
    PutResult(r, e,
              e.rgbsExt(h, source.data(), s.format, s.width, s.height, s.inStride, dest.data(),
                        BM_CMYKQUADS, s.outStride, nullptr, 0));
    r.PutBytes(dest.data(), dest.size());
  }
}

int Run(const char* modulePath, const char* outPath, int count, char** profiles) {
  Exports e{};
  if (!Load(modulePath, e)) return 1;
  Record r;
  for (const DWORD query : {1u, 2u, 3u, 5u, 7u}) r.Put(e.info(query));
  r.Put(Code(e.createMulti(nullptr, 0, nullptr, 0, 0)));
  std::mt19937 rng(1234);
  for (int p = 0; p < count; ++p) {
    const std::string path = profiles[p];
    for (const LONG intent : {LCS_GM_IMAGES, LCS_GM_GRAPHICS, LCS_GM_BUSINESS}) {
      LOGCOLORSPACEA cs{};
      cs.lcsIntent = intent;
      HCMTRANSFORM h = e.createA(&cs, const_cast<char*>(path.c_str()), nullptr);
      r.Put(static_cast<std::uint32_t>(Code(h) < 256 ? Code(h) : 256));
      if (Code(h) < 256) continue;
      Colours(r, e, h, rng);
      Bitmaps(r, e, h, rng);
      r.Put(e.remove(h));
    }
    // The other creation entries and the error paths.
    LOGCOLORSPACEW wide{};
    HCMTRANSFORM h = e.createExtW(&wide, const_cast<char*>(path.c_str()), nullptr, 0);
    r.Put(static_cast<std::uint32_t>(Code(h) < 256 ? Code(h) : 256));
    if (Code(h) >= 256) e.remove(h);
    const std::string missing = path + ".missing";
    LOGCOLORSPACEA cs{};
    r.Put(Code(e.createA(&cs, const_cast<char*>(missing.c_str()), nullptr)));
    r.Put(Code(e.createW(&wide, const_cast<char*>(""), nullptr)));
    r.Put(Code(e.createExt(&cs, nullptr, nullptr, 0)));
  }
  if (!r.Write(outPath)) {
    std::fprintf(stderr, "cannot write %s\n", outPath);
    return 1;
  }
  return 0;
}

int WriteProfiles(const std::string& dir) {
  using icc::Sig;
  std::mt19937 rng(99);
  auto write = [&](const char* name, const icc::Profile& p) {
    icc::WriteFile(dir + "/" + name, p.Build());
  };
  write("typical-lut16.icc", icc::TypicalProfile(rng, 9));

  icc::Profile lut8;
  for (const auto sig : {Sig("B2A0"), Sig("B2A1"), Sig("B2A2")}) {
    icc::Lut lut = icc::IdentityLut8(17);
    icc::FillRandomGrid(lut, rng);
    icc::RandomizeInputTables(lut, rng);
    icc::RandomizeOutputTables(lut, rng);
    lut8.Add(sig, lut);
  }
  icc::Lut gamut8 = icc::IdentityLut8(9, 1);
  icc::FillRandomGrid(gamut8, rng);
  lut8.Add(Sig("gamt"), gamut8);
  write("curved-lut8.icc", lut8);

  icc::Profile wide;
  icc::Lut twoEntry = icc::IdentityLut16(5, 1024, 2, 5);
  icc::FillRandomGrid(twoEntry, rng);
  icc::RandomizeInputTables(twoEntry, rng);
  wide.Add(Sig("B2A0"), twoEntry).Add(Sig("B2A1"), twoEntry).Add(Sig("B2A2"), twoEntry);
  write("five-outputs.icc", wide);
  wide.colorSpace = Sig("RGB ");
  write("rgb-space.icc", wide);

  icc::Profile flat;
  flat.Add(Sig("B2A0"), icc::IdentityLut16(1, 2, 2));
  write("one-grid-point.icc", flat);

  std::vector<std::uint8_t> truncated = icc::TypicalProfile(rng, 3).Build();
  truncated.resize(truncated.size() - 1);
  icc::WriteFile(dir + "/truncated.icc", truncated);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "profiles") == 0) return WriteProfiles(argv[2]);
  if (argc >= 4 && std::strcmp(argv[1], "run") == 0)
    return Run(argv[2], argv[3], argc - 4, argv + 4);
  std::fprintf(stderr, "usage: %s profiles <dir> | run <module> <out> <profile>...\n", argv[0]);
  return 2;
}

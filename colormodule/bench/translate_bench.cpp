// CMTranslateRGBs (8-bit RGB -> CMYK) against Little CMS's default 8-bit
// transform (built-in sRGB to the same printer profile, TYPE_RGB_8 ->
// TYPE_CMYK_8, perceptual), on the same random 4096 x 4096 image, with a
// memcpy of the same buffers as the ceiling. Before timing, the module's
// output is compared with the plain per-pixel evaluation over the whole
// image. Prints Mpixels/s for each and the ratio to Little CMS.
#include <benchmark/benchmark.h>
#include <lcms2.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "bitmap_fast.h"
#include "cmm_transform.h"
#include "huebridge.h"
#include "lab_tables.h"
#include "profile_reader.h"
#include "routes.h"

namespace {

constexpr DWORD kSide = 4096;
constexpr std::size_t kPixels = std::size_t{kSide} * kSide;

const char* const kProfiles[] = {
    "/usr/share/color/icc/ghostscript/default_cmyk.icc",
    "/usr/share/scribus/profiles/ISOcoated_v2_300_bas.icc",
};

const std::vector<std::uint8_t>& Image() {
  static const std::vector<std::uint8_t> image = [] {
    std::vector<std::uint8_t> bytes(kPixels * 3);
    std::mt19937_64 rng(20240611);
    for (std::size_t i = 0; i < bytes.size(); i += 8) {
      const std::uint64_t v = rng();
      std::memcpy(&bytes[i], &v, std::min<std::size_t>(8, bytes.size() - i));
    }
    return bytes;
  }();
  return image;
}

HCMTRANSFORM Create(const char* path) {
  LOGCOLORSPACEA cs{};
  cs.lcsIntent = LCS_GM_IMAGES;  // perceptual: B2A0
  return CMCreateTransformA(&cs, const_cast<char*>(path), nullptr);
}

// The whole image through the export and through the plain route.
bool BitExact(const char* path) {
  HCMTRANSFORM h = Create(path);
  if (reinterpret_cast<std::uintptr_t>(h) < 256) return false;
  std::vector<std::uint8_t> fast(kPixels * 4), plain(kPixels * 4);
  CMTranslateRGBs(h, const_cast<std::uint8_t*>(Image().data()), BM_RGBTRIPLETS, kSide, kSide, 0,
                  fast.data(), BM_CMYKQUADS, 0);
  auto* t = static_cast<huebridge::CMM_TRANSFORM*>(h);
  huebridge::ScalarRow(t, t->currentLut, Image().data(), 3, plain.data(), kPixels);
  CMDeleteTransform(h);
  return fast == plain;
}

void Huebridge(benchmark::State& state, const char* path) {
  HCMTRANSFORM h = Create(path);
  if (reinterpret_cast<std::uintptr_t>(h) < 256) {
    state.SkipWithError("profile not readable");
    return;
  }
  std::vector<std::uint8_t> dest(kPixels * 4);
  for (auto _ : state) {
    CMTranslateRGBs(h, const_cast<std::uint8_t*>(Image().data()), BM_RGBTRIPLETS, kSide, kSide, 0,
                    dest.data(), BM_CMYKQUADS, 0);
    benchmark::DoNotOptimize(dest.data());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kPixels));
  CMDeleteTransform(h);
}

void LittleCms(benchmark::State& state, const char* path) {
  cmsHPROFILE srgb = cmsCreate_sRGBProfile();
  cmsHPROFILE printer = cmsOpenProfileFromFile(path, "r");
  cmsHTRANSFORM xform =
      printer ? cmsCreateTransform(srgb, TYPE_RGB_8, printer, TYPE_CMYK_8, INTENT_PERCEPTUAL, 0)
              : nullptr;
  if (xform == nullptr) {
    state.SkipWithError("Little CMS transform failed");
  } else {
    std::vector<std::uint8_t> dest(kPixels * 4);
    for (auto _ : state) {
      cmsDoTransform(xform, Image().data(), dest.data(), static_cast<cmsUInt32Number>(kPixels));
      benchmark::DoNotOptimize(dest.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kPixels));
    cmsDeleteTransform(xform);
  }
  if (printer) cmsCloseProfile(printer);
  cmsCloseProfile(srgb);
}

void Memcpy(benchmark::State& state) {
  std::vector<std::uint8_t> dest(kPixels * 4);
  for (auto _ : state) {
    std::memcpy(dest.data(), Image().data(), Image().size());
    benchmark::DoNotOptimize(dest.data());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kPixels));
}

// Keeps every run's pixel rate to print the ratios at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      auto it = run.counters.find("items_per_second");
      if (it == run.counters.end()) continue;
      std::string name = run.benchmark_name();
      name = name.substr(0, name.find("/min_time"));
      rates_[name] = it->second.value / 1e6;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void PrintRatios() const {
    std::printf("\n%-60s %10s %10s %8s\n", "profile", "Huebridge", "LittleCMS", "ratio");
    for (const char* path : kProfiles) {
      const std::string name = std::strrchr(path, '/') + 1;
      const auto h = rates_.find("Huebridge/" + name), l = rates_.find("LittleCMS/" + name);
      if (h == rates_.end() || l == rates_.end()) continue;
      std::printf("%-60s %10.1f %10.1f %7.2fx\n", name.c_str(), h->second, l->second,
                  h->second / l->second);
    }
    if (auto m = rates_.find("memcpy"); m != rates_.end()) {
      std::printf("%-60s %10.1f Mpixels/s\n", "memcpy ceiling", m->second);
    }
  }

 private:
  std::map<std::string, double> rates_;
};

}  // namespace

int main(int argc, char** argv) {
  std::printf("fast path: %s\n", huebridge::CpuHasAvx2() ? "AVX2" : "portable");
  for (const char* path : kProfiles) {
    std::printf("bit-exact against the plain evaluation on %s: %s\n", path,
                BitExact(path) ? "yes" : "NO");
  }
  for (const char* path : kProfiles) {
    const std::string name = std::strrchr(path, '/') + 1;
    benchmark::RegisterBenchmark(("Huebridge/" + name).c_str(), Huebridge, path)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(2.0);
    benchmark::RegisterBenchmark(("LittleCMS/" + name).c_str(), LittleCms, path)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(2.0);
  }
  benchmark::RegisterBenchmark("memcpy", Memcpy)->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}

// CMTranslateRGBs (8-bit RGB triplets -> CMYK quads) against Little CMS's
// default 8-bit transform (built-in sRGB to the same printer profile,
// TYPE_RGB_8 -> TYPE_CMYK_8, perceptual), per class of image: random noise,
// photographs, a flat graphic and document pages. Each class is timed with
// every row function this processor runs (AVX2, SSE4.1 as on processors
// without AVX2, portable C++), forced in turn, and the runs of all engines
// are interleaved and repeated in one process. Before timing, every image's
// output from each row function is compared with the plain per-pixel
// evaluation. Prints the median and the best ratio to Little CMS per class
// and profile.
//
// The images come from prepare-images.sh (see the build target
// huebridge_bench_images); a class whose images are missing is skipped.
#include <benchmark/benchmark.h>
#include <lcms2.h>
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "bitmap_fast.h"
#include "cmm_transform.h"
#include "huebridge.h"
#include "routes.h"

namespace {

namespace fs = std::filesystem;

const char* const kProfiles[] = {
    "/usr/share/color/icc/ghostscript/default_cmyk.icc",
    "/usr/share/scribus/profiles/ISOcoated_v2_300_bas.icc",
};

struct Image {
  std::string name;
  DWORD width, height;
  std::vector<std::uint8_t> rgb;  // rows of 3-byte pixels, no padding
};

struct ImageClass {
  std::string name;
  std::vector<Image> images;
  std::size_t pixels = 0;
};

Image Noise(DWORD side) {
  Image image{"noise", side, side, std::vector<std::uint8_t>(std::size_t{side} * side * 3)};
  std::mt19937_64 rng(20240611);
  for (auto& b : image.rgb) b = static_cast<std::uint8_t>(rng());
  return image;
}

// A PNG as RGB, transparent parts put on white (libpng's simplified API).
bool ReadPng(const fs::path& path, Image* image) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path.c_str())) return false;
  png.format = PNG_FORMAT_RGB;
  image->name = path.filename().string();
  image->width = png.width;
  image->height = png.height;
  image->rgb.resize(PNG_IMAGE_SIZE(png));
  const png_color white{255, 255, 255};
  if (!png_image_finish_read(&png, &white, image->rgb.data(), 0, nullptr)) {
    png_image_free(&png);
    return false;
  }
  return true;
}

ImageClass LoadClass(const std::string& name, const fs::path& dir) {
  ImageClass c{name, {}};
  std::error_code ec;
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(dir, ec)) {
    if (entry.path().extension() == ".png") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  for (const fs::path& file : files) {
    Image image;
    if (ReadPng(file, &image)) {
      c.images.push_back(std::move(image));
    } else {
      std::printf("%s: not readable, left out\n", file.c_str());
    }
  }
  return c;
}

HCMTRANSFORM Create(const char* path) {
  LOGCOLORSPACEA cs{};
  cs.lcsIntent = LCS_GM_IMAGES;  // perceptual: B2A0
  return CMCreateTransformA(&cs, const_cast<char*>(path), nullptr);
}

bool Translate(HCMTRANSFORM h, const Image& image, std::uint8_t* dest) {
  return CMTranslateRGBs(h, const_cast<std::uint8_t*>(image.rgb.data()), BM_RGBTRIPLETS,
                         image.width, image.height, image.width * 3, dest, BM_CMYKQUADS, 0);
}

struct Engine {
  const char* name;
  huebridge::FastRowFn row;
};

std::vector<Engine> Engines() {
  std::vector<Engine> engines;
  if (huebridge::CpuHasAvx2()) engines.push_back({"AVX2", huebridge::FastRowAvx2});
  if (huebridge::CpuHasSse41()) engines.push_back({"SSE4.1", huebridge::FastRowSse41});
  engines.push_back({"portable", huebridge::FastRowPortable});
  return engines;
}

// A transform whose fast-path tables exist, with `row` as its row function.
HCMTRANSFORM CreateWithRow(const char* path, huebridge::FastRowFn row) {
  HCMTRANSFORM h = Create(path);
  if (reinterpret_cast<std::uintptr_t>(h) < 256) return nullptr;
  const Image warm = Noise(128);  // large enough for the fast path
  std::vector<std::uint8_t> dest(std::size_t{128} * 128 * 4);
  Translate(h, warm, dest.data());
  auto* t = static_cast<huebridge::CMM_TRANSFORM*>(h);
  huebridge::FastBitmapTables* fast = t->fast[t->currentLut - t->b2a];
  if (fast == nullptr) {
    CMDeleteTransform(h);
    return nullptr;
  }
  fast->row = row;
  huebridge::ClearColourCache(*fast);
  return h;
}

// Every image of the class through the export and through the plain route.
bool BitExact(const char* path, huebridge::FastRowFn row, const ImageClass& images) {
  HCMTRANSFORM h = CreateWithRow(path, row);
  if (h == nullptr) return false;
  auto* t = static_cast<huebridge::CMM_TRANSFORM*>(h);
  bool same = true;
  for (const Image& image : images.images) {
    const std::size_t pixels = std::size_t{image.width} * image.height;
    std::vector<std::uint8_t> fast(pixels * 4), plain(pixels * 4);
    same = same && Translate(h, image, fast.data());
    huebridge::ScalarRow(t, t->currentLut, image.rgb.data(), 3, plain.data(), pixels);
    same = same && fast == plain;
  }
  CMDeleteTransform(h);
  return same;
}

void Huebridge(benchmark::State& state, const char* path, huebridge::FastRowFn row,
               const ImageClass* images) {
  HCMTRANSFORM h = CreateWithRow(path, row);
  if (h == nullptr) {
    state.SkipWithError("profile not readable");
    return;
  }
  std::vector<std::uint8_t> dest(images->pixels * 4);
  for (auto _ : state) {
    std::uint8_t* out = dest.data();
    for (const Image& image : images->images) {
      Translate(h, image, out);
      out += std::size_t{image.width} * image.height * 4;
    }
    benchmark::DoNotOptimize(dest.data());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * images->pixels));
  CMDeleteTransform(h);
}

void LittleCms(benchmark::State& state, const char* path, const ImageClass* images) {
  cmsHPROFILE srgb = cmsCreate_sRGBProfile();
  cmsHPROFILE printer = cmsOpenProfileFromFile(path, "r");
  cmsHTRANSFORM xform =
      printer ? cmsCreateTransform(srgb, TYPE_RGB_8, printer, TYPE_CMYK_8, INTENT_PERCEPTUAL, 0)
              : nullptr;
  if (xform == nullptr) {
    state.SkipWithError("Little CMS transform failed");
  } else {
    std::vector<std::uint8_t> dest(images->pixels * 4);
    for (auto _ : state) {
      std::uint8_t* out = dest.data();
      for (const Image& image : images->images) {
        const auto pixels = static_cast<cmsUInt32Number>(image.width * image.height);
        cmsDoTransform(xform, image.rgb.data(), out, pixels);
        out += std::size_t{pixels} * 4;
      }
      benchmark::DoNotOptimize(dest.data());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * images->pixels));
    cmsDeleteTransform(xform);
  }
  if (printer) cmsCloseProfile(printer);
  cmsCloseProfile(srgb);
}

std::string ProfileName(const char* path) { return std::strrchr(path, '/') + 1; }

// Keeps every repetition's pixel rate and prints the median ratios at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration) continue;
      auto it = run.counters.find("items_per_second");
      if (it == run.counters.end()) continue;
      std::string name = run.benchmark_name();
      name = name.substr(0, name.find("/min_time"));
      name = name.substr(0, name.find("/repeats"));
      rates_[name].push_back(it->second.value / 1e6);
    }
    ConsoleReporter::ReportRuns(runs);
  }
  // The median of the repetitions, and the fastest of each engine, which a
  // busy spell on the shared machine disturbs least.
  void PrintRatios(const std::vector<ImageClass>& classes) const {
    for (const bool fastest : {false, true}) {
      std::printf("\n%s Mpixels/s of Little CMS, ratio of each row function to it\n",
                  fastest ? "Fastest" : "Median");
      std::printf("%-9s %-25s %9s", "class", "profile", "LittleCMS");
      for (const Engine& e : Engines()) std::printf(" %9s", e.name);
      std::printf("\n");
      for (const ImageClass& c : classes) {
        for (const char* path : kProfiles) {
          const std::string suffix = "/" + c.name + "/" + ProfileName(path);
          const double l = Rate("LittleCMS" + suffix, fastest);
          if (l <= 0) continue;
          std::printf("%-9s %-25s %9.1f", c.name.c_str(), ProfileName(path).c_str(), l);
          for (const Engine& e : Engines()) {
            std::printf(" %8.2fx", Rate(std::string(e.name) + suffix, fastest) / l);
          }
          std::printf("\n");
        }
      }
    }
  }

 private:
  double Rate(const std::string& name, bool fastest) const {
    const auto it = rates_.find(name);
    if (it == rates_.end() || it->second.empty()) return 0;
    std::vector<double> v = it->second;
    std::sort(v.begin(), v.end());
    return fastest ? v.back() : v[v.size() / 2];
  }
  std::map<std::string, std::vector<double>> rates_;
};

}  // namespace

int main(int argc, char** argv) {
  const char* dir = std::getenv("HUEBRIDGE_BENCH_IMAGES");
  const fs::path images = dir != nullptr && *dir != '\0' ? dir : HUEBRIDGE_BENCH_IMAGES;
  std::vector<ImageClass> classes;
  classes.push_back({"noise", {Noise(2048)}});
  for (const char* name : {"photos", "graphics", "pages"}) {
    ImageClass c = LoadClass(name, images / name);
    if (c.images.empty()) {
      std::printf(
          "%s: no images in %s, skipped (run prepare-images.sh or build the target "
          "huebridge_bench_images)\n",
          name, (images / name).c_str());
      continue;
    }
    classes.push_back(std::move(c));
  }
  for (ImageClass& c : classes) {
    for (const Image& image : c.images) c.pixels += std::size_t{image.width} * image.height;
    std::printf("%-9s %zu images, %.1f Mpixels\n", c.name.c_str(), c.images.size(),
                static_cast<double>(c.pixels) / 1e6);
    for (const char* path : kProfiles) {
      std::printf("  bit-exact against the plain evaluation on %s:", ProfileName(path).c_str());
      for (const Engine& e : Engines()) {
        std::printf(" %s %s", e.name, BitExact(path, e.row, c) ? "yes" : "NO");
      }
      std::printf("\n");
    }
  }
  for (const ImageClass& c : classes) {
    for (const char* path : kProfiles) {
      const std::string suffix = "/" + c.name + "/" + ProfileName(path);
      benchmark::RegisterBenchmark(("LittleCMS" + suffix).c_str(), LittleCms, path, &c)
          ->Unit(benchmark::kMillisecond);
      for (const Engine& e : Engines()) {
        benchmark::RegisterBenchmark((e.name + suffix).c_str(), Huebridge, path, e.row, &c)
            ->Unit(benchmark::kMillisecond);
      }
    }
  }
  // Interleaved repetitions: a slow spell on the shared machine then hits
  // every engine alike. Options given on the command line come later and win.
  std::vector<char*> args(argv, argv + argc);
  std::string defaults[] = {"--benchmark_repetitions=5",
                            "--benchmark_enable_random_interleaving=true",
                            "--benchmark_min_time=0.3"};
  args.insert(args.begin() + 1, {defaults[0].data(), defaults[1].data(), defaults[2].data()});
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios(classes);
  benchmark::Shutdown();
  return 0;
}

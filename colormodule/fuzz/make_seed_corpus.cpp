// Writes the fuzzer's seed corpus: small well-formed profiles of every
// shape the module reads. Run by hand after changing it:
//   build/native/colormodule/fuzz/huebridge_make_seed_corpus colormodule/fuzz/corpus
#include <cstdio>
#include <random>
#include <string>

#include "icc_writer.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <corpus dir>\n", argv[0]);
    return 2;
  }
  const std::string dir = argv[1];
  std::mt19937 rng(2024);
  using icc::Sig;
  auto write = [&](const char* name, const icc::Profile& p) {
    icc::WriteFile(dir + "/" + name, p.Build());
  };

  icc::Profile lut16;
  icc::Lut device16 = icc::IdentityLut16(3, 4, 3);
  icc::FillRandomGrid(device16, rng);
  icc::RandomizeInputTables(device16, rng);
  icc::Lut gamut16 = icc::IdentityLut16(2, 2, 4, 1);
  icc::FillRandomGrid(gamut16, rng);
  lut16.Add(Sig("B2A0"), device16).Add(Sig("B2A1"), device16, 2).Add(Sig("gamt"), gamut16);
  write("lut16-with-gamt.icc", lut16);

  icc::Profile lut8;
  icc::Lut device8 = icc::IdentityLut8(2);
  icc::FillRandomGrid(device8, rng);
  icc::Lut gamut8 = icc::IdentityLut8(2, 1);
  icc::FillRandomGrid(gamut8, rng);
  lut8.Add(Sig("B2A0"), device8, 8).Add(Sig("gamt"), gamut8);
  lut8.tags.push_back({Sig("B2A2"), {}, {}, {}, 0});
  write("lut8-shared.icc", lut8);

  icc::Profile rgb;
  rgb.colorSpace = Sig("RGB ");
  icc::Lut five = icc::IdentityLut16(2, 2, 2, 5);
  icc::FillRandomGrid(five, rng);
  rgb.Add(Sig("B2A0"), five);
  write("rgb-five-outputs.icc", rgb);

  write("no-tags.icc", icc::Profile{});
  return 0;
}

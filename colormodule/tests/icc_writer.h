// A small writer of ICC printer profiles for the tests: lut8 and lut16
// tables of any shape, tags placed anywhere, and the malformed variants the
// reader must refuse.
#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace icc {

constexpr std::uint32_t Sig(const char (&s)[5]) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(s[0])) << 24 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(s[1])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(s[2])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(s[3]));
}

inline std::uint32_t SigOf(const char* s) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(s[i]);
  return v;
}

// One lut8Type ('mft1') or lut16Type ('mft2') element. Table values are
// bytes for lut8 (0..255) and words for lut16.
struct Lut {
  bool sixteenBit = true;
  std::uint8_t inputChannels = 3;
  std::uint8_t outputChannels = 4;
  std::uint8_t gridPoints = 2;
  std::uint16_t inputEntries = 2;           // lut16; lut8 tables always have 256
  std::uint16_t outputEntries = 2;          // lut16
  std::vector<std::uint16_t> inputTables;   // inputChannels x entries
  std::vector<std::uint16_t> grid;          // outputChannels x gridPoints^inputChannels
  std::vector<std::uint16_t> outputTables;  // outputChannels x entries

  std::size_t GridValues() const;
  // Grid value of output k at grid point (g0, g1, g2) of a 3-input table.
  std::uint16_t& At(unsigned g0, unsigned g1, unsigned g2, unsigned k);
  std::vector<std::uint8_t> Encode() const;
};

// Identity tables (entries spread evenly over the value range), random
// grids.
Lut IdentityLut16(std::uint8_t gridPoints, std::uint16_t inputEntries, std::uint16_t outputEntries,
                  std::uint8_t outputChannels = 4);
Lut IdentityLut8(std::uint8_t gridPoints, std::uint8_t outputChannels = 4);
void FillRandomGrid(Lut& lut, std::mt19937& rng);
// Replaces the input tables by random monotone curves.
void RandomizeInputTables(Lut& lut, std::mt19937& rng);
void RandomizeOutputTables(Lut& lut, std::mt19937& rng);

struct Tag {
  std::uint32_t signature;
  std::vector<std::uint8_t> data;
  // Overrides of what the tag table says, for malformed profiles.
  std::optional<std::uint32_t> offset;
  std::optional<std::uint32_t> size;
  int sharesDataWith = -1;  // index of an earlier tag whose data it points at
};

struct Profile {
  std::uint32_t deviceClass = Sig("prtr");
  std::uint32_t colorSpace = Sig("CMYK");
  std::uint32_t connectionSpace = Sig("Lab ");
  std::vector<Tag> tags;
  std::optional<std::uint32_t> tagCount;  // override of the count field

  Profile& Add(std::uint32_t signature, const Lut& lut, std::uint32_t spareBytes = 0);
  Profile& AddRaw(std::uint32_t signature, std::vector<std::uint8_t> data);
  std::vector<std::uint8_t> Build() const;
};

// A usable CMYK printer profile with B2A0/1/2 (three different random
// lut16 tables, grid `gridPoints`) and a lut16 'gamt'.
Profile TypicalProfile(std::mt19937& rng, std::uint8_t gridPoints = 9);

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace icc

#include "icc_writer.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace icc {
namespace {

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v >> 8));
  out.push_back(static_cast<std::uint8_t>(v));
}

void Set32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
}

std::vector<std::uint16_t> Ramp(unsigned entries, unsigned maxValue) {
  std::vector<std::uint16_t> ramp(entries);
  for (unsigned i = 0; i < entries; ++i) {
    ramp[i] = static_cast<std::uint16_t>(
        entries == 1 ? 0 : (i * maxValue + (entries - 1) / 2) / (entries - 1));
  }
  return ramp;
}

std::vector<std::uint16_t> Repeat(const std::vector<std::uint16_t>& one, unsigned times) {
  std::vector<std::uint16_t> all;
  for (unsigned i = 0; i < times; ++i) all.insert(all.end(), one.begin(), one.end());
  return all;
}

// A random non-decreasing curve from 0 to maxValue.
std::vector<std::uint16_t> RandomCurve(unsigned entries, unsigned maxValue, std::mt19937& rng) {
  std::vector<std::uint16_t> curve(entries);
  std::uniform_int_distribution<unsigned> pick(0, maxValue);
  for (auto& v : curve) v = static_cast<std::uint16_t>(pick(rng));
  std::sort(curve.begin(), curve.end());
  if (entries >= 2) {
    curve.front() = 0;
    curve.back() = static_cast<std::uint16_t>(maxValue);
  }
  return curve;
}

}  // namespace

std::size_t Lut::GridValues() const {
  std::size_t n = outputChannels;
  for (unsigned i = 0; i < inputChannels; ++i) n *= gridPoints;
  return n;
}

std::uint16_t& Lut::At(unsigned g0, unsigned g1, unsigned g2, unsigned k) {
  return grid.at(((g0 * gridPoints + g1) * gridPoints + g2) * outputChannels + k);
}

std::vector<std::uint8_t> Lut::Encode() const {
  std::vector<std::uint8_t> out;
  Put32(out, sixteenBit ? Sig("mft2") : Sig("mft1"));
  Put32(out, 0);
  out.push_back(inputChannels);
  out.push_back(outputChannels);
  out.push_back(gridPoints);
  out.push_back(0);
  const std::uint32_t identity[9] = {0x10000, 0, 0, 0, 0x10000, 0, 0, 0, 0x10000};
  for (std::uint32_t v : identity) Put32(out, v);
  if (sixteenBit) {
    Put16(out, inputEntries);
    Put16(out, outputEntries);
  }
  for (const auto* table : {&inputTables, &grid, &outputTables}) {
    for (std::uint16_t v : *table) {
      if (sixteenBit) {
        Put16(out, v);
      } else {
        out.push_back(static_cast<std::uint8_t>(v));
      }
    }
  }
  return out;
}

Lut IdentityLut16(std::uint8_t gridPoints, std::uint16_t inputEntries, std::uint16_t outputEntries,
                  std::uint8_t outputChannels) {
  Lut lut;
  lut.sixteenBit = true;
  lut.outputChannels = outputChannels;
  lut.gridPoints = gridPoints;
  lut.inputEntries = inputEntries;
  lut.outputEntries = outputEntries;
  lut.inputTables = Repeat(Ramp(inputEntries, 65535), 3);
  lut.grid.assign(lut.GridValues(), 0);
  lut.outputTables = Repeat(Ramp(outputEntries, 65535), outputChannels);
  return lut;
}

Lut IdentityLut8(std::uint8_t gridPoints, std::uint8_t outputChannels) {
  Lut lut;
  lut.sixteenBit = false;
  lut.outputChannels = outputChannels;
  lut.gridPoints = gridPoints;
  lut.inputTables = Repeat(Ramp(256, 255), 3);
  lut.grid.assign(lut.GridValues(), 0);
  lut.outputTables = Repeat(Ramp(256, 255), outputChannels);
  return lut;
}

void FillRandomGrid(Lut& lut, std::mt19937& rng) {
  std::uniform_int_distribution<unsigned> pick(0, lut.sixteenBit ? 65535 : 255);
  for (auto& v : lut.grid) v = static_cast<std::uint16_t>(pick(rng));
}

void RandomizeInputTables(Lut& lut, std::mt19937& rng) {
  const unsigned entries = lut.sixteenBit ? lut.inputEntries : 256;
  lut.inputTables.clear();
  for (unsigned c = 0; c < lut.inputChannels; ++c) {
    const auto curve = RandomCurve(entries, lut.sixteenBit ? 65535 : 255, rng);
    lut.inputTables.insert(lut.inputTables.end(), curve.begin(), curve.end());
  }
}

void RandomizeOutputTables(Lut& lut, std::mt19937& rng) {
  const unsigned entries = lut.sixteenBit ? lut.outputEntries : 256;
  lut.outputTables.clear();
  for (unsigned c = 0; c < lut.outputChannels; ++c) {
    const auto curve = RandomCurve(entries, lut.sixteenBit ? 65535 : 255, rng);
    lut.outputTables.insert(lut.outputTables.end(), curve.begin(), curve.end());
  }
}

Profile& Profile::Add(std::uint32_t signature, const Lut& lut, std::uint32_t spareBytes) {
  auto data = lut.Encode();
  data.resize(data.size() + spareBytes, 0);
  tags.push_back({signature, std::move(data), {}, {}, -1});
  return *this;
}

Profile& Profile::AddRaw(std::uint32_t signature, std::vector<std::uint8_t> data) {
  tags.push_back({signature, std::move(data), {}, {}, -1});
  return *this;
}

std::vector<std::uint8_t> Profile::Build() const {
  std::vector<std::uint8_t> out(128, 0);
  Set32(out, 4, Sig("lcms"));
  Set32(out, 8, 0x02100000);
  Set32(out, 12, deviceClass);
  Set32(out, 16, colorSpace);
  Set32(out, 20, connectionSpace);
  Set32(out, 36, Sig("acsp"));
  Set32(out, 68, 0x0000F6D6);  // D50 illuminant
  Set32(out, 72, 0x00010000);
  Set32(out, 76, 0x0000D32D);
  Put32(out, tagCount.value_or(static_cast<std::uint32_t>(tags.size())));
  const std::size_t tableAt = out.size();
  out.resize(tableAt + 12 * tags.size(), 0);
  std::vector<std::uint32_t> offsets(tags.size());
  for (std::size_t i = 0; i < tags.size(); ++i) {
    const Tag& tag = tags[i];
    std::uint32_t offset, size;
    if (tag.sharesDataWith >= 0) {
      offset = offsets.at(static_cast<std::size_t>(tag.sharesDataWith));
      size = static_cast<std::uint32_t>(
          tags[static_cast<std::size_t>(tag.sharesDataWith)].data.size());
    } else {
      while (out.size() % 4 != 0) out.push_back(0);
      offset = static_cast<std::uint32_t>(out.size());
      size = static_cast<std::uint32_t>(tag.data.size());
      out.insert(out.end(), tag.data.begin(), tag.data.end());
    }
    offsets[i] = offset;
    Set32(out, tableAt + 12 * i, tag.signature);
    Set32(out, tableAt + 12 * i + 4, tag.offset.value_or(offset));
    Set32(out, tableAt + 12 * i + 8, tag.size.value_or(size));
  }
  Set32(out, 0, static_cast<std::uint32_t>(out.size()));
  return out;
}

Profile TypicalProfile(std::mt19937& rng, std::uint8_t gridPoints) {
  Profile profile;
  for (const auto sig : {Sig("B2A0"), Sig("B2A1"), Sig("B2A2")}) {
    Lut lut = IdentityLut16(gridPoints, 256, 256);
    FillRandomGrid(lut, rng);
    profile.Add(sig, lut, 2);
  }
  Lut gamut = IdentityLut16(gridPoints, 2, 256, 1);
  FillRandomGrid(gamut, rng);
  profile.Add(Sig("gamt"), gamut, 2);
  return profile;
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  if (!file) throw std::runtime_error("cannot write " + path);
}

}  // namespace icc

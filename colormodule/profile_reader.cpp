// Header check, tag table walk and lut8/lut16 decoding. Every size that
// comes from the file is checked in 64-bit arithmetic before it is used, so
// the 32-bit buffer sizes below never wrap.
#include "profile_reader.h"

#include <cstdlib>
#include <cstring>

namespace huebridge {
namespace {

constexpr std::uint32_t kHeaderAndCount = 132;
constexpr std::uint32_t kTagEntrySize = 12;
constexpr std::uint32_t kLut8HeaderSize = 48;
constexpr std::uint32_t kLut16HeaderSize = 52;

std::uint32_t LoadBe32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
         static_cast<std::uint32_t>(p[2]) << 8 | static_cast<std::uint32_t>(p[3]);
}

std::uint16_t LoadBe16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
}

void ToHost32(std::uint8_t* p) {
  const std::uint32_t v = LoadBe32(p);
  std::memcpy(p, &v, sizeof v);
}

void ToHost16(std::uint8_t* p) {
  const std::uint16_t v = LoadBe16(p);
  std::memcpy(p, &v, sizeof v);
}

std::uint32_t LoadHost32(const std::uint8_t* p) {
  std::uint32_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// outputChannels x gridPoints^inputChannels, saturated far above any size a
// 32-bit file can hold so that the caller's 64-bit sums cannot overflow.
std::uint64_t GridValues(std::uint32_t gridPoints, std::uint32_t inputChannels,
                         std::uint32_t outputChannels) {
  constexpr std::uint64_t kCap = std::uint64_t{1} << 40;
  std::uint64_t values = outputChannels;
  for (std::uint32_t i = 0; i < inputChannels && values != 0; ++i) {
    values *= gridPoints;
    if (values > kCap) return kCap;
  }
  return values;
}

// A zero-filled slot buffer; never asks malloc for 0 bytes, so that a
// decoded slot always owns a buffer.
void* AllocSlotBuffer(std::uint32_t bytes) { return std::calloc(bytes == 0 ? 1 : bytes, 1); }

DWORD ReadLut8(const std::uint8_t* tag, std::uint32_t tagSize, CMM_LUT* slot) {
  if (tagSize < kLut8HeaderSize) return ERROR_INVALID_DATA;
  const std::uint32_t in = tag[8], out = tag[9], grid = tag[10];
  const std::uint64_t gridBytes = GridValues(grid, in, out);
  const std::uint64_t need =
      kLut8HeaderSize + std::uint64_t{in} * 256 + gridBytes + std::uint64_t{out} * 256;
  if (need > tagSize) return ERROR_INVALID_DATA;

  const std::uint32_t inBytes = in * 256, outBytes = out * 256;
  const auto clutBytes = static_cast<std::uint32_t>(gridBytes);
  auto* buffer = static_cast<std::uint8_t*>(AllocSlotBuffer(inBytes + clutBytes + outBytes));
  if (buffer == nullptr) return ERROR_OUTOFMEMORY;
  FreeLut(slot);  // a repeated tag replaces the earlier one

  const std::uint8_t* data = tag + kLut8HeaderSize;
  std::memcpy(buffer, data, inBytes + clutBytes + outBytes);
  std::uint8_t identity = 1;
  for (std::uint32_t i = 0; i < inBytes && identity; ++i) {
    if (buffer[i] != (i & 0xFF)) identity = 0;
  }
  slot->inputTables = buffer;
  slot->clut = buffer + inBytes;
  slot->outputTables = buffer + inBytes + clutBytes;
  slot->kind = kLut8;
  slot->inputEntries = 0;
  slot->outputEntries = 0;
  slot->inputChannels = static_cast<std::uint8_t>(in);
  slot->outputChannels = static_cast<std::uint8_t>(out);
  slot->gridPoints = static_cast<std::uint8_t>(grid);
  slot->identityInput = identity;
  return 0;
}

DWORD ReadLut16(const std::uint8_t* tag, std::uint32_t tagSize, CMM_LUT* slot) {
  if (tagSize < kLut16HeaderSize) return ERROR_INVALID_DATA;
  const std::uint32_t in = tag[8], out = tag[9], grid = tag[10];
  const std::uint32_t inEntries = LoadBe16(tag + 48), outEntries = LoadBe16(tag + 50);
  const std::uint64_t gridValues = GridValues(grid, in, out);
  const std::uint64_t values =
      std::uint64_t{in} * inEntries + gridValues + std::uint64_t{out} * outEntries;
  if (kLut16HeaderSize + 2 * values > tagSize) return ERROR_INVALID_DATA;

  const std::uint32_t inValues = in * inEntries, outValues = out * outEntries;
  const auto clutValues = static_cast<std::uint32_t>(gridValues);
  const std::uint32_t count = inValues + clutValues + outValues;
  auto* buffer = static_cast<std::uint16_t*>(AllocSlotBuffer(2 * count));
  if (buffer == nullptr) return ERROR_OUTOFMEMORY;
  FreeLut(slot);

  const std::uint8_t* data = tag + kLut16HeaderSize;
  for (std::uint32_t i = 0; i < count; ++i) buffer[i] = LoadBe16(data + 2 * i);
  slot->inputTables = buffer;
  slot->clut = buffer + inValues;
  slot->outputTables = buffer + inValues + clutValues;
  slot->kind = kLut16;
  slot->inputEntries = static_cast<std::uint16_t>(inEntries);
  slot->outputEntries = static_cast<std::uint16_t>(outEntries);
  slot->inputChannels = static_cast<std::uint8_t>(in);
  slot->outputChannels = static_cast<std::uint8_t>(out);
  slot->gridPoints = static_cast<std::uint8_t>(grid);
  slot->identityInput = 0;
  return 0;
}

CMM_LUT* SlotForTag(std::uint32_t signature, CMM_TRANSFORM* t) {
  switch (signature) {
    case Sig("B2A0"):
      return &t->b2a[0];
    case Sig("B2A1"):
      return &t->b2a[1];
    case Sig("B2A2"):
      return &t->b2a[2];
    case Sig("gamt"):
      return &t->gamutLut;
    default:
      return nullptr;
  }
}

}  // namespace

bool CheckProfileHeader(std::uint8_t* image, std::uint32_t size) {
  if (size < kHeaderAndCount) return false;
  // size, CMM type, version, device class, colour space, connection space
  for (std::uint32_t offset = 0; offset < 24; offset += 4) ToHost32(image + offset);
  for (std::uint32_t offset = 24; offset < 36; offset += 2) ToHost16(image + offset);  // date
  ToHost32(image + 44);                                                                // flags
  ToHost32(image + 56);  // device attributes, two 32-bit halves
  ToHost32(image + 60);
  for (std::uint32_t offset = 64; offset < 80; offset += 4)
    ToHost32(image + offset);  // intent, illuminant

  const std::uint32_t deviceClass = LoadHost32(image + 12);
  const std::uint32_t colorSpace = LoadHost32(image + 16);
  return deviceClass == Sig("prtr") && (colorSpace == Sig("CMYK") || colorSpace == Sig("RGB "));
}

DWORD ReadTagTable(std::uint8_t* image, std::uint32_t size, CMM_TRANSFORM* t) {
  ToHost32(image + 128);
  const std::uint32_t count = LoadHost32(image + 128);
  if (count == 0) return 0;
  if (kHeaderAndCount + std::uint64_t{kTagEntrySize} * count > size) return ERROR_INVALID_DATA;

  for (std::uint32_t i = 0; i < count; ++i) {
    std::uint8_t* entry = image + kHeaderAndCount + kTagEntrySize * i;
    ToHost32(entry);
    ToHost32(entry + 4);
    ToHost32(entry + 8);
    CMM_LUT* slot = SlotForTag(LoadHost32(entry), t);
    if (slot == nullptr) continue;  // tags the module does not use are not checked
    const std::uint32_t offset = LoadHost32(entry + 4), tagSize = LoadHost32(entry + 8);
    if (std::uint64_t{offset} + tagSize > size) return ERROR_INVALID_DATA;
    if (const DWORD code = ReadLutTag(image + offset, tagSize, slot)) return code;
  }
  return 0;
}

DWORD ReadLutTag(const std::uint8_t* tag, std::uint32_t tagSize, CMM_LUT* slot) {
  if (tagSize < 4) return 0;  // too small to name a type: no table
  switch (LoadBe32(tag)) {
    case Sig("mft1"):
      return ReadLut8(tag, tagSize, slot);
    case Sig("mft2"):
      return ReadLut16(tag, tagSize, slot);
    default:
      return 0;
  }
}

void FreeLut(CMM_LUT* slot) {
  std::free(slot->inputTables);
  *slot = CMM_LUT{};
}

CMM_LUT* SelectLut(CMM_TRANSFORM* t) {
  switch (t->colorSpace.lcsIntent) {
    case LCS_GM_BUSINESS:
      return &t->b2a[2];
    case LCS_GM_GRAPHICS:
      return &t->b2a[1];
    default:
      return &t->b2a[0];
  }
}

}  // namespace huebridge

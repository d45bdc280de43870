// The records every part of the module shares: one transform and one
// decoded lookup table.
#pragma once

#include <cstddef>
#include <cstdint>

#include "huebridge.h"

// The Windows x64 layouts both builds share with their callers.
static_assert(sizeof(COLOR) == 16 && sizeof(WORD) == 2 && sizeof(DWORD) == 4 && sizeof(BOOL) == 4);
static_assert(sizeof(LOGCOLORSPACEA) == 328 && offsetof(LOGCOLORSPACEA, lcsCSType) == 12 &&
              offsetof(LOGCOLORSPACEA, lcsIntent) == 16);
// The wide entries read the first five fields through the ANSI record.
static_assert(offsetof(LOGCOLORSPACEW, lcsIntent) == offsetof(LOGCOLORSPACEA, lcsIntent) &&
              offsetof(LOGCOLORSPACEW, lcsEndpoints) == offsetof(LOGCOLORSPACEA, lcsEndpoints));
static_assert(sizeof(HCMTRANSFORM) == sizeof(void*) && sizeof(COLORREF) == 4);

namespace huebridge {

struct FastBitmapTables;

// One decoded 'mft1' (lut8) or 'mft2' (lut16) table. A slot whose tag is
// absent, or of a type the module does not read, stays all zero; a decoded
// slot always has its buffer, so inputTables == nullptr means "empty".
struct CMM_LUT {
  // The slot's single heap buffer starts with the input tables; the grid and
  // then the output tables follow in the same buffer. Bytes for lut8,
  // unsigned 16-bit values for lut16.
  void* inputTables;
  void* outputTables;
  void* clut;
  std::uint32_t kind;           // kLut8 or kLut16
  std::uint16_t inputEntries;   // lut16 only
  std::uint16_t outputEntries;  // lut16 only
  std::uint8_t inputChannels;
  std::uint8_t outputChannels;
  std::uint8_t gridPoints;
  std::uint8_t identityInput;  // lut8 only: every input table is 0..255
};

inline constexpr std::uint32_t kLut8 = 0;
inline constexpr std::uint32_t kLut16 = 1;

// A transform handle is the address of this record; it owns everything it
// points to. Zero-filled at allocation.
struct CMM_TRANSFORM {
  LOGCOLORSPACEA colorSpace;    // only the first five fields are copied
  std::uint8_t* profile;        // the file as read; header and tag table in host order
  CMM_LUT* currentLut;          // the b2a entry chosen by SelectLut
  std::uint32_t* srgbToLinear;  // 256 entries, built on the first RGB conversion
  std::uint32_t* lightness;     // 512 entries, built with srgbToLinear
  std::uint32_t* cubeRoot;      // 512 entries, built with srgbToLinear
  CMM_LUT gamutLut;             // 'gamt'
  CMM_LUT b2a[3];               // 'B2A0', 'B2A1', 'B2A2'
  std::uint32_t profileSize;    // bytes in profile
  // Precomputed tables of the bitmap fast path, one per b2a slot, built on
  // the first large bitmap through that slot.
  FastBitmapTables* fast[3];
  // CMTranslateRGB's last colour (red in bits 0-7) and answer, through
  // lastRgbLut (null: none yet), for callers that repeat a colour.
  const CMM_LUT* lastRgbLut;
  COLORREF lastRgb, lastRgbResult;
};

// Signatures as 32-bit values, first character in the top byte.
constexpr std::uint32_t Sig(const char (&s)[5]) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(s[0])) << 24 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(s[1])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(s[2])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(s[3]));
}

// Transform life (transform.cpp).
CMM_TRANSFORM* NewTransform(const LOGCOLORSPACEA& colorSpace);
// Checks and decodes `image` (a malloc'ed buffer of `size` bytes) into `t`,
// which takes ownership of it in every case. 0 or a Win32 error code.
DWORD AttachProfile(CMM_TRANSFORM* t, std::uint8_t* image, std::uint32_t size);
void FreeTransform(CMM_TRANSFORM* t);
// The profile's colour space from its (host-order) header.
std::uint32_t ProfileColorSpace(const CMM_TRANSFORM* t);

}  // namespace huebridge

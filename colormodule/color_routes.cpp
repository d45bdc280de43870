// Colour arrays, single colours and gamut checks.
#include <cstring>

#include "bitmap_fast.h"
#include "lab_tables.h"
#include "lut_eval.h"
#include "profile_reader.h"
#include "routes.h"

namespace huebridge {
namespace {

bool ColorSpaceTypeIsRgb(const CMM_TRANSFORM* t) {
  return t->colorSpace.lcsCSType == 0 || t->colorSpace.lcsCSType == 1;
}

bool ProfileIsCmyk(const CMM_TRANSFORM* t) { return ProfileColorSpace(t) == Sig("CMYK"); }

enum class Route { kNone, kRgbToCmyk, kRgbToLab, kRgbToXyz, kTableToCmyk };

Route ChooseRoute(const CMM_TRANSFORM* t, COLORTYPE in, COLORTYPE out) {
  if (in == COLOR_RGB && ColorSpaceTypeIsRgb(t)) {
    if (out == COLOR_CMYK && ProfileIsCmyk(t)) return Route::kRgbToCmyk;
    if (out == COLOR_Lab) return Route::kRgbToLab;
    if (out == COLOR_XYZ) return Route::kRgbToXyz;
  }
  if ((in == COLOR_Lab || in == COLOR_CMYK) && out == COLOR_CMYK && ProfileIsCmyk(t)) {
    return Route::kTableToCmyk;
  }
  return Route::kNone;
}

void ReadWords(const COLOR& c, std::uint16_t w[3]) {
  // The channels are the first three 16-bit words whatever the colour type.
  w[0] = c.rgb.red;
  w[1] = c.rgb.green;
  w[2] = c.rgb.blue;
}

void WriteWords3(COLOR& c, const std::uint16_t w[3]) {
  c.rgb.red = w[0];
  c.rgb.green = w[1];
  c.rgb.blue = w[2];
}

void WriteCmyk(COLOR& c, const std::uint16_t w[4]) {
  c.cmyk.cyan = w[0];
  c.cmyk.magenta = w[1];
  c.cmyk.yellow = w[2];
  c.cmyk.black = w[3];
}

// One COLORREF through RgbToLab and the device table, as CMTranslateRGB
// packs it.
COLORREF PlainRgb(const CMM_TRANSFORM* t, COLORREF color) {
  std::uint16_t w[4];
  const std::uint16_t rgb[3] = {static_cast<std::uint16_t>((color & 0xFF) * 256),
                                static_cast<std::uint16_t>((color >> 8 & 0xFF) * 256),
                                static_cast<std::uint16_t>((color >> 16 & 0xFF) * 256)};
  RgbToLab(t, rgb, w);
  EvalDeviceTable(t->currentLut, w, w);
  // The high byte of output 0 goes in the lowest byte.
  return static_cast<COLORREF>(w[0] >> 8) | static_cast<COLORREF>(w[1] >> 8) << 8 |
         static_cast<COLORREF>(w[2] >> 8) << 16 | static_cast<COLORREF>(w[3] >> 8) << 24;
}

}  // namespace

bool PrepareDeviceTable(CMM_TRANSFORM* t, const CMM_LUT* lut, bool needLab) {
  if (!DeviceTableUsable(lut)) {
    SetLastError(ERROR_INVALID_DATA);
    return false;
  }
  if (needLab && !BuildLabTables(t)) {
    SetLastError(ERROR_OUTOFMEMORY);
    return false;
  }
  return true;
}

BOOL TranslateColors(CMM_TRANSFORM* t, const COLOR* input, DWORD count, COLORTYPE inputType,
                     COLOR* output, COLORTYPE outputType) {
  t->currentLut = SelectLut(t);
  const Route route = ChooseRoute(t, inputType, outputType);
  if (route == Route::kNone || (count != 0 && (input == nullptr || output == nullptr))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (count == 0) return TRUE;
  const CMM_LUT* lut = t->currentLut;
  const bool usesTable = route == Route::kRgbToCmyk || route == Route::kTableToCmyk;
  const bool usesLab = route != Route::kTableToCmyk;
  if (usesTable) {
    if (!PrepareDeviceTable(t, lut, usesLab)) return FALSE;
  } else if (!BuildLabTables(t)) {
    SetLastError(ERROR_OUTOFMEMORY);
    return FALSE;
  }

  // Colours often repeat the one before: then its words are copied. For RGB
  // only the high bytes count, so they alone are compared.
  const std::uint16_t keep = route == Route::kTableToCmyk ? 0xFFFF : 0xFF00;
  std::uint16_t last[3] = {}, lastOut[4] = {};
  bool haveLast = false;
  for (DWORD i = 0; i < count; ++i) {
    std::uint16_t in[3], w[4];
    ReadWords(input[i], in);
    const bool table = route == Route::kRgbToCmyk || route == Route::kTableToCmyk;
    if (table && haveLast && ((in[0] ^ last[0]) & keep) == 0 && ((in[1] ^ last[1]) & keep) == 0 &&
        ((in[2] ^ last[2]) & keep) == 0) {
      WriteCmyk(output[i], lastOut);
      continue;
    }
    switch (route) {
      case Route::kRgbToCmyk:
        std::memcpy(last, in, sizeof last);
        RgbToLab(t, in, w);
        EvalDeviceTable(lut, w, w);
        WriteCmyk(output[i], w);
        std::memcpy(lastOut, w, sizeof lastOut);
        haveLast = true;
        break;
      case Route::kRgbToLab:
        RgbToLab(t, in, w);
        WriteWords3(output[i], w);
        break;
      case Route::kRgbToXyz:
        RgbToXyz(t, in, w);
        WriteWords3(output[i], w);
        break;
      case Route::kTableToCmyk:
        std::memcpy(last, in, sizeof last);
        EvalDeviceTable(lut, in, w);
        WriteCmyk(output[i], w);
        std::memcpy(lastOut, w, sizeof lastOut);
        haveLast = true;
        break;
      case Route::kNone:
        break;
    }
  }
  return TRUE;
}

BOOL TranslateRgb(CMM_TRANSFORM* t, COLORREF color, COLORREF* result, DWORD flags) {
  if (flags == CMS_BACKWARD) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!ColorSpaceTypeIsRgb(t)) return FALSE;  // no error code, as before
  if (!ProfileIsCmyk(t)) return TRUE;         // nothing to do for an 'RGB ' profile
  if (result == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  t->currentLut = SelectLut(t);
  if (!PrepareDeviceTable(t, t->currentLut, true)) return FALSE;
  const COLORREF rgb = color & 0xFFFFFF;
  if (t->lastRgbLut == t->currentLut && t->lastRgb == rgb) {
    *result = t->lastRgbResult;
    return TRUE;
  }
  // The bitmap fast path's cache holds the same four bytes, once it exists.
  FastBitmapTables* fast = t->fast[t->currentLut - t->b2a];
  const std::uint64_t entry = fast != nullptr ? fast->cache[CacheSlot(rgb)] : kNoColour;
  if (static_cast<std::uint32_t>(entry) == rgb) {
    *result = static_cast<COLORREF>(entry >> 32);
  } else {
    *result = PlainRgb(t, rgb);
    if (fast != nullptr) fast->cache[CacheSlot(rgb)] = rgb | std::uint64_t{*result} << 32;
  }
  t->lastRgbLut = t->currentLut;
  t->lastRgb = rgb;
  t->lastRgbResult = *result;
  return TRUE;
}

BOOL CheckColors(CMM_TRANSFORM* t, const COLOR* input, DWORD count, COLORTYPE inputType,
                 BYTE* result) {
  if (inputType != COLOR_Lab) return FALSE;  // no error code
  if (count != 0 && (input == nullptr || result == nullptr)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (count == 0) return TRUE;
  if (!GamutTableUsable(&t->gamutLut)) {
    SetLastError(ERROR_INVALID_DATA);
    return FALSE;
  }
  if (t->gamutLut.kind == kLut16) return GamutLut16(&t->gamutLut, input, count, result);
  return GamutLut8(&t->gamutLut, input, count, result);
}

}  // namespace huebridge

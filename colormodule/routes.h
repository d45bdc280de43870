// The translation and check routes behind the exports. Every route takes a
// live transform; the exports refuse invalid handles before calling them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "cmm_transform.h"

namespace huebridge {

BOOL TranslateColors(CMM_TRANSFORM* t, const COLOR* input, DWORD count, COLORTYPE inputType,
                     COLOR* output, COLORTYPE outputType);
BOOL TranslateRgb(CMM_TRANSFORM* t, COLORREF color, COLORREF* result, DWORD flags);
BOOL TranslateBitmap(CMM_TRANSFORM* t, const void* source, BMFORMAT inputFormat, DWORD width,
                     DWORD height, DWORD inputStride, void* dest, BMFORMAT outputFormat,
                     DWORD outputStride, PBMCALLBACKFN callback,
                     HUEBRIDGE_CALLBACK_DATA callbackData);
BOOL CheckColors(CMM_TRANSFORM* t, const COLOR* input, DWORD count, COLORTYPE inputType,
                 BYTE* result);

// The plain route for one bitmap row of 3- or 4-byte RGB pixels: RgbToLab,
// then the device table; four output bytes a pixel. The reference the fast
// path is held to.
void ScalarRow(const CMM_TRANSFORM* t, const CMM_LUT* lut, const std::uint8_t* source,
               unsigned pixelBytes, std::uint8_t* dest, std::size_t width);

// Ready for evaluating `lut`: FALSE with ERROR_INVALID_DATA when it cannot
// be evaluated, ERROR_OUTOFMEMORY when the conversion tables cannot be
// built (only when `needLab`).
bool PrepareDeviceTable(CMM_TRANSFORM* t, const CMM_LUT* lut, bool needLab);

}  // namespace huebridge

// Bitmaps of RGB pixels to CMYK quads, row by row with a progress callback.
#include "bitmap_fast.h"
#include "lab_tables.h"
#include "lut_eval.h"
#include "profile_reader.h"
#include "routes.h"

namespace huebridge {
namespace {

// Below this many pixels building the fast-path tables (about 130 000
// single-channel evaluations) costs more than it saves.
constexpr std::uint64_t kFastPathPixels = 16384;

unsigned InputPixelBytes(BMFORMAT format) {
  switch (format) {
    case BM_RGBTRIPLETS:
    case BM_BGRTRIPLETS:
      return 3;
    case BM_xRGBQUADS:
    case BM_xBGRQUADS:
      return 4;
    default:
      return 0;
  }
}

// Distance between row starts: a non-zero stride as given (at least a row),
// zero for rows padded to a multiple of 4 bytes. 0 when the stride is short.
std::uint64_t RowPitch(DWORD stride, std::uint64_t rowBytes) {
  if (stride == 0) return (rowBytes + 3) & ~std::uint64_t{3};
  return stride >= rowBytes ? stride : 0;
}

FastBitmapTables* FastTablesFor(CMM_TRANSFORM* t, const CMM_LUT* lut) {
  const auto slot = static_cast<std::size_t>(lut - t->b2a);
  if (t->fast[slot] == nullptr) t->fast[slot] = BuildFastTables(t, lut);
  return t->fast[slot];  // null when out of memory: the plain route serves
}

}  // namespace

void ScalarRow(const CMM_TRANSFORM* t, const CMM_LUT* lut, const std::uint8_t* source,
               unsigned pixelBytes, std::uint8_t* dest, std::size_t width) {
  for (std::size_t x = 0; x < width; ++x, source += pixelBytes, dest += 4) {
    std::uint16_t w[4];
    const std::uint16_t rgb[3] = {static_cast<std::uint16_t>(source[0] * 256),
                                  static_cast<std::uint16_t>(source[1] * 256),
                                  static_cast<std::uint16_t>(source[2] * 256)};
    RgbToLab(t, rgb, w);
    EvalDeviceTable(lut, w, w);
    for (unsigned k = 0; k < 4; ++k) dest[k] = static_cast<std::uint8_t>(w[k] >> 8);
  }
}

BOOL TranslateBitmap(CMM_TRANSFORM* t, const void* source, BMFORMAT inputFormat, DWORD width,
                     DWORD height, DWORD inputStride, void* dest, BMFORMAT outputFormat,
                     DWORD outputStride, PBMCALLBACKFN callback,
                     HUEBRIDGE_CALLBACK_DATA callbackData) {
  t->currentLut = SelectLut(t);
  // Both output formats receive C, M, Y, K in bytes 0 to 3.
  if (outputFormat != BM_CMYKQUADS && outputFormat != BM_KYMCQUADS) return FALSE;
  // Byte 0 of every input format is taken as red.
  const unsigned pixelBytes = InputPixelBytes(inputFormat);
  if (pixelBytes == 0) return FALSE;

  const std::uint64_t inPitch = RowPitch(inputStride, std::uint64_t{width} * pixelBytes);
  const std::uint64_t outPitch = RowPitch(outputStride, std::uint64_t{width} * 4);
  const bool hasPixels = width != 0 && height != 0;
  if ((width != 0 && (inPitch == 0 || outPitch == 0)) ||
      (hasPixels && (source == nullptr || dest == nullptr))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const CMM_LUT* lut = t->currentLut;
  if (hasPixels && !PrepareDeviceTable(t, lut, true)) return FALSE;

  FastBitmapTables* fast = nullptr;
  if (hasPixels && std::uint64_t{width} * height >= kFastPathPixels) fast = FastTablesFor(t, lut);
  const auto* in = static_cast<const std::uint8_t*>(source);
  auto* out = static_cast<std::uint8_t*>(dest);
  for (DWORD row = 0; row < height; ++row) {
    if (width != 0) {
      const std::uint8_t* rowIn = in + row * inPitch;
      std::uint8_t* rowOut = out + row * outPitch;
      if (fast != nullptr) {
        fast->row(*fast, rowIn, pixelBytes, rowOut, width);
      } else {
        ScalarRow(t, lut, rowIn, pixelBytes, rowOut, width);
      }
    }
    if (callback != nullptr && !callback(height, row + 1, callbackData)) break;
  }
  return TRUE;
}

}  // namespace huebridge

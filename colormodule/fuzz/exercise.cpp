#include "exercise.h"

#include <cstdlib>
#include <cstring>
#include <iterator>

#include "bitmap_fast.h"
#include "cmm_transform.h"
#include "lab_tables.h"
#include "lut_eval.h"
#include "profile_reader.h"
#include "routes.h"

namespace huebridge_fuzz {
namespace {

using huebridge::CMM_TRANSFORM;

constexpr WORD kWords[] = {0, 1, 0x00FF, 0x7FFF, 0x8000, 0x8080, 0xFF00, 0xFFFE, 0xFFFF};

BOOL StopAfterTwoRows(ULONG, ULONG done, HUEBRIDGE_CALLBACK_DATA) { return done < 2; }

void Colors(HCMTRANSFORM h) {
  COLOR in[std::size(kWords) * 3], out[std::size(kWords) * 3];
  for (std::size_t i = 0; i < std::size(in); ++i) {
    in[i] = COLOR{};
    in[i].rgb = {kWords[i % std::size(kWords)], kWords[(i / 3) % std::size(kWords)],
                 kWords[(i * 7) % std::size(kWords)]};
  }
  const COLORTYPE types[] = {COLOR_GRAY, COLOR_RGB, COLOR_XYZ, COLOR_Lab, COLOR_CMYK};
  for (const COLORTYPE from : types) {
    for (const COLORTYPE to : types) {
      CMTranslateColors(h, in, static_cast<DWORD>(std::size(in)), from, out, to);
    }
  }
  BYTE result[std::size(in)];
  CMCheckColors(h, in, static_cast<DWORD>(std::size(in)), COLOR_Lab, result);
  CMCheckColors(h, in, static_cast<DWORD>(std::size(in)), COLOR_RGB, result);
  for (const COLORREF ref : {0x000000u, 0xFFFFFFu, 0x808080u, 0x0000FFu, 0x123456u}) {
    COLORREF packed;
    CMTranslateRGB(h, ref, &packed, 0);
  }
}

void Bitmaps(HCMTRANSFORM h) {
  constexpr DWORD kWidth = 5, kHeight = 3;
  std::uint8_t source[kHeight * 32], dest[kHeight * 32];
  for (std::size_t i = 0; i < sizeof source; ++i) source[i] = static_cast<std::uint8_t>(i * 37);
  for (const BMFORMAT format : {BM_RGBTRIPLETS, BM_BGRTRIPLETS, BM_xRGBQUADS, BM_xBGRQUADS}) {
    CMTranslateRGBs(h, source, format, kWidth, kHeight, 0, dest, BM_CMYKQUADS, 0);
    CMTranslateRGBsExt(h, source, format, kWidth, kHeight, 24, dest, BM_KYMCQUADS, 28,
                       StopAfterTwoRows, 0);
  }
}

// The fast path must give the plain route's bytes on any table it accepts.
void FastPathAgrees(CMM_TRANSFORM* t) {
  const huebridge::CMM_LUT* lut = huebridge::SelectLut(t);
  if (!huebridge::DeviceTableUsable(lut) || !huebridge::BuildLabTables(t)) return;
  huebridge::FastBitmapTables* fast = huebridge::BuildFastTables(t, lut);
  if (fast == nullptr) return;
  // A batch of equal pairs (the colour cache and runs), one of new colours
  // (all misses, so the cache is then skipped) and one that skips it.
  constexpr std::size_t kPixels = 768;
  std::uint8_t source[kPixels * 3], plain[kPixels * 4], quick[kPixels * 4];
  for (std::size_t p = 0; p < kPixels; ++p) {
    const std::uint8_t pair[3] = {static_cast<std::uint8_t>(p / 2 * 101 + 7),
                                  static_cast<std::uint8_t>(p / 2 * 101 + 44),
                                  static_cast<std::uint8_t>(p / 2 * 101 + 81)};
    const std::uint8_t fresh[3] = {static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(p >> 8),
                                   static_cast<std::uint8_t>(p * 7)};
    std::memcpy(source + 3 * p, p < 256 ? pair : fresh, 3);
  }
  huebridge::ScalarRow(t, lut, source, 3, plain, kPixels);
  huebridge::FastRowPortable(*fast, source, 3, quick, kPixels);
  if (std::memcmp(plain, quick, sizeof plain) != 0) std::abort();
  const bool has[] = {huebridge::CpuHasSse41(), huebridge::CpuHasAvx2()};
  const huebridge::FastRowFn rows[] = {huebridge::FastRowSse41, huebridge::FastRowAvx2};
  for (unsigned i = 0; i < 2; ++i) {
    if (!has[i]) continue;
    huebridge::ClearColourCache(*fast);
    rows[i](*fast, source, 3, quick, kPixels);
    if (std::memcmp(plain, quick, sizeof plain) != 0) std::abort();
  }
  huebridge::FreeFastTables(fast);
}

}  // namespace

void ExerciseProfile(const std::uint8_t* data, std::size_t size) {
  if (size > 0xFFFFFFFFu) return;
  LOGCOLORSPACEA colorSpace{};
  CMM_TRANSFORM* t = huebridge::NewTransform(colorSpace);
  if (t == nullptr) return;
  auto* image = static_cast<std::uint8_t*>(std::malloc(size == 0 ? 1 : size));
  if (image == nullptr) {
    huebridge::FreeTransform(t);
    return;
  }
  if (size != 0) std::memcpy(image, data, size);
  if (huebridge::AttachProfile(t, image, static_cast<std::uint32_t>(size)) != 0) {
    huebridge::FreeTransform(t);
    return;
  }
  // The record's intent and colour-space type are read on every call.
  for (const LONG intent : {LCS_GM_IMAGES, LCS_GM_GRAPHICS, LCS_GM_BUSINESS}) {
    for (const LONG csType : {0, 2}) {
      t->colorSpace.lcsIntent = intent;
      t->colorSpace.lcsCSType = csType;
      Colors(t);
      Bitmaps(t);
    }
    FastPathAgrees(t);
  }
  CMDeleteTransform(t);
}

}  // namespace huebridge_fuzz

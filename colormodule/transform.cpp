// Creating and releasing the transform record.
#include <cstdlib>
#include <cstring>

#include "bitmap_fast.h"
#include "profile_reader.h"

namespace huebridge {

CMM_TRANSFORM* NewTransform(const LOGCOLORSPACEA& colorSpace) {
  auto* t = static_cast<CMM_TRANSFORM*>(std::calloc(1, sizeof(CMM_TRANSFORM)));
  if (t == nullptr) return nullptr;
  // Only the first five fields are kept; lcsCSType and lcsIntent steer the
  // translations.
  t->colorSpace.lcsSignature = colorSpace.lcsSignature;
  t->colorSpace.lcsVersion = colorSpace.lcsVersion;
  t->colorSpace.lcsSize = colorSpace.lcsSize;
  t->colorSpace.lcsCSType = colorSpace.lcsCSType;
  t->colorSpace.lcsIntent = colorSpace.lcsIntent;
  return t;
}

DWORD AttachProfile(CMM_TRANSFORM* t, std::uint8_t* image, std::uint32_t size) {
  t->profile = image;
  t->profileSize = size;
  if (!CheckProfileHeader(image, size)) return ERROR_INVALID_DATA;
  if (const DWORD code = ReadTagTable(image, size, t)) return code;
  t->currentLut = SelectLut(t);
  return 0;
}

void FreeTransform(CMM_TRANSFORM* t) {
  for (CMM_LUT& slot : t->b2a) FreeLut(&slot);
  FreeLut(&t->gamutLut);
  for (FastBitmapTables* fast : t->fast) FreeFastTables(fast);
  std::free(t->srgbToLinear);
  std::free(t->lightness);
  std::free(t->cubeRoot);
  std::free(t->profile);
  std::free(t);
}

std::uint32_t ProfileColorSpace(const CMM_TRANSFORM* t) {
  std::uint32_t space;
  std::memcpy(&space, t->profile + 16, sizeof space);  // converted to host order at creation
  return space;
}

}  // namespace huebridge

// The exported CM functions: argument and handle checks, then the routes.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "cmm_transform.h"
#include "profile_reader.h"
#include "routes.h"

using huebridge::CMM_TRANSFORM;

namespace {

// Error codes travel in the handle's place; real handles are addresses and
// never below 256.
HCMTRANSFORM Fail(DWORD code) {
  SetLastError(code);
  return reinterpret_cast<HCMTRANSFORM>(static_cast<std::uintptr_t>(code));
}

// The record behind a handle, or null (with ERROR_INVALID_HANDLE set) for
// null and for values below 256, which are creation error codes.
CMM_TRANSFORM* Transform(HCMTRANSFORM handle) {
  if (reinterpret_cast<std::uintptr_t>(handle) < 256) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return static_cast<CMM_TRANSFORM*>(handle);
}

// Creation from either colour-space record: only its first five fields are
// read (lcsSignature to lcsIntent), and they lie alike in the ANSI and the
// wide record. The name is an ANSI string for every entry.
HCMTRANSFORM CreateTransform(const void* colorSpace, const void* name) {
  const char* file = static_cast<const char*>(name);
  if (file == nullptr || *file == '\0' || colorSpace == nullptr) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  LOGCOLORSPACEA fields{};
  std::memcpy(&fields, colorSpace, offsetof(LOGCOLORSPACEA, lcsEndpoints));
  CMM_TRANSFORM* t = huebridge::NewTransform(fields);
  if (t == nullptr) return Fail(ERROR_OUTOFMEMORY);
  std::uint8_t* image = nullptr;
  std::uint32_t size = 0;
  DWORD code = huebridge::LoadProfileImage(file, &image, &size);
  if (code == 0) code = huebridge::AttachProfile(t, image, size);
  if (code != 0) {
    huebridge::FreeTransform(t);
    return Fail(code);
  }
  return t;
}

}  // namespace

extern "C" {

HCMTRANSFORM WINAPI CMCreateTransformA(LPLOGCOLORSPACEA colorSpace, LPDEVCHARACTER name,
                                       LPDEVCHARACTER /*target*/) {
  return CreateTransform(colorSpace, name);
}

HCMTRANSFORM WINAPI CMCreateTransformW(LPLOGCOLORSPACEW colorSpace, LPDEVCHARACTER name,
                                       LPDEVCHARACTER /*target*/) {
  return CreateTransform(colorSpace, name);
}

HCMTRANSFORM WINAPI CMCreateTransformExt(LPLOGCOLORSPACEA colorSpace, LPDEVCHARACTER name,
                                         LPDEVCHARACTER /*target*/, DWORD /*flags*/) {
  return CreateTransform(colorSpace, name);
}

HCMTRANSFORM WINAPI CMCreateTransformExtW(LPLOGCOLORSPACEW colorSpace, LPDEVCHARACTER name,
                                          LPDEVCHARACTER /*target*/, DWORD /*flags*/) {
  return CreateTransform(colorSpace, name);
}

HCMTRANSFORM WINAPI CMCreateMultiProfileTransform(PHPROFILE, DWORD, PDWORD, DWORD, DWORD) {
  return Fail(ERROR_CALL_NOT_IMPLEMENTED);
}

BOOL WINAPI CMDeleteTransform(HCMTRANSFORM transform) {
  CMM_TRANSFORM* t = Transform(transform);
  if (t == nullptr) return FALSE;
  huebridge::FreeTransform(t);
  return TRUE;
}

DWORD WINAPI CMGetInfo(DWORD info) {
  switch (info) {
    case CMM_IDENT:
      return HUEBRIDGE_IDENT;
    case CMM_DLL_VERSION:
      return 0x10000;
    case CMM_DESCRIPTION:
      return 1;  // string resource 1, "Color Management Module."
    default:
      return 0;
  }
}

BOOL WINAPI CMTranslateColors(HCMTRANSFORM transform, LPCOLOR input, DWORD count,
                              COLORTYPE inputType, LPCOLOR output, COLORTYPE outputType) {
  CMM_TRANSFORM* t = Transform(transform);
  if (t == nullptr) return FALSE;
  return huebridge::TranslateColors(t, input, count, inputType, output, outputType);
}

BOOL WINAPI CMTranslateRGB(HCMTRANSFORM transform, COLORREF color, LPCOLORREF result, DWORD flags) {
  CMM_TRANSFORM* t = Transform(transform);
  if (t == nullptr) return FALSE;
  return huebridge::TranslateRgb(t, color, result, flags);
}

BOOL WINAPI CMTranslateRGBs(HCMTRANSFORM transform, LPVOID source, BMFORMAT inputFormat,
                            DWORD width, DWORD height, DWORD stride, LPVOID dest,
                            BMFORMAT outputFormat, DWORD /*direction*/) {
  CMM_TRANSFORM* t = Transform(transform);
  if (t == nullptr) return FALSE;
  return huebridge::TranslateBitmap(t, source, inputFormat, width, height, stride, dest,
                                    outputFormat, 0, nullptr, 0);
}

BOOL WINAPI CMTranslateRGBsExt(HCMTRANSFORM transform, LPVOID source, BMFORMAT inputFormat,
                               DWORD width, DWORD height, DWORD inputStride, LPVOID dest,
                               BMFORMAT outputFormat, DWORD outputStride, LPBMCALLBACKFN callback,
                               HUEBRIDGE_CALLBACK_DATA callbackData) {
  CMM_TRANSFORM* t = Transform(transform);
  if (t == nullptr) return FALSE;
  return huebridge::TranslateBitmap(t, source, inputFormat, width, height, inputStride, dest,
                                    outputFormat, outputStride, callback, callbackData);
}

BOOL WINAPI CMCheckColors(HCMTRANSFORM transform, LPCOLOR input, DWORD count, COLORTYPE inputType,
                          LPBYTE result) {
  CMM_TRANSFORM* t = Transform(transform);
  if (t == nullptr) return FALSE;
  return huebridge::CheckColors(t, input, count, inputType, result);
}

// RGB gamut checks are not offered. Only the handle is looked at, so that an
// invalid one is reported as for every other export.
static BOOL UnsupportedCheck(HCMTRANSFORM transform) {
  Transform(transform);
  return FALSE;
}

BOOL WINAPI CMCheckColorsInGamut(HCMTRANSFORM transform, RGBTRIPLE*, LPBYTE, UINT) {
  return UnsupportedCheck(transform);
}

BOOL WINAPI CMCheckRGBs(HCMTRANSFORM transform, LPVOID, BMFORMAT, DWORD, DWORD, DWORD, LPBYTE,
                        PBMCALLBACKFN, HUEBRIDGE_CALLBACK_DATA) {
  return UnsupportedCheck(transform);
}

}  // extern "C"

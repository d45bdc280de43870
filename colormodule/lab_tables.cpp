// The conversion tables are the only floating-point work of the module; once
// they exist, a colour costs table lookups, multiplies and shifts.
#include "lab_tables.h"

#include <cmath>
#include <cstdlib>

namespace huebridge {
namespace {

std::uint32_t Trunc(double v) { return static_cast<std::uint32_t>(v); }

void FillSrgbToLinear(std::uint32_t* table) {
  for (int i = 0; i < 256; ++i) {
    const double t = i * (1.0 / 255.0);
    if (t < 0.03928) {
      table[i] = Trunc(t * 2048 * (1.0 / 12.92) + 0.5);
    } else {
      table[i] = Trunc(std::pow((t + 0.055) * (1.0 / 1.055), 2.4) * 2048 + 0.5);
    }
  }
}

// lightness: L* with 100 at 65535; cubeRoot: f(t) with 1.0 at 25600.
void FillLightnessAndCubeRoot(std::uint32_t* lightness, std::uint32_t* cubeRoot) {
  const double k = 9.033 * 65535;  // 903.3 / 100 at 65535 for L* = 100
  for (int i = 0; i < 512; ++i) {
    const double t = i * (1.0 / 512.0);
    if (t < 0.008856) {
      lightness[i] = Trunc(t * k + 0.5);
      cubeRoot[i] = Trunc((t * 7.787 + 16.0 / 116.0) * 25600 + 0.5);
    } else {
      const double c = std::pow(t, 1.0 / 3.0);
      cubeRoot[i] = Trunc(c * 25600 + 0.5);
      lightness[i] = Trunc((c * 1.16 - 0.16) * 65535 + 0.5);
    }
  }
}

}  // namespace

bool BuildLabTables(CMM_TRANSFORM* t) {
  if (t->srgbToLinear != nullptr) return true;
  auto* srgb = static_cast<std::uint32_t*>(std::malloc(256 * sizeof(std::uint32_t)));
  auto* lightness = static_cast<std::uint32_t*>(std::malloc(512 * sizeof(std::uint32_t)));
  auto* cubeRoot = static_cast<std::uint32_t*>(std::malloc(512 * sizeof(std::uint32_t)));
  if (srgb == nullptr || lightness == nullptr || cubeRoot == nullptr) {
    std::free(srgb);
    std::free(lightness);
    std::free(cubeRoot);
    return false;
  }
  FillSrgbToLinear(srgb);
  FillLightnessAndCubeRoot(lightness, cubeRoot);
  t->srgbToLinear = srgb;
  t->lightness = lightness;
  t->cubeRoot = cubeRoot;
  return true;
}

LabIndices RgbIndices(const CMM_TRANSFORM* t, std::uint16_t red, std::uint16_t green,
                      std::uint16_t blue) {
  // Only the high byte of each channel counts.
  const std::uint32_t r = t->srgbToLinear[red >> 8];
  const std::uint32_t g = t->srgbToLinear[green >> 8];
  const std::uint32_t b = t->srgbToLinear[blue >> 8];
  return {(kWeightY[0] * r + kWeightY[1] * g + kWeightY[2] * b) >> 11,
          (kWeightX[0] * r + kWeightX[1] * g + kWeightX[2] * b) >> 11,
          (kWeightZ[0] * r + kWeightZ[1] * g + kWeightZ[2] * b) >> 11};
}

std::uint16_t LabL(const CMM_TRANSFORM* t, std::uint32_t yi) {
  return static_cast<std::uint16_t>(t->lightness[yi]);
}

// a* = 500 (f(X) - f(Y)) and b* = 200 (f(Y) - f(Z)); with f at 25600 = 1.0
// and a*, b* at 256 a unit the factors become 5 and 2. Both wrap modulo 2^16.
std::uint16_t LabA(const CMM_TRANSFORM* t, std::uint32_t xi, std::uint32_t yi) {
  return static_cast<std::uint16_t>((t->cubeRoot[xi] - t->cubeRoot[yi]) * 5 + 0x8000);
}

std::uint16_t LabB(const CMM_TRANSFORM* t, std::uint32_t yi, std::uint32_t zi) {
  return static_cast<std::uint16_t>((t->cubeRoot[yi] - t->cubeRoot[zi]) * 2 + 0x8000);
}

void RgbToLab(const CMM_TRANSFORM* t, const std::uint16_t rgb[3], std::uint16_t lab[3]) {
  const LabIndices i = RgbIndices(t, rgb[0], rgb[1], rgb[2]);
  lab[0] = LabL(t, i.yi);
  lab[1] = LabA(t, i.xi, i.yi);
  lab[2] = LabB(t, i.yi, i.zi);
}

void RgbToXyz(const CMM_TRANSFORM* t, const std::uint16_t rgb[3], std::uint16_t xyz[3]) {
  const std::uint32_t r = t->srgbToLinear[rgb[0] >> 8];
  const std::uint32_t g = t->srgbToLinear[rgb[1] >> 8];
  const std::uint32_t b = t->srgbToLinear[rgb[2] >> 8];
  // Shifting by 4 instead of 11 puts white (511 x 2048) at 65408.
  xyz[0] = static_cast<std::uint16_t>((kWeightX[0] * r + kWeightX[1] * g + kWeightX[2] * b) >> 4);
  xyz[1] = static_cast<std::uint16_t>((kWeightY[0] * r + kWeightY[1] * g + kWeightY[2] * b) >> 4);
  xyz[2] = static_cast<std::uint16_t>((kWeightZ[0] * r + kWeightZ[1] * g + kWeightZ[2] * b) >> 4);
}

}  // namespace huebridge

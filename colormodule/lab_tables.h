// sRGB to CIE Lab and XYZ through three tables built once per transform.
#pragma once

#include <cstdint>

#include "cmm_transform.h"

namespace huebridge {

// Builds srgbToLinear, lightness and cubeRoot unless they exist. False when
// they cannot be allocated (nothing is kept then).
bool BuildLabTables(CMM_TRANSFORM* t);

// The three table indices of one colour: Y/Yn, X/Xn and Z/Zn in 1/512 steps.
struct LabIndices {
  std::uint32_t yi, xi, zi;
};
LabIndices RgbIndices(const CMM_TRANSFORM* t, std::uint16_t red, std::uint16_t green,
                      std::uint16_t blue);

// rgb and the result may be the same storage. The tables must exist.
void RgbToLab(const CMM_TRANSFORM* t, const std::uint16_t rgb[3], std::uint16_t lab[3]);
void RgbToXyz(const CMM_TRANSFORM* t, const std::uint16_t rgb[3], std::uint16_t xyz[3]);

// The Lab words for table indices (used by RgbToLab and the bitmap tables).
std::uint16_t LabL(const CMM_TRANSFORM* t, std::uint32_t yi);
std::uint16_t LabA(const CMM_TRANSFORM* t, std::uint32_t xi, std::uint32_t yi);
std::uint16_t LabB(const CMM_TRANSFORM* t, std::uint32_t yi, std::uint32_t zi);

// Weights of the three sums; each row sums to 511, so with linear values up
// to 2048 every sum is below 2^20.
inline constexpr std::uint32_t kWeightY[3] = {114, 366, 31};
inline constexpr std::uint32_t kWeightX[3] = {231, 204, 76};
inline constexpr std::uint32_t kWeightZ[3] = {9, 60, 442};

}  // namespace huebridge

// The printer model the package is uninstalled for.
#pragma once

#include <cstdint>

inline constexpr std::int32_t kModelVariantA3 = 8203;  // "/KESTA_A3"
inline constexpr std::int32_t kModelVariantA4 = 8204;  // "/KESTA_A4"

// Set once at start-up from the command line, 0 when neither switch is
// given; read by the script interpreter, the OEM INF matching and the
// selection page.
extern std::int32_t ModelVariant;

// The variant that a command line selects: "/KESTA_A3" anywhere wins over
// "/KESTA_A4"; both are case-sensitive substrings.
std::int32_t VariantFromCommandLine(const char* commandLine);

// Self-registration under the ICM matcher key.
#pragma once

#include "huebridge.h"

namespace huebridge {

inline constexpr DWORD kPlatformWindows9x = 1;  // VER_PLATFORM_WIN32_WINDOWS
inline constexpr DWORD kPlatformNt = 2;         // VER_PLATFORM_WIN32_NT

// Writes "VH7Q" = modulePath under the matcher key of `platform`.
HRESULT RegisterMatcher(DWORD platform, const char* modulePath);
// Removes "VH7Q" from the "Windows NT" matcher key (on both platforms).
HRESULT UnregisterMatcher(DWORD platform);

// Kept by DllMain for GetModuleFileNameA; unused on Linux.
void RememberModule(void* module);

}  // namespace huebridge

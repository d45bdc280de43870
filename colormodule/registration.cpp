// DllRegisterServer / DllUnregisterServer. The registry is reached through
// Quayline. Wine's mscms never loads a third-party colour module, whatever
// is registered here: under Wine only the registry value itself can be
// observed.
#include "registration.h"

#include <cstring>

#include "quayline.h"

#ifndef _WIN32
#include <dlfcn.h>

#include <climits>
#include <cstdlib>
#endif

namespace huebridge {
namespace {

constexpr char kMatcherValue[] = "VH7Q";
constexpr char kKeyWindows9x[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\ICM\\ICMatchers";
constexpr char kKeyNt[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ICM\\ICMatchers";

void* module = nullptr;

#ifdef _WIN32

bool QueryPlatform(DWORD* platform) {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;  // 148
  // Windows 8.1 and later report 6.2 to programs without a manifest, and
  // Wine reports Windows 7 by default; both are platform 2 all the same.
  if (!GetVersionExA(&version)) return false;
  *platform = version.dwPlatformId;
  return true;
}

// The full path of this module; false when it does not fit in MAX_PATH
// (rather than registering a truncated path).
bool ModulePath(char* path) {
  const DWORD length = GetModuleFileNameA(static_cast<HMODULE>(module), path, MAX_PATH);
  return length != 0 && length < MAX_PATH;
}

#else

// Linux has no platform codes; the module presents itself as on NT.
bool QueryPlatform(DWORD* platform) {
  *platform = kPlatformNt;
  return true;
}

bool ModulePath(char* path) {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&DllRegisterServer), &info) == 0 ||
      info.dli_fname == nullptr) {
    return false;
  }
  char full[PATH_MAX];
  if (realpath(info.dli_fname, full) == nullptr || std::strlen(full) >= MAX_PATH) return false;
  std::strcpy(path, full);
  return true;
}

#endif

}  // namespace

void RememberModule(void* handle) { module = handle; }

HRESULT RegisterMatcher(DWORD platform, const char* modulePath) {
  const char* keyName = platform == kPlatformWindows9x ? kKeyWindows9x
                        : platform == kPlatformNt      ? kKeyNt
                                                       : nullptr;
  if (keyName == nullptr) return E_UNEXPECTED;
  HKEY key = nullptr;
  if (quayline::RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyName, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                &key, nullptr) != 0) {
    return E_UNEXPECTED;
  }
  // The length counts the terminating NUL.
  const auto size = static_cast<DWORD>(std::strlen(modulePath) + 1);
  const LONG status = quayline::RegSetValueExA(key, kMatcherValue, 0, REG_SZ,
                                               reinterpret_cast<const BYTE*>(modulePath), size);
  quayline::RegCloseKey(key);
  return status == 0 ? S_OK : E_UNEXPECTED;
}

HRESULT UnregisterMatcher(DWORD platform) {
  if (platform != kPlatformWindows9x && platform != kPlatformNt) return E_UNEXPECTED;
  HKEY key = nullptr;
  // The "Windows NT" key on both platforms.
  if (quayline::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKeyNt, 0, KEY_ALL_ACCESS, &key) != 0) {
    return E_UNEXPECTED;
  }
  const LONG status = quayline::RegDeleteValueA(key, kMatcherValue);
  quayline::RegCloseKey(key);
  return status == 0 ? S_OK : E_UNEXPECTED;
}

}  // namespace huebridge

extern "C" {

HRESULT WINAPI DllRegisterServer(void) {
  DWORD platform = 0;
  if (!huebridge::QueryPlatform(&platform)) return E_UNEXPECTED;
  if (platform != huebridge::kPlatformWindows9x && platform != huebridge::kPlatformNt) {
    return E_UNEXPECTED;
  }
  char path[MAX_PATH];
  if (!huebridge::ModulePath(path)) return E_UNEXPECTED;
  return huebridge::RegisterMatcher(platform, path);
}

HRESULT WINAPI DllUnregisterServer(void) {
  DWORD platform = 0;
  if (!huebridge::QueryPlatform(&platform)) return E_UNEXPECTED;
  return huebridge::UnregisterMatcher(platform);
}

}  // extern "C"

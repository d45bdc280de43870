// The registry, as the uninstaller sees it (ADVAPI32 Reg*A functions).
#pragma once

#include <cstdint>

#include "win32_types.h"

namespace platform {

// Predefined root keys, with the handle values Windows gives them.
namespace hkey {
inline constexpr RegKeyHandle kClassesRoot{0x80000000u};
inline constexpr RegKeyHandle kCurrentUser{0x80000001u};
inline constexpr RegKeyHandle kLocalMachine{0x80000002u};
inline constexpr RegKeyHandle kUsers{0x80000003u};
}  // namespace hkey

// Access rights (REGSAM) and registry views.
namespace regsam {
inline constexpr std::uint32_t kQueryValue = 0x0001;
inline constexpr std::uint32_t kSetValue = 0x0002;
inline constexpr std::uint32_t kCreateSubKey = 0x0004;
inline constexpr std::uint32_t kEnumerateSubKeys = 0x0008;
inline constexpr std::uint32_t kDelete = 0x10000;
inline constexpr std::uint32_t kRead = 0x20019;
inline constexpr std::uint32_t kWrite = 0x20006;
inline constexpr std::uint32_t kAllAccess = 0xF003F;
inline constexpr std::uint32_t kWow64_64Key = 0x0100;
inline constexpr std::uint32_t kWow64_32Key = 0x0200;
}  // namespace regsam

// Value types.
namespace regtype {
inline constexpr std::uint32_t kNone = 0;
inline constexpr std::uint32_t kSz = 1;
inline constexpr std::uint32_t kExpandSz = 2;
inline constexpr std::uint32_t kBinary = 3;
inline constexpr std::uint32_t kDword = 4;
inline constexpr std::uint32_t kMultiSz = 7;
}  // namespace regtype

// Each operation mirrors the Win32 function named beside it: same inputs,
// same buffer and size conventions, the function's error code as result.
class Registry {
 public:
  virtual ~Registry() = default;

  // RegOpenKeyExA. `access` may carry kWow64_32Key to open the 32-bit view.
  virtual Win32Error openKey(RegKeyHandle parent, const char* subKey, std::uint32_t access,
                             RegKeyHandle& key) = 0;
  // RegCreateKeyExA (non-volatile, no class). `created` may be null.
  virtual Win32Error createKey(RegKeyHandle parent, const char* subKey, std::uint32_t access,
                               RegKeyHandle& key, bool* created) = 0;
  // RegCloseKey. Closing a predefined root is a no-op success.
  virtual Win32Error closeKey(RegKeyHandle key) = 0;

  // RegQueryValueExA: `data` null asks only for the size; a buffer that is
  // too small gives kMoreData with `size` set to what is needed. `type` may
  // be null; `size` may be null only when `data` is null.
  virtual Win32Error queryValue(RegKeyHandle key, const char* name, std::uint32_t* type, void* data,
                                std::uint32_t* size) = 0;
  // RegSetValueExA.
  virtual Win32Error setValue(RegKeyHandle key, const char* name, std::uint32_t type,
                              const void* data, std::uint32_t size) = 0;
  // RegDeleteValueA.
  virtual Win32Error deleteValue(RegKeyHandle key, const char* name) = 0;
  // RegDeleteKeyExA: deletes a key without subkeys (kAccessDenied when it
  // has some). `view` is 0, kWow64_32Key or kWow64_64Key.
  virtual Win32Error deleteKey(RegKeyHandle parent, const char* subKey, std::uint32_t view) = 0;
  // RegEnumKeyExA: `nameSize` in characters, in: buffer size, out: length
  // without the NUL. kNoMoreItems past the last subkey.
  virtual Win32Error enumKey(RegKeyHandle key, std::uint32_t index, char* name,
                             std::uint32_t* nameSize) = 0;
  // RegEnumValueA, conventions as enumKey and queryValue.
  virtual Win32Error enumValue(RegKeyHandle key, std::uint32_t index, char* name,
                               std::uint32_t* nameSize, std::uint32_t* type, void* data,
                               std::uint32_t* dataSize) = 0;
};

// Owns one open key.
using RegKey = Owner<Registry, RegKeyHandle, &Registry::closeKey>;

}  // namespace platform

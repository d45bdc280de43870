// Quayline on Windows: the system registry itself.
#include "quayline.h"

namespace quayline {

LONG RegCreateKeyExA(HKEY key, const char* subKey, DWORD reserved, char* keyClass, DWORD options,
                     REGSAM access, void* security, HKEY* result, DWORD* disposition) {
  return ::RegCreateKeyExA(key, subKey, reserved, keyClass, options, access,
                           static_cast<LPSECURITY_ATTRIBUTES>(security), result, disposition);
}

LONG RegSetValueExA(HKEY key, const char* name, DWORD reserved, DWORD type, const BYTE* data,
                    DWORD size) {
  return ::RegSetValueExA(key, name, reserved, type, data, size);
}

LONG RegOpenKeyExA(HKEY key, const char* subKey, DWORD options, REGSAM access, HKEY* result) {
  return ::RegOpenKeyExA(key, subKey, options, access, result);
}

LONG RegDeleteValueA(HKEY key, const char* name) { return ::RegDeleteValueA(key, name); }

LONG RegCloseKey(HKEY key) { return ::RegCloseKey(key); }

}  // namespace quayline

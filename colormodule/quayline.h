// Quayline: the package's spooler support library, from which the module
// takes its five registry functions. On Windows they forward to the system
// registry. On Linux they work on an in-memory registry private to the
// process, so that registration runs (and is tested) there too.
#pragma once

#include "huebridge.h"

#ifndef _WIN32
struct QuaylineKey;
typedef QuaylineKey* HKEY;
typedef DWORD REGSAM;
namespace quayline {
extern HKEY const kLocalMachine;
}
#define HKEY_LOCAL_MACHINE (::quayline::kLocalMachine)
#define KEY_ALL_ACCESS 0xF003F
#define REG_SZ 1
#define ERROR_FILE_NOT_FOUND 2
#define ERROR_MORE_DATA 234
#define ERROR_KEY_DELETED 1018
#endif

namespace quayline {

// The standard Windows contracts: 0 means success, and the key handle comes
// back through the out-parameter.
LONG RegCreateKeyExA(HKEY key, const char* subKey, DWORD reserved, char* keyClass, DWORD options,
                     REGSAM access, void* security, HKEY* result, DWORD* disposition);
LONG RegSetValueExA(HKEY key, const char* name, DWORD reserved, DWORD type, const BYTE* data,
                    DWORD size);
LONG RegOpenKeyExA(HKEY key, const char* subKey, DWORD options, REGSAM access, HKEY* result);
LONG RegDeleteValueA(HKEY key, const char* name);
LONG RegCloseKey(HKEY key);

#ifndef _WIN32
// Only in the in-memory registry, for tests: reading a value back, removing
// a key with its values, and emptying the whole registry.
LONG RegQueryValueExA(HKEY key, const char* name, DWORD* reserved, DWORD* type, BYTE* data,
                      DWORD* size);
LONG RegDeleteKeyA(HKEY key, const char* subKey);
void ResetRegistry();
#endif

}  // namespace quayline

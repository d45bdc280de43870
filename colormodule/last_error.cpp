// GetLastError / SetLastError for Linux callers: one value per thread, as on
// Windows. The Windows build uses kernel32's.
#include "huebridge.h"

#ifndef _WIN32
namespace {
thread_local DWORD lastError = ERROR_SUCCESS;
}

extern "C" {
DWORD GetLastError(void) { return lastError; }
void SetLastError(DWORD code) { lastError = code; }
}
#endif

// Win32 error codes that only the simulated machine produces: the platform
// layer's callers test for success or for the codes named in
// platform/win32_types.h, but the machine answers with the code Windows
// gives in each case, and these are the ones that list does not hold.
#pragma once

#include "platform/win32_types.h"

namespace sim::error {
using platform::Win32Error;
inline constexpr Win32Error kCallNotImplemented = 120;    // ERROR_CALL_NOT_IMPLEMENTED
inline constexpr Win32Error kBadPathname = 161;           // ERROR_BAD_PATHNAME
inline constexpr Win32Error kFilenameTooLong = 206;       // ERROR_FILENAME_EXCED_RANGE
inline constexpr Win32Error kDirectory = 267;             // ERROR_DIRECTORY
inline constexpr Win32Error kCanNotComplete = 1003;       // ERROR_CAN_NOT_COMPLETE
inline constexpr Win32Error kKeyDeleted = 1018;           // ERROR_KEY_DELETED
inline constexpr Win32Error kInvalidEnvironment = 1805;   // ERROR_INVALID_ENVIRONMENT
inline constexpr Win32Error kNoSuchDevinst = 0xE000020B;  // ERROR_NO_SUCH_DEVINST (SetupAPI)
}  // namespace sim::error

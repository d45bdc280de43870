// Windows numbers as plain portable values.
//
// The uninstaller's logic never includes <windows.h>: it names the Win32
// error codes, flags and handle values it needs here, with the numbers
// Windows uses, so that both implementations of the platform layer (the real
// Win32 one and the simulated machine) speak the same values.
#pragma once

#include <cstdint>

#include "handle.h"

namespace platform {

// A Win32 error code; 0 (ERROR_SUCCESS) means success.
using Win32Error = std::uint32_t;

namespace error {
inline constexpr Win32Error kSuccess = 0;
inline constexpr Win32Error kInvalidFunction = 1;
inline constexpr Win32Error kFileNotFound = 2;
inline constexpr Win32Error kPathNotFound = 3;
inline constexpr Win32Error kAccessDenied = 5;
inline constexpr Win32Error kInvalidHandle = 6;
inline constexpr Win32Error kNotEnoughMemory = 8;
inline constexpr Win32Error kInvalidData = 13;
inline constexpr Win32Error kOutOfMemory = 14;
inline constexpr Win32Error kNoMoreFiles = 18;
inline constexpr Win32Error kWriteFault = 29;
inline constexpr Win32Error kReadFault = 30;
inline constexpr Win32Error kSharingViolation = 32;
inline constexpr Win32Error kFileExists = 80;
inline constexpr Win32Error kDiskFull = 112;
inline constexpr Win32Error kInvalidParameter = 87;
inline constexpr Win32Error kOpenFailed = 110;
inline constexpr Win32Error kBufferOverflow = 111;
inline constexpr Win32Error kInsufficientBuffer = 122;
inline constexpr Win32Error kInvalidName = 123;
inline constexpr Win32Error kModNotFound = 126;
inline constexpr Win32Error kProcNotFound = 127;
inline constexpr Win32Error kNegativeSeek = 131;
inline constexpr Win32Error kDirNotEmpty = 145;
inline constexpr Win32Error kFilenameExcedRange = 206;
inline constexpr Win32Error kAlreadyExists = 183;
inline constexpr Win32Error kBadExeFormat = 193;
inline constexpr Win32Error kMoreData = 234;
inline constexpr Win32Error kNoMoreItems = 259;
inline constexpr Win32Error kServiceRequestTimeout = 1053;
inline constexpr Win32Error kServiceNoThread = 1054;
inline constexpr Win32Error kServiceDatabaseLocked = 1055;
inline constexpr Win32Error kServiceAlreadyRunning = 1056;
inline constexpr Win32Error kServiceDisabled = 1058;
inline constexpr Win32Error kServiceDoesNotExist = 1060;
inline constexpr Win32Error kServiceCannotAcceptControl = 1061;
inline constexpr Win32Error kServiceNotActive = 1062;
inline constexpr Win32Error kServiceMarkedForDelete = 1072;
inline constexpr Win32Error kServiceExists = 1073;
inline constexpr Win32Error kNotAllAssigned = 1300;
inline constexpr Win32Error kNoSuchPrivilege = 1313;
inline constexpr Win32Error kPrivilegeNotHeld = 1314;
inline constexpr Win32Error kInvalidWindowHandle = 1400;
inline constexpr Win32Error kClassAlreadyExists = 1410;
inline constexpr Win32Error kClassDoesNotExist = 1411;
inline constexpr Win32Error kResourceTypeNotFound = 1813;
inline constexpr Win32Error kResourceNameNotFound = 1814;
inline constexpr Win32Error kRpcServerUnavailable = 1722;
inline constexpr Win32Error kUnknownPrinterDriver = 1797;
inline constexpr Win32Error kUnknownPrintProcessor = 1798;
inline constexpr Win32Error kInvalidPrinterName = 1801;
inline constexpr Win32Error kUnknownPrintMonitor = 3000;
inline constexpr Win32Error kPrinterDriverInUse = 3001;
}  // namespace error

// The kinds of handle (see handle.h); 0 is "no handle".
using RegKeyHandle = Handle<struct RegKeyKind>;
using ServiceHandle = Handle<struct ServiceKind>;
using MutexHandle = Handle<struct MutexKind>;
using FileHandle = Handle<struct FileKind>;
using WindowHandle = Handle<struct WindowKind>;
using ModuleHandle = Handle<struct ModuleKind>;
using PrinterHandle = Handle<struct PrinterKind>;
using ProcessHandle = Handle<struct ProcessKind>;
using DeviceListHandle = Handle<struct DeviceListKind>;      // HDEVINFO
using DdeInstanceHandle = Handle<struct DdeInstanceKind>;    // a DDEML instance id
using ConversationHandle = Handle<struct ConversationKind>;  // HCONV

// Window message parameters, sized as on 64-bit Windows.
using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;

inline constexpr std::uint32_t kMaxPath = 260;  // MAX_PATH

}  // namespace platform

// The running Windows: its version, the process token, the computer name,
// the program's own module and the restart of the system.
#pragma once

#include <cstdint>
#include <vector>

#include "win32_types.h"

namespace platform {

// OSVERSIONINFOA: 148 bytes on Windows.
struct OsVersionInfo {
  std::uint32_t size = 148;
  std::uint32_t majorVersion = 0;
  std::uint32_t minorVersion = 0;
  std::uint32_t buildNumber = 0;
  std::uint32_t platformId = 0;  // 0 Win32s, 1 Windows 9x, 2 NT
  char csdVersion[128] = {};
};

namespace platform_id {
inline constexpr std::uint32_t kWin32s = 0;   // VER_PLATFORM_WIN32s
inline constexpr std::uint32_t kWindows = 1;  // VER_PLATFORM_WIN32_WINDOWS
inline constexpr std::uint32_t kNt = 2;       // VER_PLATFORM_WIN32_NT
}  // namespace platform_id

// One entry of the token's TokenGroups list: the SID in its binary form
// (revision, sub-authority count, 6-byte authority, 32-bit sub-authorities
// little-endian) and the SE_GROUP_* attributes.
struct TokenGroup {
  std::vector<std::uint8_t> sid;
  std::uint32_t attributes = 0;
};

namespace group_attr {
inline constexpr std::uint32_t kMandatory = 0x1;
inline constexpr std::uint32_t kEnabledByDefault = 0x2;
inline constexpr std::uint32_t kEnabled = 0x4;
inline constexpr std::uint32_t kUseForDenyOnly = 0x10;
}  // namespace group_attr

// The fixed file version of a version resource (VS_FIXEDFILEINFO's
// dwFileVersionMS and dwFileVersionLS): major.minor in the first word,
// build.revision in the second, each half 16 bits.
struct FileVersion {
  std::uint32_t mostSignificant = 0;
  std::uint32_t leastSignificant = 0;
};

// MEMORYSTATUS as 64-bit Windows lays it out: 56 bytes, sizes in bytes.
struct MemoryStatus {
  std::uint32_t length = 56;
  std::uint32_t memoryLoad = 0;  // percent in use
  std::uint64_t totalPhys = 0;
  std::uint64_t availPhys = 0;
  std::uint64_t totalPageFile = 0;
  std::uint64_t availPageFile = 0;
  std::uint64_t totalVirtual = 0;
  std::uint64_t availVirtual = 0;
};

namespace exit_windows {
inline constexpr std::uint32_t kReboot = 0x2;  // EWX_REBOOT
}

class Host {
 public:
  virtual ~Host() = default;

  // GetVersionExA. `info.size` must be 148 on entry; false when the call fails.
  virtual bool getVersion(OsVersionInfo& info) = 0;

  // OpenProcessToken(TOKEN_QUERY) and GetTokenInformation(TokenGroups) into
  // a buffer of `bufferBytes`: kInsufficientBuffer when the list does not
  // fit in it as TOKEN_GROUPS would, or the error of either call.
  virtual Win32Error tokenGroups(std::uint32_t bufferBytes, std::vector<TokenGroup>& groups) = 0;

  // OpenProcessToken(TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY),
  // LookupPrivilegeValueA(no system, name) and AdjustTokenPrivileges enabling
  // that one privilege. The result is the error of the first call that
  // fails, else the last error after the adjustment (kNotAllAssigned when
  // the token does not hold the privilege, else 0).
  virtual Win32Error enablePrivilege(const char* name) = 0;

  // ExitWindowsEx(flags, 0).
  virtual Win32Error exitWindows(std::uint32_t flags) = 0;

  // GetComputerNameA; `size` in: buffer size, out: length without the NUL.
  // A buffer that is too small gives kBufferOverflow with `size` set to the
  // size needed.
  virtual Win32Error computerName(char* buffer, std::uint32_t* size) = 0;

  // GetModuleFileNameA(no module): the program's own path, cut to `size`.
  virtual std::uint32_t moduleFileName(char* buffer, std::uint32_t size) = 0;

  // GetFileVersionInfoSizeA, GetFileVersionInfoA into a buffer of that size
  // rounded up to 16 bytes, and VerQueryValueA(root "\\") for the fixed
  // file information: its version. The error of the call that failed
  // (kResourceTypeNotFound for a file without a version resource);
  // kInvalidData when the root block holds no fixed information.
  virtual Win32Error fileVersion(const char* path, FileVersion& version) = 0;

  // GlobalMemoryStatus: fills `status`, whose length must be 56 on entry.
  virtual void globalMemoryStatus(MemoryStatus& status) = 0;

  // CreateMutexA(no security, not owned, name): kAlreadyExists when some
  // process made the mutex first, and the handle is given all the same.
  virtual Win32Error createMutex(const char* name, MutexHandle& mutex) = 0;
  // CloseHandle on a mutex: the name goes with its last handle.
  virtual Win32Error closeMutex(MutexHandle mutex) = 0;
};

// Owns one mutex handle.
using Mutex = Owner<Host, MutexHandle, &Host::closeMutex>;

}  // namespace platform

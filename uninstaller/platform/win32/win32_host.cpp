#include "platform/win32/win32_host.h"

#include <cstring>
#include <vector>

#include "platform/win32/convert.h"
#include "platform/win32/handles.h"

// After <windows.h>, which WIN32_LEAN_AND_MEAN keeps from including it.
#include <winver.h>

namespace win32 {

using platform::Win32Error;

bool Win32Host::getVersion(platform::OsVersionInfo& info) {
  static_assert(sizeof(OSVERSIONINFOA) == 148);
  OSVERSIONINFOA raw{};
  // The caller's size goes through unchanged: Windows rejects any other
  // than 148 (or the 156 of the EX record), and so must we.
  raw.dwOSVersionInfoSize = info.size;
  if (!::GetVersionExA(&raw)) return false;
  info.majorVersion = raw.dwMajorVersion;
  info.minorVersion = raw.dwMinorVersion;
  info.buildNumber = raw.dwBuildNumber;
  info.platformId = raw.dwPlatformId;
  static_assert(sizeof(info.csdVersion) == sizeof(raw.szCSDVersion));
  std::memcpy(info.csdVersion, raw.szCSDVersion, sizeof(info.csdVersion));
  return true;
}

Win32Error Win32Host::tokenGroups(std::uint32_t bufferBytes,
                                  std::vector<platform::TokenGroup>& groups) {
  groups.clear();
  KernelHandle token;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.out())) {
    return ::GetLastError();
  }
  // 8-byte cells keep the SID pointers inside TOKEN_GROUPS aligned.
  std::vector<std::uint64_t> cells((bufferBytes + 7) / 8);
  DWORD returned = 0;
  if (!::GetTokenInformation(token.get(), TokenGroups, cells.empty() ? nullptr : cells.data(),
                             bufferBytes, &returned)) {
    return ::GetLastError();
  }
  const auto* list = reinterpret_cast<const TOKEN_GROUPS*>(cells.data());
  for (DWORD i = 0; i < list->GroupCount; ++i) {
    const SID_AND_ATTRIBUTES& entry = list->Groups[i];
    const auto* sid = static_cast<const std::uint8_t*>(entry.Sid);
    platform::TokenGroup group;
    group.sid.assign(sid, sid + ::GetLengthSid(entry.Sid));
    group.attributes = entry.Attributes;
    groups.push_back(std::move(group));
  }
  return ERROR_SUCCESS;
}

Win32Error Win32Host::enablePrivilege(const char* name) {
  KernelHandle token;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY,
                          token.out())) {
    return ::GetLastError();
  }
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (!::LookupPrivilegeValueA(nullptr, name, &privileges.Privileges[0].Luid)) {
    return ::GetLastError();
  }
  // A successful adjustment still reports through the last error whether
  // the token holds the privilege: 0, or ERROR_NOT_ALL_ASSIGNED.
  ::AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr);
  return ::GetLastError();
}

Win32Error Win32Host::exitWindows(std::uint32_t flags) {
  return ResultOf(::ExitWindowsEx(flags, 0));
}

Win32Error Win32Host::computerName(char* buffer, std::uint32_t* size) {
  DWORD length = *size;
  const BOOL ok = ::GetComputerNameA(buffer, &length);
  const Win32Error error = ResultOf(ok);
  *size = length;
  return error;
}

std::uint32_t Win32Host::moduleFileName(char* buffer, std::uint32_t size) {
  return ::GetModuleFileNameA(nullptr, buffer, size);
}

Win32Error Win32Host::fileVersion(const char* path, platform::FileVersion& version) {
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeA(path, &ignored);
  if (size == 0) return ::GetLastError();
  // 16-byte cells: the block is read whole, in a buffer rounded up to 16.
  std::vector<std::uint64_t> cells((size + 15) / 16 * 2);
  if (!::GetFileVersionInfoA(path, 0, size, cells.data())) return ::GetLastError();
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!::VerQueryValueA(cells.data(), "\\", reinterpret_cast<void**>(&info), &length) ||
      info == nullptr || length < sizeof(VS_FIXEDFILEINFO)) {
    return ERROR_INVALID_DATA;
  }
  version.mostSignificant = info->dwFileVersionMS;
  version.leastSignificant = info->dwFileVersionLS;
  return ERROR_SUCCESS;
}

void Win32Host::globalMemoryStatus(platform::MemoryStatus& status) {
  static_assert(sizeof(MEMORYSTATUS) == 56);
  MEMORYSTATUS raw{};
  raw.dwLength = status.length;
  ::GlobalMemoryStatus(&raw);
  status.memoryLoad = raw.dwMemoryLoad;
  status.totalPhys = raw.dwTotalPhys;
  status.availPhys = raw.dwAvailPhys;
  status.totalPageFile = raw.dwTotalPageFile;
  status.availPageFile = raw.dwAvailPageFile;
  status.totalVirtual = raw.dwTotalVirtual;
  status.availVirtual = raw.dwAvailVirtual;
}

platform::Win32Error Win32Host::createMutex(const char* name, platform::MutexHandle& mutex) {
  // The last error tells an existing mutex from a new one even on success.
  ::SetLastError(ERROR_SUCCESS);
  HANDLE handle = ::CreateMutexA(nullptr, FALSE, name);
  const DWORD error = ::GetLastError();
  if (handle == nullptr) {
    mutex = {};
    return error;
  }
  mutex = HandleOf<platform::MutexHandle>(handle);
  return error == ERROR_ALREADY_EXISTS ? platform::error::kAlreadyExists
                                       : platform::error::kSuccess;
}

platform::Win32Error Win32Host::closeMutex(platform::MutexHandle mutex) {
  return ResultOf(::CloseHandle(NativeOf<HANDLE>(mutex)));
}

}  // namespace win32

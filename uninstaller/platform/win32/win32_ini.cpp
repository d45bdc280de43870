#include "platform/win32/win32_ini.h"

#include "platform/win32/windows_headers.h"

namespace win32 {

std::uint32_t Win32Ini::getPrivateString(const char* section, const char* key,
                                         const char* defaultValue, char* buffer, std::uint32_t size,
                                         const char* file) {
  return ::GetPrivateProfileStringA(section, key, defaultValue, buffer, size, file);
}

bool Win32Ini::writePrivateString(const char* section, const char* key, const char* value,
                                  const char* file) {
  return ::WritePrivateProfileStringA(section, key, value, file) != FALSE;
}

std::uint32_t Win32Ini::getProfileString(const char* section, const char* key,
                                         const char* defaultValue, char* buffer,
                                         std::uint32_t size) {
  return ::GetProfileStringA(section, key, defaultValue, buffer, size);
}

bool Win32Ini::writeProfileString(const char* section, const char* key, const char* value) {
  return ::WriteProfileStringA(section, key, value) != FALSE;
}

}  // namespace win32

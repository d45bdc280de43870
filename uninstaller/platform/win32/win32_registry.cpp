#include "platform/win32/win32_registry.h"

#include "platform/win32/convert.h"

namespace win32 {

using platform::Win32Error;

Win32Error Win32Registry::openKey(platform::RegKeyHandle parent, const char* subKey,
                                  std::uint32_t access, platform::RegKeyHandle& key) {
  HKEY opened = nullptr;
  const LSTATUS status = ::RegOpenKeyExA(ToHkey(parent), subKey, 0, access, &opened);
  key =
      status == ERROR_SUCCESS ? HandleOf<platform::RegKeyHandle>(opened) : platform::RegKeyHandle{};
  return static_cast<Win32Error>(status);
}

Win32Error Win32Registry::createKey(platform::RegKeyHandle parent, const char* subKey,
                                    std::uint32_t access, platform::RegKeyHandle& key,
                                    bool* created) {
  HKEY opened = nullptr;
  DWORD disposition = 0;
  const LSTATUS status =
      ::RegCreateKeyExA(ToHkey(parent), subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                        nullptr, &opened, &disposition);
  key =
      status == ERROR_SUCCESS ? HandleOf<platform::RegKeyHandle>(opened) : platform::RegKeyHandle{};
  if (created != nullptr) *created = disposition == REG_CREATED_NEW_KEY;
  return static_cast<Win32Error>(status);
}

Win32Error Win32Registry::closeKey(platform::RegKeyHandle key) {
  // Closing a predefined root is allowed and does nothing; skip the call so
  // the sign-extended value never reaches RegCloseKey.
  if (IsPredefinedKey(key)) return ERROR_SUCCESS;
  return static_cast<Win32Error>(::RegCloseKey(ToHkey(key)));
}

Win32Error Win32Registry::queryValue(platform::RegKeyHandle key, const char* name,
                                     std::uint32_t* type, void* data, std::uint32_t* size) {
  DWORD valueType = 0;
  DWORD valueSize = size != nullptr ? *size : 0;
  const LSTATUS status =
      ::RegQueryValueExA(ToHkey(key), name, nullptr, type != nullptr ? &valueType : nullptr,
                         static_cast<BYTE*>(data), size != nullptr ? &valueSize : nullptr);
  if (type != nullptr) *type = valueType;
  if (size != nullptr) *size = valueSize;
  return static_cast<Win32Error>(status);
}

Win32Error Win32Registry::setValue(platform::RegKeyHandle key, const char* name, std::uint32_t type,
                                   const void* data, std::uint32_t size) {
  return static_cast<Win32Error>(
      ::RegSetValueExA(ToHkey(key), name, 0, type, static_cast<const BYTE*>(data), size));
}

Win32Error Win32Registry::deleteValue(platform::RegKeyHandle key, const char* name) {
  return static_cast<Win32Error>(::RegDeleteValueA(ToHkey(key), name));
}

Win32Error Win32Registry::deleteKey(platform::RegKeyHandle parent, const char* subKey,
                                    std::uint32_t view) {
  return static_cast<Win32Error>(::RegDeleteKeyExA(ToHkey(parent), subKey, view, 0));
}

Win32Error Win32Registry::enumKey(platform::RegKeyHandle key, std::uint32_t index, char* name,
                                  std::uint32_t* nameSize) {
  DWORD length = *nameSize;
  const LSTATUS status =
      ::RegEnumKeyExA(ToHkey(key), index, name, &length, nullptr, nullptr, nullptr, nullptr);
  *nameSize = length;
  return static_cast<Win32Error>(status);
}

// Windows reports a key's values in the order they were created; Wine
// reports them sorted by name.
Win32Error Win32Registry::enumValue(platform::RegKeyHandle key, std::uint32_t index, char* name,
                                    std::uint32_t* nameSize, std::uint32_t* type, void* data,
                                    std::uint32_t* dataSize) {
  DWORD length = *nameSize;
  DWORD valueType = 0;
  DWORD valueSize = dataSize != nullptr ? *dataSize : 0;
  const LSTATUS status = ::RegEnumValueA(
      ToHkey(key), index, name, &length, nullptr, type != nullptr ? &valueType : nullptr,
      static_cast<BYTE*>(data), dataSize != nullptr ? &valueSize : nullptr);
  *nameSize = length;
  if (type != nullptr) *type = valueType;
  if (dataSize != nullptr) *dataSize = valueSize;
  return static_cast<Win32Error>(status);
}

}  // namespace win32

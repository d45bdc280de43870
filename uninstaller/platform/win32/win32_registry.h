// The registry through ADVAPI32's Reg*A functions.
#pragma once

#include "platform/registry.h"

namespace win32 {

class Win32Registry final : public platform::Registry {
 public:
  platform::Win32Error openKey(platform::RegKeyHandle parent, const char* subKey,
                               std::uint32_t access, platform::RegKeyHandle& key) override;
  platform::Win32Error createKey(platform::RegKeyHandle parent, const char* subKey,
                                 std::uint32_t access, platform::RegKeyHandle& key,
                                 bool* created) override;
  platform::Win32Error closeKey(platform::RegKeyHandle key) override;
  platform::Win32Error queryValue(platform::RegKeyHandle key, const char* name, std::uint32_t* type,
                                  void* data, std::uint32_t* size) override;
  platform::Win32Error setValue(platform::RegKeyHandle key, const char* name, std::uint32_t type,
                                const void* data, std::uint32_t size) override;
  platform::Win32Error deleteValue(platform::RegKeyHandle key, const char* name) override;
  platform::Win32Error deleteKey(platform::RegKeyHandle parent, const char* subKey,
                                 std::uint32_t view) override;
  platform::Win32Error enumKey(platform::RegKeyHandle key, std::uint32_t index, char* name,
                               std::uint32_t* nameSize) override;
  platform::Win32Error enumValue(platform::RegKeyHandle key, std::uint32_t index, char* name,
                                 std::uint32_t* nameSize, std::uint32_t* type, void* data,
                                 std::uint32_t* dataSize) override;
};

}  // namespace win32

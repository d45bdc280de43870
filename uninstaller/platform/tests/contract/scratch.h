// Scratch keys and directories for the contract tests, created fresh and
// removed with everything inside, through the platform interfaces only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/system.h"

namespace contract {

// Deletes a key and all its subkeys; 0 or the first error other than
// "not found".
platform::Win32Error DeleteKeyTree(platform::Registry& registry, platform::RegKeyHandle parent,
                                   const std::string& subKey, std::uint32_t view = 0);

// A key under HKEY_CURRENT_USER\Software\StripwellContract.
class ScratchKey {
 public:
  ScratchKey(platform::Registry& registry, const std::string& name);
  ~ScratchKey();
  ScratchKey(const ScratchKey&) = delete;
  ScratchKey& operator=(const ScratchKey&) = delete;

  platform::RegKeyHandle handle() const { return key_.get(); }
  const std::string& path() const { return path_; }  // below HKEY_CURRENT_USER

 private:
  platform::Registry& registry_;
  std::string path_;
  platform::RegKey key_;
};

// Removes a directory tree (read-only files too); 0 or the first error.
platform::Win32Error DeleteDirectoryTree(platform::FileSystem& files, const std::string& dir);

// A directory below the temporary directory; path() ends in a backslash.
class ScratchDir {
 public:
  ScratchDir(platform::System& system, const std::string& name);
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  platform::FileSystem& files_;
  std::string path_;
};

// Whole-file helpers; 0 or the error of the failing call.
platform::Win32Error WriteFileText(platform::FileSystem& files, const std::string& path,
                                   const std::string& text);
platform::Win32Error ReadFileText(platform::FileSystem& files, const std::string& path,
                                  std::string& text);

// Names of a findFiles result, sorted case-insensitively.
std::vector<std::string> SortedNames(const std::vector<platform::FindData>& matches);

}  // namespace contract

#include "scratch.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/crt.h"

namespace contract {

using platform::Win32Error;
namespace error = platform::error;

Win32Error DeleteKeyTree(platform::Registry& registry, platform::RegKeyHandle parent,
                         const std::string& subKey, std::uint32_t view) {
  {
    platform::RegKey key(registry);
    const Win32Error opened =
        registry.openKey(parent, subKey.c_str(), platform::regsam::kAllAccess | view, key.out());
    if (opened == error::kFileNotFound) return error::kSuccess;
    if (opened != error::kSuccess) return opened;
    // Always index 0: each deletion moves the next subkey up.
    for (;;) {
      char name[256];
      std::uint32_t size = sizeof name;
      if (registry.enumKey(key.get(), 0, name, &size) != error::kSuccess) break;
      const Win32Error child = DeleteKeyTree(registry, key.get(), name, view);
      if (child != error::kSuccess) return child;
    }
  }
  return registry.deleteKey(parent, subKey.c_str(), view);
}

namespace {
const char kScratchRoot[] = "Software\\StripwellContract";
}

ScratchKey::ScratchKey(platform::Registry& registry, const std::string& name)
    : registry_(registry), path_(std::string(kScratchRoot) + "\\" + name), key_(registry) {
  DeleteKeyTree(registry_, platform::hkey::kCurrentUser, path_);
  const Win32Error created = registry_.createKey(platform::hkey::kCurrentUser, path_.c_str(),
                                                 platform::regsam::kAllAccess, key_.out(), nullptr);
  if (created != error::kSuccess) ADD_FAILURE() << "scratch key " << path_ << ": " << created;
}

ScratchKey::~ScratchKey() {
  key_.reset();
  EXPECT_EQ(DeleteKeyTree(registry_, platform::hkey::kCurrentUser, path_), error::kSuccess);
  // The shared root goes too once no other scratch key is left in it.
  registry_.deleteKey(platform::hkey::kCurrentUser, kScratchRoot, 0);
}

Win32Error DeleteDirectoryTree(platform::FileSystem& files, const std::string& dir) {
  std::vector<platform::FindData> entries;
  const Win32Error found = files.findFiles((dir + "\\*").c_str(), entries);
  if (found == error::kPathNotFound || found == error::kFileNotFound) {
    return error::kSuccess;
  }
  if (found != error::kSuccess) return found;
  for (const platform::FindData& entry : entries) {
    if (entry.name == "." || entry.name == "..") continue;
    const std::string path = dir + "\\" + entry.name;
    Win32Error removed;
    if (entry.attributes & platform::file_attr::kDirectory) {
      removed = DeleteDirectoryTree(files, path);
    } else {
      if (entry.attributes & platform::file_attr::kReadOnly) {
        files.setAttributes(path.c_str(), platform::file_attr::kNormal);
      }
      removed = files.deleteFile(path.c_str());
    }
    if (removed != error::kSuccess) return removed;
  }
  return files.removeDirectory(dir.c_str());
}

ScratchDir::ScratchDir(platform::System& system, const std::string& name) : files_(system.files) {
  char temp[platform::kMaxPath] = {};
  const std::uint32_t length = system.folders.tempPath(temp, sizeof temp);
  if (length == 0 || length >= sizeof temp) ADD_FAILURE() << "no temporary directory";
  std::string root = temp;
  if (!root.empty() && root.back() != '\\') root += '\\';
  root += "StripwellContract";
  files_.createDirectory(root.c_str());  // shared by the tests; may exist
  const std::string dir = root + "\\" + name;
  DeleteDirectoryTree(files_, dir);
  const Win32Error created = files_.createDirectory(dir.c_str());
  if (created != error::kSuccess) ADD_FAILURE() << "scratch directory " << dir << ": " << created;
  path_ = dir + "\\";
}

ScratchDir::~ScratchDir() {
  const std::string dir = path_.substr(0, path_.size() - 1);
  EXPECT_EQ(DeleteDirectoryTree(files_, dir), error::kSuccess) << dir;
  // The shared root goes too once it is empty; it stays while others use it.
  files_.removeDirectory(dir.substr(0, dir.rfind('\\')).c_str());
}

Win32Error WriteFileText(platform::FileSystem& files, const std::string& path,
                         const std::string& text) {
  platform::File file(files);
  const Win32Error opened = files.createFile(
      path.c_str(), platform::file_access::kGenericWrite, platform::file_share::kNone,
      platform::file_disposition::kCreateAlways, 0, file.out());
  if (opened != error::kSuccess) return opened;
  std::uint32_t written = 0;
  const Win32Error result =
      files.writeFile(file.get(), text.data(), static_cast<std::uint32_t>(text.size()), written);
  if (result == error::kSuccess && written != text.size()) return error::kInvalidData;
  return result;
}

Win32Error ReadFileText(platform::FileSystem& files, const std::string& path, std::string& text) {
  text.clear();
  platform::File file(files);
  const Win32Error opened = files.createFile(
      path.c_str(), platform::file_access::kGenericRead, platform::file_share::kRead,
      platform::file_disposition::kOpenExisting, 0, file.out());
  if (opened != error::kSuccess) return opened;
  std::uint64_t size = 0;
  if (const Win32Error e = files.fileSize(file.get(), size); e != error::kSuccess) return e;
  text.resize(static_cast<std::size_t>(size));
  std::uint32_t read = 0;
  const Win32Error result =
      files.readFile(file.get(), text.data(), static_cast<std::uint32_t>(size), read);
  text.resize(read);
  return result;
}

std::vector<std::string> SortedNames(const std::vector<platform::FindData>& matches) {
  std::vector<std::string> names;
  for (const platform::FindData& match : matches) names.push_back(match.name);
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return crt::StrCmpI(a.c_str(), b.c_str()) < 0;
  });
  return names;
}

}  // namespace contract

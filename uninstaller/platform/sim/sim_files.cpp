#include "sim_files.h"

#include <cstdio>
#include <cstring>
#include <functional>
#include <utility>

#include "faults.h"
#include "sim_clock.h"
#include "sim_errors.h"
#include "sim_registry.h"

namespace sim {
namespace {

namespace err = platform::error;
namespace fa = platform::file_attr;
using platform::FileHandle;
using platform::Win32Error;

// Access as the share check sees it; the bits line up with FILE_SHARE_*.
constexpr std::uint32_t kAccessRead = 0x1;
constexpr std::uint32_t kAccessWrite = 0x2;
constexpr std::uint32_t kAccessDelete = 0x4;

constexpr std::uint32_t kGenericAll = 0x10000000u;
constexpr std::uint32_t kGenericExecute = 0x20000000u;
constexpr std::uint32_t kDeleteRight = 0x10000u;
constexpr std::uint32_t kBackupSemantics = 0x02000000u;  // FILE_FLAG_BACKUP_SEMANTICS
constexpr std::uint32_t kTruncateExisting = 5;
constexpr std::uint32_t kSettableAttributes = fa::kReadOnly | fa::kHidden | fa::kSystem |
                                              fa::kArchive | 0x100u /* temporary */ |
                                              0x1000u /* offline */ | 0x2000u /* not indexed */;

constexpr const char* kSessionManager = "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Session Manager";
constexpr const char* kPendingValue = "PendingFileRenameOperations";

std::uint32_t NormaliseAccess(std::uint32_t access) {
  std::uint32_t result = 0;
  if (access & (platform::file_access::kGenericRead | kGenericAll | kGenericExecute | 0x1u)) {
    result |= kAccessRead;
  }
  if (access & (platform::file_access::kGenericWrite | kGenericAll | 0x2u | 0x4u)) {
    result |= kAccessWrite;
  }
  if (access & (kDeleteRight | kGenericAll)) result |= kAccessDelete;
  return result;
}

bool Conflicts(std::uint32_t access, std::uint32_t share, std::uint32_t otherAccess,
               std::uint32_t otherShare) {
  return ((access & ~otherShare) & 0x7u) != 0 || ((otherAccess & ~share) & 0x7u) != 0;
}

// The attributes of a file made by CreateFileA: the three settable flags it
// was asked for, and the archive bit every new or rewritten file gets.
std::uint32_t NewFileAttributes(std::uint32_t flagsAndAttributes) {
  return (flagsAndAttributes & (fa::kReadOnly | fa::kHidden | fa::kSystem)) | fa::kArchive;
}

void ForEachNode(FsNode& node, const std::function<void(FsNode&)>& visit) {
  visit(node);
  for (auto& [name, child] : node.children) ForEachNode(*child, visit);
}

// PendingFileRenameOperations holds pairs of strings, source then target,
// with an empty target for a deletion, each with its NUL, and one more NUL
// at the end. Empty strings inside the list rule out the usual multi-string
// reading.
std::vector<std::pair<std::string, std::string>> ParseRenamePairs(
    const std::vector<std::uint8_t>& data) {
  std::vector<std::string> strings;
  std::string current;
  std::size_t end = data.size();
  if (end > 0 && data[end - 1] == 0) --end;  // the list's final NUL
  for (std::size_t i = 0; i < end; ++i) {
    if (data[i] == 0) {
      strings.push_back(std::move(current));
      current.clear();
    } else {
      current += static_cast<char>(data[i]);
    }
  }
  std::vector<std::pair<std::string, std::string>> pairs;
  for (std::size_t i = 0; i + 1 < strings.size(); i += 2)
    pairs.emplace_back(strings[i], strings[i + 1]);
  return pairs;
}

std::string StripNtPrefix(const std::string& path) {
  return path.rfind("\\??\\", 0) == 0 ? path.substr(4) : path;
}

}  // namespace

SimFileSystem::SimFileSystem(SimRegistry& registry, SimClock& clock)
    : registry_(registry), clock_(clock) {
  addDrive('C');
}

// ---- Paths and nodes -------------------------------------------------------

Win32Error SimFileSystem::fullPath(std::string_view path, DosPath& full) const {
  return MakeFullPath(path, currentDirectory_, full);
}

std::shared_ptr<FsNode> SimFileSystem::lookup(const DosPath& path) const {
  auto drive = drives_.find(path.drive);
  if (drive == drives_.end()) return nullptr;
  std::shared_ptr<FsNode> node = drive->second;
  for (const std::string& name : path.names) {
    if (!node->directory) return nullptr;
    auto it = node->children.find(name);
    if (it == node->children.end()) return nullptr;
    node = it->second;
  }
  return node;
}

Win32Error SimFileSystem::find(std::string_view path, std::shared_ptr<FsNode>& node,
                               DosPath* full) const {
  DosPath p;
  if (Win32Error e = fullPath(path, p)) return e;
  node = lookup(p);
  if (full != nullptr) *full = p;
  if (node) return err::kSuccess;
  if (p.names.empty()) return err::kPathNotFound;  // no such drive
  std::shared_ptr<FsNode> parent = lookup(p.parent());
  return parent && parent->directory ? err::kFileNotFound : err::kPathNotFound;
}

std::shared_ptr<FsNode> SimFileSystem::addChild(FsNode& parent, const std::string& name,
                                                bool directory, std::uint32_t attributes) {
  auto node = std::make_shared<FsNode>();
  node->name = name;
  node->parent = &parent;
  node->directory = directory;
  node->attributes = directory ? (attributes | fa::kDirectory) : attributes;
  parent.children[name] = node;
  return node;
}

std::shared_ptr<FsNode> SimFileSystem::makeDirectoryChain(const DosPath& path) {
  addDrive(path.drive);
  std::shared_ptr<FsNode> node = drives_[path.drive];
  for (const std::string& name : path.names) {
    auto it = node->children.find(name);
    node = it != node->children.end() ? it->second : addChild(*node, name, true, 0);
  }
  return node;
}

void SimFileSystem::unlink(FsNode& node) {
  FsNode* parent = std::exchange(node.parent, nullptr);
  if (parent != nullptr) parent->children.erase(node.name);
}

// ---- Sharing -----------------------------------------------------------------

Win32Error SimFileSystem::shareCheck(const FsNode& node, std::uint32_t access,
                                     std::uint32_t share) const {
  if (access == 0) return err::kSuccess;  // attribute-only opens never conflict
  if (node.loadedModule && (access & kAccessWrite)) return err::kSharingViolation;
  for (const auto& [handle, open] : handles_) {
    if (open.node.get() == &node && Conflicts(access, share, open.access, open.share)) {
      return err::kSharingViolation;
    }
  }
  for (const auto& [id, hold] : holds_) {
    if (hold.node.get() == &node && Conflicts(access, share, hold.access, hold.share)) {
      return err::kSharingViolation;
    }
  }
  return err::kSuccess;
}

bool SimFileSystem::inUse(const FsNode& node) const {
  for (const auto& [handle, open] : handles_) {
    if (open.node.get() == &node) return true;
  }
  for (const auto& [id, hold] : holds_) {
    if (hold.node.get() == &node) return true;
  }
  return false;
}

void SimFileSystem::dropIfUnused(const std::shared_ptr<FsNode>& node) {
  if (node->deletePending && !inUse(*node)) unlink(*node);
}

FileHandle SimFileSystem::addHandle(OpenFile open) {
  const FileHandle handle{nextHandle_};
  nextHandle_ += 4;
  handles_[handle] = std::move(open);
  return handle;
}

// ---- Handles -------------------------------------------------------------------

Win32Error SimFileSystem::createFile(const char* path, std::uint32_t access, std::uint32_t share,
                                     std::uint32_t disposition, std::uint32_t flagsAndAttributes,
                                     FileHandle& file) {
  file = {};
  if (path == nullptr) return err::kPathNotFound;
  if (disposition < platform::file_disposition::kCreateNew || disposition > kTruncateExisting) {
    return err::kInvalidParameter;
  }
  DosPath full;
  if (Win32Error e = fullPath(path, full)) return e;
  const std::uint32_t wanted = NormaliseAccess(access);
  share &= 0x7u;

  std::shared_ptr<FsNode> node = lookup(full);
  if (node && node->directory) {
    if ((flagsAndAttributes & kBackupSemantics) == 0) return err::kAccessDenied;
    if (Win32Error e = shareCheck(*node, wanted, share)) return e;
    file = addHandle(OpenFile{node, wanted, share, 0, full.text()});
    return err::kSuccess;
  }
  if (full.names.empty()) return err::kPathNotFound;
  std::shared_ptr<FsNode> parent = lookup(full.parent());
  if (!parent || !parent->directory) return err::kPathNotFound;
  if (!IsValidName(full.leaf(), false)) return err::kInvalidName;

  if (!node) {
    if (disposition == platform::file_disposition::kOpenExisting ||
        disposition == kTruncateExisting) {
      return err::kFileNotFound;
    }
    node = addChild(*parent, full.leaf(), false, NewFileAttributes(flagsAndAttributes));
    file = addHandle(OpenFile{node, wanted, share, 0, full.text()});
    return err::kSuccess;
  }

  if (node->deletePending) return err::kAccessDenied;
  if (disposition == platform::file_disposition::kCreateNew) return err::kFileExists;
  if (Win32Error e = shareCheck(*node, wanted, share)) return e;
  const bool readOnly = (node->attributes & fa::kReadOnly) != 0;
  if (readOnly && (wanted & kAccessWrite)) return err::kAccessDenied;
  if (disposition == platform::file_disposition::kCreateAlways) {
    if (readOnly) return err::kAccessDenied;
    // Rewriting a hidden or system file needs those attributes asked for.
    const std::uint32_t kept = node->attributes & (fa::kHidden | fa::kSystem);
    if ((flagsAndAttributes & kept) != kept) return err::kAccessDenied;
    node->data.clear();
    node->attributes = NewFileAttributes(flagsAndAttributes);
  } else if (disposition == kTruncateExisting) {
    if ((wanted & kAccessWrite) == 0) return err::kInvalidParameter;
    node->data.clear();
  }
  file = addHandle(OpenFile{node, wanted, share, 0, full.text()});
  return err::kSuccess;
}

Win32Error SimFileSystem::fileSize(FileHandle file, std::uint64_t& size) {
  auto it = handles_.find(file);
  if (it == handles_.end()) return err::kInvalidHandle;
  size = it->second.node->data.size();
  return err::kSuccess;
}

Win32Error SimFileSystem::readFile(FileHandle file, void* buffer, std::uint32_t toRead,
                                   std::uint32_t& read) {
  read = 0;
  auto it = handles_.find(file);
  if (it == handles_.end()) return err::kInvalidHandle;
  OpenFile& open = it->second;
  if ((open.access & kAccessRead) == 0 || open.node->directory) return err::kAccessDenied;
  const std::string& data = open.node->data;
  if (open.position >= data.size()) return err::kSuccess;
  const std::uint64_t available = data.size() - open.position;
  const auto n = static_cast<std::uint32_t>(toRead < available ? toRead : available);
  if (n > 0) std::memcpy(buffer, data.data() + open.position, n);
  open.position += n;
  read = n;
  return err::kSuccess;
}

Win32Error SimFileSystem::writeFile(FileHandle file, const void* buffer, std::uint32_t toWrite,
                                    std::uint32_t& written) {
  written = 0;
  auto it = handles_.find(file);
  if (it == handles_.end()) return err::kInvalidHandle;
  OpenFile& open = it->second;
  if ((open.access & kAccessWrite) == 0 || open.node->directory) return err::kAccessDenied;
  if (faults_ != nullptr) {
    if (std::optional<Win32Error> fault = faults_->check("WriteFile", open.path)) {
      toWrite /= 2;
      std::string& data = open.node->data;
      if (data.size() < open.position + toWrite) data.resize(open.position + toWrite, '\0');
      if (toWrite > 0) std::memcpy(data.data() + open.position, buffer, toWrite);
      open.position += toWrite;
      written = toWrite;
      return *fault;
    }
  }
  std::string& data = open.node->data;
  if (data.size() < open.position + toWrite) data.resize(open.position + toWrite, '\0');
  if (toWrite > 0) std::memcpy(data.data() + open.position, buffer, toWrite);
  open.position += toWrite;
  written = toWrite;
  return err::kSuccess;
}

Win32Error SimFileSystem::setFilePointer(FileHandle file, std::int64_t distance,
                                         std::uint32_t method, std::uint64_t* position) {
  auto it = handles_.find(file);
  if (it == handles_.end()) return err::kInvalidHandle;
  OpenFile& open = it->second;
  std::int64_t origin = 0;
  if (method == platform::file_move::kCurrent) {
    origin = static_cast<std::int64_t>(open.position);
  } else if (method == platform::file_move::kEnd) {
    origin = static_cast<std::int64_t>(open.node->data.size());
  } else if (method != platform::file_move::kBegin) {
    return err::kInvalidParameter;
  }
  if (distance < -origin) return err::kNegativeSeek;
  open.position = static_cast<std::uint64_t>(origin + distance);
  if (position != nullptr) *position = open.position;
  return err::kSuccess;
}

Win32Error SimFileSystem::setEndOfFile(FileHandle file) {
  auto it = handles_.find(file);
  if (it == handles_.end()) return err::kInvalidHandle;
  OpenFile& open = it->second;
  if ((open.access & kAccessWrite) == 0 || open.node->directory) return err::kAccessDenied;
  open.node->data.resize(open.position, '\0');
  return err::kSuccess;
}

Win32Error SimFileSystem::closeFile(FileHandle file) {
  auto it = handles_.find(file);
  if (it == handles_.end()) return err::kInvalidHandle;
  std::shared_ptr<FsNode> node = it->second.node;
  handles_.erase(it);
  dropIfUnused(node);
  return err::kSuccess;
}

// ---- Names and attributes ------------------------------------------------------

Win32Error SimFileSystem::getAttributes(const char* path, std::uint32_t& attributes) {
  attributes = fa::kInvalid;
  std::shared_ptr<FsNode> node;
  if (Win32Error e = find(View(path), node)) return e;
  if (node->deletePending) return err::kAccessDenied;
  attributes = node->attributes == 0 ? fa::kNormal : node->attributes;
  return err::kSuccess;
}

Win32Error SimFileSystem::setAttributes(const char* path, std::uint32_t attributes) {
  std::shared_ptr<FsNode> node;
  if (Win32Error e = find(View(path), node)) return e;
  if (node->deletePending) return err::kAccessDenied;
  const std::uint32_t directoryBit = node->attributes & fa::kDirectory;
  node->attributes = (attributes & kSettableAttributes) | directoryBit;
  return err::kSuccess;
}

Win32Error SimFileSystem::deleteFile(const char* path) {
  std::shared_ptr<FsNode> node;
  if (Win32Error e = find(View(path), node)) return e;
  if (node->directory || node->deletePending) return err::kAccessDenied;
  constexpr std::uint32_t kShareAll = kAccessRead | kAccessWrite | kAccessDelete;
  if (Win32Error e = shareCheck(*node, kAccessDelete, kShareAll)) return e;
  if ((node->attributes & fa::kReadOnly) || node->loadedModule) return err::kAccessDenied;
  node->deletePending = true;
  dropIfUnused(node);
  return err::kSuccess;
}

Win32Error SimFileSystem::createDirectory(const char* path) {
  DosPath full;
  if (Win32Error e = fullPath(View(path), full)) return e;
  if (lookup(full)) return err::kAlreadyExists;
  if (full.names.empty()) return err::kPathNotFound;
  std::shared_ptr<FsNode> parent = lookup(full.parent());
  if (!parent || !parent->directory) return err::kPathNotFound;
  if (!IsValidName(full.leaf(), false)) return err::kInvalidName;
  addChild(*parent, full.leaf(), true, 0);
  return err::kSuccess;
}

bool SimFileSystem::isCurrentDirectory(const FsNode& node) const {
  std::shared_ptr<FsNode> current = lookup(currentDirectory_);
  return current.get() == &node;
}

Win32Error SimFileSystem::removeDirectory(const char* path) {
  std::shared_ptr<FsNode> node;
  if (Win32Error e = find(View(path), node)) return e;
  if (!node->directory) return error::kDirectory;
  if (node->parent == nullptr) return err::kAccessDenied;  // a drive's root
  // The process keeps its current directory open without delete sharing.
  if (isCurrentDirectory(*node)) return err::kSharingViolation;
  if (Win32Error e = shareCheck(*node, kAccessDelete, 0x7u)) return e;
  if (node->attributes & fa::kReadOnly) return err::kAccessDenied;
  if (!node->children.empty()) return err::kDirNotEmpty;
  unlink(*node);
  return err::kSuccess;
}

Win32Error SimFileSystem::copyFile(const char* from, const char* to, bool failIfExists) {
  std::shared_ptr<FsNode> source;
  if (Win32Error e = find(View(from), source)) return e;
  if (source->directory || source->deletePending) return err::kAccessDenied;
  if (Win32Error e = shareCheck(*source, kAccessRead, kAccessRead)) return e;

  DosPath target;
  if (Win32Error e = fullPath(View(to), target)) return e;
  if (target.names.empty()) return err::kAccessDenied;
  std::shared_ptr<FsNode> parent = lookup(target.parent());
  if (!parent || !parent->directory) return err::kPathNotFound;
  if (!IsValidName(target.leaf(), false)) return err::kInvalidName;
  std::shared_ptr<FsNode> existing = lookup(target);
  if (existing) {
    if (failIfExists) return err::kFileExists;
    if (existing->directory || existing->deletePending) return err::kAccessDenied;
    if (existing.get() == source.get()) return err::kSharingViolation;
    if (Win32Error e = shareCheck(*existing, kAccessWrite, 0)) return e;
    if ((existing->attributes & fa::kReadOnly) || existing->loadedModule) return err::kAccessDenied;
  } else {
    existing = addChild(*parent, target.leaf(), false, 0);
  }
  existing->data = source->data;
  existing->attributes = source->attributes | fa::kArchive;
  return err::kSuccess;
}

// Files only; the moved file keeps its open handles, as on NTFS.
Win32Error SimFileSystem::moveFileReplacing(const char* from, const char* to) {
  std::shared_ptr<FsNode> source;
  DosPath sourcePath;
  if (Win32Error e = find(View(from), source, &sourcePath)) return e;
  if (faults_ != nullptr) {
    if (std::optional<Win32Error> fault = faults_->check("MoveFileExA", sourcePath.text())) {
      return *fault;
    }
  }
  if (source->directory || source->deletePending) return err::kAccessDenied;
  if (Win32Error e = shareCheck(*source, kAccessDelete, 0x7u)) return e;

  DosPath target;
  if (Win32Error e = fullPath(View(to), target)) return e;
  if (target.names.empty()) return err::kAccessDenied;
  std::shared_ptr<FsNode> parent = lookup(target.parent());
  if (!parent || !parent->directory) return err::kPathNotFound;
  if (!IsValidName(target.leaf(), false)) return err::kInvalidName;
  std::shared_ptr<FsNode> existing = lookup(target);
  if (existing.get() == source.get()) return err::kSuccess;
  if (existing) {
    if (existing->directory || existing->deletePending) return err::kAccessDenied;
    if ((existing->attributes & fa::kReadOnly) || existing->loadedModule) return err::kAccessDenied;
    if (shareCheck(*existing, kAccessDelete, 0x7u) != err::kSuccess) return err::kAccessDenied;
    unlink(*existing);
  }
  unlink(*source);
  source->name = target.leaf();
  source->parent = parent.get();
  parent->children[source->name] = source;
  return err::kSuccess;
}

Win32Error SimFileSystem::deleteAtReboot(const char* path) {
  if (!nt_) return error::kCallNotImplemented;
  DosPath full;
  if (Win32Error e = fullPath(View(path), full)) return e;
  // The list lives below HKLM: only administrators may add to it.
  if (!registry_.mayWriteMachine()) return err::kAccessDenied;
  std::vector<std::uint8_t> data;
  if (std::optional<RegValue> existing = registry_.value(kSessionManager, kPendingValue)) {
    data = existing->data;
    if (!data.empty() && data.back() == 0) data.pop_back();  // the list's final NUL
  }
  const std::string source = "\\??\\" + full.text();
  data.insert(data.end(), source.begin(), source.end());
  data.push_back(0);  // end of the source
  data.push_back(0);  // the empty target: delete
  data.push_back(0);  // end of the list
  registry_.setValueBytes(kSessionManager, kPendingValue, platform::regtype::kMultiSz,
                          std::move(data));
  return err::kSuccess;
}

// ---- Searching -------------------------------------------------------------------

Win32Error SimFileSystem::findFiles(const char* pattern, std::vector<platform::FindData>& matches) {
  matches.clear();
  const std::string_view text = View(pattern);
  // The mask is taken as written: path normalisation would strip the dot of "*.".
  const std::size_t cut = text.find_last_of("\\/");
  std::string_view directory;
  std::string_view mask = text;
  if (cut != std::string_view::npos) {
    directory = text.substr(0, cut + 1);
    mask = text.substr(cut + 1);
  } else if (text.size() >= 2 && text[1] == ':') {
    directory = text.substr(0, 2);
    mask = text.substr(2);
  }
  if (mask.empty()) return err::kFileNotFound;
  DosPath dir;
  if (Win32Error e = fullPath(directory.empty() ? std::string_view(".") : directory, dir)) return e;
  std::shared_ptr<FsNode> node = lookup(dir);
  if (!node || !node->directory) return err::kPathNotFound;

  if (node->parent != nullptr) {
    for (const char* dots : {".", ".."}) {
      if (MatchesWildcard(mask, dots)) matches.push_back({fa::kDirectory, 0, dots});
    }
  }
  for (const auto& [name, child] : node->children) {
    if (!MatchesWildcard(mask, child->name)) continue;
    matches.push_back({child->attributes == 0 ? fa::kNormal : child->attributes, child->data.size(),
                       child->name});
  }
  return matches.empty() ? err::kFileNotFound : err::kSuccess;
}

bool SimFileSystem::existsForSearch(const std::string& directory, std::string_view name,
                                    std::string& found) const {
  if (directory.empty()) return false;
  DosPath dir;
  if (fullPath(directory, dir) != err::kSuccess) return false;
  std::string candidate = dir.text();
  if (candidate.back() != '\\') candidate += '\\';
  candidate += name;
  DosPath full;
  if (fullPath(candidate, full) != err::kSuccess || !lookup(full)) return false;
  found = candidate;
  return true;
}

std::uint32_t SimFileSystem::searchPath(const char* fileName, char* buffer, std::uint32_t size) {
  const std::string_view name = View(fileName);
  if (name.empty()) return 0;
  std::string found;
  if (name.find_first_of("\\/:") != std::string_view::npos) {
    // A name with a path is looked up as it stands.
    DosPath full;
    if (fullPath(name, full) != err::kSuccess || !lookup(full)) return 0;
    found = full.text();
  } else {
    std::vector<std::string> order = {search_.program, currentDirectory_.text(), search_.system,
                                      search_.system16, search_.windows};
    for (std::string& dir : SplitNonEmpty(search_.pathVariable, ';'))
      order.push_back(std::move(dir));
    bool hit = false;
    for (const std::string& dir : order) {
      if ((hit = existsForSearch(dir, name, found))) break;
    }
    if (!hit) return 0;
  }
  return CopyOrNeeded(found, buffer, size);
}

std::uint32_t SimFileSystem::fullPathName(const char* path, char* buffer, std::uint32_t size,
                                          char** filePart) {
  if (filePart != nullptr) *filePart = nullptr;
  DosPath full;
  if (View(path).empty() || fullPath(View(path), full) != err::kSuccess) return 0;
  std::string text = full.text();
  if (View(path).back() == '\\' && text.back() != '\\') text += '\\';
  const std::uint32_t length = CopyOrNeeded(text, buffer, size);
  if (filePart != nullptr && length < size && text.back() != '\\') {
    *filePart = buffer + text.rfind('\\') + 1;
  }
  return length;
}

Win32Error SimFileSystem::tempFileName(const char* directory, const char* prefix,
                                       std::uint32_t unique, char* path) {
  std::string base(View(directory));
  if (base.empty() || (base.back() != '\\' && base.back() != '/')) base += '\\';
  base += std::string(View(prefix).substr(0, 3));
  // The name is base + up to four hex digits + ".tmp" and must fit MAX_PATH.
  if (base.size() + 4 + 4 >= platform::kMaxPath) return err::kBufferOverflow;
  auto nameFor = [&base](std::uint32_t number) {
    char digits[9];
    std::snprintf(digits, sizeof digits, "%X", number & 0xFFFFu);
    return base + digits + ".tmp";
  };
  if (unique != 0) {
    CopyTruncated(nameFor(unique), path, platform::kMaxPath);
    return err::kSuccess;
  }
  // Windows starts from the tick count and counts up until it can create a
  // file that does not exist yet.
  std::uint32_t number = (lastTempNumber_ != 0 ? lastTempNumber_ : clock_.tickCount()) & 0xFFFFu;
  for (std::uint32_t attempt = 0; attempt < 0xFFFFu; ++attempt) {
    if (number == 0) number = 1;
    const std::string candidate = nameFor(number);
    FileHandle handle;
    const Win32Error e = createFile(candidate.c_str(), platform::file_access::kGenericWrite, 0,
                                    platform::file_disposition::kCreateNew, 0, handle);
    if (e == err::kSuccess) {
      closeFile(handle);
      lastTempNumber_ = (number + 1) & 0xFFFFu;
      CopyTruncated(candidate, path, platform::kMaxPath);
      return err::kSuccess;
    }
    if (e != err::kFileExists && e != err::kAccessDenied) return e;
    number = (number + 1) & 0xFFFFu;
  }
  return err::kFileExists;
}

std::uint32_t SimFileSystem::currentDirectory(char* buffer, std::uint32_t size) {
  return CopyOrNeeded(currentDirectory_.text(), buffer, size);
}

Win32Error SimFileSystem::setCurrentDirectory(const char* path) {
  std::shared_ptr<FsNode> node;
  DosPath full;
  if (Win32Error e = find(View(path), node, &full)) return e;
  if (!node->directory) return error::kDirectory;
  currentDirectory_ = full;
  return err::kSuccess;
}

// ---- Seeding and inspection ------------------------------------------------------

void SimFileSystem::addDrive(char letter) {
  const char drive = UpperAscii(letter);
  if (drives_.count(drive) != 0) return;
  auto root = std::make_shared<FsNode>();
  root->name = std::string{drive, ':'};
  root->directory = true;
  root->attributes = fa::kDirectory;
  drives_[drive] = root;
}

void SimFileSystem::makeDirectories(std::string_view path) {
  DosPath full;
  if (MakeFullPath(path, DosPath{'C', {}}, full) == err::kSuccess) makeDirectoryChain(full);
}

void SimFileSystem::writeFile(std::string_view path, std::string_view contents,
                              std::uint32_t attributes) {
  DosPath full;
  if (MakeFullPath(path, DosPath{'C', {}}, full) != err::kSuccess || full.names.empty()) return;
  std::shared_ptr<FsNode> parent = makeDirectoryChain(full.parent());
  auto it = parent->children.find(full.leaf());
  std::shared_ptr<FsNode> node =
      it != parent->children.end() ? it->second : addChild(*parent, full.leaf(), false, 0);
  node->data = std::string(contents);
  node->attributes = attributes & ~fa::kDirectory;
}

std::optional<std::string> SimFileSystem::fileContents(std::string_view path) const {
  std::shared_ptr<FsNode> node;
  if (find(path, node) != err::kSuccess || node->directory) return std::nullopt;
  return node->data;
}

bool SimFileSystem::exists(std::string_view path) const {
  std::shared_ptr<FsNode> node;
  return find(path, node) == err::kSuccess;
}

bool SimFileSystem::isDirectory(std::string_view path) const {
  std::shared_ptr<FsNode> node;
  return find(path, node) == err::kSuccess && node->directory;
}

std::optional<std::uint32_t> SimFileSystem::attributesOf(std::string_view path) const {
  std::shared_ptr<FsNode> node;
  if (find(path, node) != err::kSuccess) return std::nullopt;
  return node->attributes;
}

void SimFileSystem::setAttributesOf(std::string_view path, std::uint32_t attributes) {
  std::shared_ptr<FsNode> node;
  if (find(path, node) != err::kSuccess) return;
  node->attributes = (attributes & ~fa::kDirectory) | (node->directory ? fa::kDirectory : 0);
}

std::vector<std::string> SimFileSystem::list(std::string_view directory) const {
  std::vector<std::string> names;
  std::shared_ptr<FsNode> node;
  if (find(directory, node) != err::kSuccess || !node->directory) return names;
  for (const auto& [name, child] : node->children) names.push_back(child->name);
  return names;
}

bool SimFileSystem::removeTree(std::string_view path) {
  std::shared_ptr<FsNode> node;
  if (find(path, node) != err::kSuccess || node->parent == nullptr) return false;
  unlink(*node);
  return true;
}

SimFileSystem::HoldId SimFileSystem::holdOpen(std::string_view path, std::uint32_t access,
                                              std::uint32_t share) {
  std::shared_ptr<FsNode> node;
  if (find(path, node) != err::kSuccess) return 0;
  const HoldId id = nextHold_++;
  holds_[id] = Hold{node, NormaliseAccess(access), share & 0x7u};
  return id;
}

void SimFileSystem::release(HoldId hold) {
  auto it = holds_.find(hold);
  if (it == holds_.end()) return;
  std::shared_ptr<FsNode> node = it->second.node;
  holds_.erase(it);
  dropIfUnused(node);
}

void SimFileSystem::setLoadedModule(std::string_view path, bool loaded) {
  std::shared_ptr<FsNode> node;
  if (find(path, node) == err::kSuccess) node->loadedModule = loaded;
}

std::vector<std::string> SimFileSystem::pendingDeletions() const {
  std::vector<std::string> paths;
  std::optional<RegValue> value = registry_.value(kSessionManager, kPendingValue);
  if (!value) return paths;
  for (const auto& [source, target] : ParseRenamePairs(value->data)) {
    if (target.empty()) paths.push_back(StripNtPrefix(source));
  }
  return paths;
}

void SimFileSystem::restart() {
  std::vector<std::shared_ptr<FsNode>> released;
  for (auto& [id, hold] : holds_) released.push_back(hold.node);
  holds_.clear();
  for (auto& [letter, root] : drives_) {
    ForEachNode(*root, [](FsNode& node) { node.loadedModule = false; });
  }
  for (const std::shared_ptr<FsNode>& node : released) dropIfUnused(node);

  std::optional<RegValue> value = registry_.value(kSessionManager, kPendingValue);
  if (!value) return;
  for (const auto& [source, target] : ParseRenamePairs(value->data)) {
    std::shared_ptr<FsNode> node;
    if (find(StripNtPrefix(source), node) != err::kSuccess) continue;
    if (target.empty()) {
      unlink(*node);
      continue;
    }
    DosPath to;
    if (MakeFullPath(StripNtPrefix(target), DosPath{'C', {}}, to) != err::kSuccess) continue;
    std::shared_ptr<FsNode> parent = lookup(to.parent());
    if (!parent || !parent->directory || to.names.empty()) continue;
    unlink(*node);
    node->name = to.leaf();
    node->parent = parent.get();
    parent->children[node->name] = node;
  }
  registry_.removeValue(kSessionManager, kPendingValue);
}

}  // namespace sim

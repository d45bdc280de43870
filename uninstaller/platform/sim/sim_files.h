// The simulated file system: drives with directory trees, file contents and
// attributes, handles the program opens with their share modes, and files
// held by other processes or loaded as modules, reached through the
// conventions of platform::FileSystem and through path helpers for tests.
//
// As on Windows (NTFS): names compare without regard to case and keep the
// case they were created with; directories list in the order of their
// upper-cased names, with "." and ".." first below a root; a file open
// without FILE_SHARE_DELETE cannot be deleted (32), a read-only file or a
// loaded module cannot (5); deleting a file that is open with delete sharing
// succeeds and the name goes when the last handle closes. Not modelled:
// short (8.3) names, time stamps, security descriptors, alternate streams,
// network paths.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "sim_path.h"
#include "sim_text.h"

namespace sim {

class Faults;
class SimClock;
class SimRegistry;

struct FsNode {
  std::string name;
  FsNode* parent = nullptr;
  bool directory = false;
  std::uint32_t attributes = 0;
  std::string data;
  std::map<std::string, std::shared_ptr<FsNode>, LessNoCase> children;
  bool loadedModule = false;  // mapped as an image by some process
  bool deletePending = false;

  FsNode() = default;
  FsNode(const FsNode&) = delete;
  FsNode& operator=(const FsNode&) = delete;
  // Children that outlive their directory (an open handle keeps them) must
  // not point back into it.
  ~FsNode() {
    for (auto& [key, child] : children) child->parent = nullptr;
  }
};

// Where SearchPathA looks, in this order: the program's directory, the
// current directory, the system directory, the 16-bit system directory (NT
// only; empty to skip), the Windows directory, then each directory of PATH.
// This is the order with SafeProcessSearchMode off.
struct SearchDirectories {
  std::string program;
  std::string system;
  std::string system16;
  std::string windows;
  std::string pathVariable;  // directories separated by ';'
};

class SimFileSystem final : public platform::FileSystem {
 public:
  using HoldId = std::uint64_t;

  SimFileSystem(SimRegistry& registry, SimClock& clock);

  // MoveFileExA with MOVEFILE_DELAY_UNTIL_REBOOT exists on the NT family
  // only; elsewhere it fails with ERROR_CALL_NOT_IMPLEMENTED.
  void setNtFamily(bool nt) { nt_ = nt; }
  void setSearchDirectories(SearchDirectories dirs) { search_ = std::move(dirs); }
  // Injected faults: "WriteFile" (subject: the file's full path) writes half
  // of the bytes, as a disk that fills up does, then fails; "MoveFileExA"
  // (subject: the source path) fails before anything moves.
  void setFaults(Faults* faults) { faults_ = faults; }

  // platform::FileSystem
  platform::Win32Error createFile(const char* path, std::uint32_t access, std::uint32_t share,
                                  std::uint32_t disposition, std::uint32_t flagsAndAttributes,
                                  platform::FileHandle& file) override;
  platform::Win32Error fileSize(platform::FileHandle file, std::uint64_t& size) override;
  platform::Win32Error readFile(platform::FileHandle file, void* buffer, std::uint32_t toRead,
                                std::uint32_t& read) override;
  platform::Win32Error writeFile(platform::FileHandle file, const void* buffer,
                                 std::uint32_t toWrite, std::uint32_t& written) override;
  platform::Win32Error closeFile(platform::FileHandle file) override;
  platform::Win32Error setFilePointer(platform::FileHandle file, std::int64_t distance,
                                      std::uint32_t method, std::uint64_t* position) override;
  platform::Win32Error setEndOfFile(platform::FileHandle file) override;
  platform::Win32Error getAttributes(const char* path, std::uint32_t& attributes) override;
  platform::Win32Error setAttributes(const char* path, std::uint32_t attributes) override;
  platform::Win32Error deleteFile(const char* path) override;
  platform::Win32Error createDirectory(const char* path) override;
  platform::Win32Error removeDirectory(const char* path) override;
  platform::Win32Error copyFile(const char* from, const char* to, bool failIfExists) override;
  platform::Win32Error deleteAtReboot(const char* path) override;
  platform::Win32Error moveFileReplacing(const char* from, const char* to) override;
  platform::Win32Error findFiles(const char* pattern,
                                 std::vector<platform::FindData>& matches) override;
  std::uint32_t searchPath(const char* fileName, char* buffer, std::uint32_t size) override;
  std::uint32_t fullPathName(const char* path, char* buffer, std::uint32_t size,
                             char** filePart) override;
  platform::Win32Error tempFileName(const char* directory, const char* prefix, std::uint32_t unique,
                                    char* path) override;
  std::uint32_t currentDirectory(char* buffer, std::uint32_t size) override;
  platform::Win32Error setCurrentDirectory(const char* path) override;

  // ---- Seeding and inspection (full paths; missing directories are made) --
  void addDrive(char letter);
  void makeDirectories(std::string_view path);
  // Creates or replaces a file; attributes FILE_ATTRIBUTE_ARCHIVE unless given.
  void writeFile(std::string_view path, std::string_view contents,
                 std::uint32_t attributes = platform::file_attr::kArchive);
  std::optional<std::string> fileContents(std::string_view path) const;
  bool exists(std::string_view path) const;
  bool isDirectory(std::string_view path) const;
  std::optional<std::uint32_t> attributesOf(std::string_view path) const;
  void setAttributesOf(std::string_view path, std::uint32_t attributes);
  // The names in a directory, in the order FindFirstFileA reports them.
  std::vector<std::string> list(std::string_view directory) const;
  // Removes a file or a whole directory tree, whoever holds it.
  bool removeTree(std::string_view path);

  // Another process opens the file with this access and share mode (the
  // platform::file_access / file_share bits, plus 0x10000 for DELETE) and
  // keeps it open until released.
  HoldId holdOpen(std::string_view path, std::uint32_t access, std::uint32_t share);
  void release(HoldId hold);
  // A process has the file loaded as a module (a running program or a DLL).
  void setLoadedModule(std::string_view path, bool loaded);

  // Files the program has open and not closed.
  std::size_t openHandleCount() const { return handles_.size(); }

  // Files scheduled for deletion at the next start of Windows, from
  // PendingFileRenameOperations, as plain paths ("C:\\...").
  std::vector<std::string> pendingDeletions() const;
  // What a restart of Windows does to files: every other process lets go,
  // then the pending rename list is carried out and cleared.
  void restart();

 private:
  struct OpenFile {
    std::shared_ptr<FsNode> node;
    std::uint32_t access = 0;  // normalised: read / write / delete bits
    std::uint32_t share = 0;
    std::uint64_t position = 0;
    std::string path;  // as opened, made absolute
  };
  struct Hold {
    std::shared_ptr<FsNode> node;
    std::uint32_t access = 0;
    std::uint32_t share = 0;
  };

  platform::Win32Error fullPath(std::string_view path, DosPath& full) const;
  std::shared_ptr<FsNode> lookup(const DosPath& path) const;
  // The node of a path, or 2 (missing) / 3 (a directory on the way missing).
  platform::Win32Error find(std::string_view path, std::shared_ptr<FsNode>& node,
                            DosPath* full = nullptr) const;
  std::shared_ptr<FsNode> makeDirectoryChain(const DosPath& path);
  std::shared_ptr<FsNode> addChild(FsNode& parent, const std::string& name, bool directory,
                                   std::uint32_t attributes);
  platform::Win32Error shareCheck(const FsNode& node, std::uint32_t access,
                                  std::uint32_t share) const;
  bool inUse(const FsNode& node) const;
  void dropIfUnused(const std::shared_ptr<FsNode>& node);
  static void unlink(FsNode& node);
  platform::FileHandle addHandle(OpenFile open);
  bool isCurrentDirectory(const FsNode& node) const;
  bool existsForSearch(const std::string& directory, std::string_view name,
                       std::string& found) const;

  SimRegistry& registry_;
  SimClock& clock_;
  Faults* faults_ = nullptr;
  bool nt_ = true;
  SearchDirectories search_;
  std::map<char, std::shared_ptr<FsNode>> drives_;
  std::map<platform::FileHandle, OpenFile> handles_;
  std::map<HoldId, Hold> holds_;
  std::uintptr_t nextHandle_ = 0x2000;
  HoldId nextHold_ = 1;
  DosPath currentDirectory_{'C', {}};
  std::uint32_t lastTempNumber_ = 0;
};

}  // namespace sim

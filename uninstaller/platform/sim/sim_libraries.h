// The simulated libraries: files of the simulated file system that the
// program loads, and the entry points that tests give them. A library that
// a test registers exports the entry points it names; each call of one is
// logged with its four arguments and the current directory at the time,
// and may run a reaction of the test (a hook that writes a file...).
//
// As on Windows: a library loads from its path, or by a bare name in the
// standard search order; loading it again gives the same module and counts
// up; while loaded its file cannot be deleted. Simplified: any existing file
// loads (one that no test registered exports nothing), and nothing is
// loaded on the library's behalf.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "faults.h"
#include "platform/libraries.h"
#include "sim_text.h"

namespace sim {

class SimFileSystem;

// One call of a rundll-style entry point.
struct EntryCall {
  std::string library;  // the file, as loaded
  std::string entryPoint;
  platform::WindowHandle window;
  platform::ModuleHandle instance;
  std::string commandLine;
  int show = 0;
  std::string currentDirectory;
};

class SimLibraries final : public platform::Libraries {
 public:
  using Reaction = std::function<void(const EntryCall&)>;

  SimLibraries(SimFileSystem& files, Faults& faults);

  // The file at `path` is a library that exports `entryPoints`; the file
  // is created when missing.
  void addLibrary(std::string_view path, std::vector<std::string> entryPoints);
  void setOnCall(std::string_view path, Reaction reaction);

  const std::vector<EntryCall>& calls() const { return calls_; }
  // Libraries loaded and not freed yet.
  std::size_t openHandleCount() const { return loaded_.size(); }

  // platform::Libraries
  platform::Win32Error loadLibrary(const char* path, platform::ModuleHandle& module) override;
  platform::Win32Error freeLibrary(platform::ModuleHandle module) override;
  platform::Win32Error callRundllEntry(platform::ModuleHandle module, const char* entryPoint,
                                       platform::WindowHandle window,
                                       platform::ModuleHandle instance, const char* commandLine,
                                       int show) override;

 private:
  struct Export {
    std::vector<std::string> entryPoints;
    Reaction reaction;
  };
  struct Loaded {
    std::string path;
    int count = 0;
  };

  // The file a LoadLibraryA argument names, "" when there is none.
  std::string resolve(const char* path) const;

  SimFileSystem& files_;
  Faults& faults_;
  std::map<std::string, Export, LessNoCase> exports_;
  std::map<platform::ModuleHandle, Loaded> loaded_;
  std::uintptr_t nextModule_ = 0x10000000;
  std::vector<EntryCall> calls_;
};

}  // namespace sim

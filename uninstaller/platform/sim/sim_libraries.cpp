#include "sim_libraries.h"

#include <algorithm>

#include "sim_files.h"

namespace sim {
namespace {
namespace err = platform::error;
}  // namespace

SimLibraries::SimLibraries(SimFileSystem& files, Faults& faults) : files_(files), faults_(faults) {}

void SimLibraries::addLibrary(std::string_view path, std::vector<std::string> entryPoints) {
  if (!files_.exists(path)) files_.writeFile(path, "MZ");
  exports_[std::string(path)].entryPoints = std::move(entryPoints);
}

void SimLibraries::setOnCall(std::string_view path, Reaction reaction) {
  exports_[std::string(path)].reaction = std::move(reaction);
}

std::string SimLibraries::resolve(const char* path) const {
  const std::string_view name = View(path);
  if (name.empty()) return "";
  if (name.find('\\') != std::string_view::npos || name.find(':') != std::string_view::npos)
    return files_.exists(name) && !files_.isDirectory(name) ? std::string(name) : "";
  char found[platform::kMaxPath] = {};
  return files_.searchPath(path, found, sizeof found) != 0 ? std::string(found) : "";
}

platform::Win32Error SimLibraries::loadLibrary(const char* path, platform::ModuleHandle& module) {
  module = {};
  if (auto injected = faults_.check("LoadLibraryA", View(path))) return *injected;
  const std::string file = resolve(path);
  if (file.empty()) return err::kModNotFound;
  for (auto& [handle, loaded] : loaded_) {
    if (EqualNoCase(loaded.path, file)) {
      ++loaded.count;
      module = handle;
      return err::kSuccess;
    }
  }
  module = platform::ModuleHandle{nextModule_};
  nextModule_ += 0x10000;
  loaded_[module] = Loaded{file, 1};
  files_.setLoadedModule(file, true);
  return err::kSuccess;
}

platform::Win32Error SimLibraries::freeLibrary(platform::ModuleHandle module) {
  auto it = loaded_.find(module);
  if (it == loaded_.end()) return err::kInvalidHandle;
  if (--it->second.count == 0) {
    files_.setLoadedModule(it->second.path, false);
    loaded_.erase(it);
  }
  return err::kSuccess;
}

platform::Win32Error SimLibraries::callRundllEntry(platform::ModuleHandle module,
                                                   const char* entryPoint,
                                                   platform::WindowHandle window,
                                                   platform::ModuleHandle instance,
                                                   const char* commandLine, int show) {
  auto it = loaded_.find(module);
  if (it == loaded_.end()) return err::kInvalidHandle;
  if (auto injected = faults_.check("GetProcAddress", View(entryPoint))) return *injected;
  auto lib = exports_.find(it->second.path);
  if (lib == exports_.end()) return err::kProcNotFound;
  const std::vector<std::string>& names = lib->second.entryPoints;
  // Export names are case-sensitive.
  if (std::find(names.begin(), names.end(), std::string(View(entryPoint))) == names.end())
    return err::kProcNotFound;
  EntryCall call{it->second.path,
                 std::string(View(entryPoint)),
                 window,
                 instance,
                 std::string(View(commandLine)),
                 show,
                 ""};
  char directory[platform::kMaxPath] = {};
  files_.currentDirectory(directory, sizeof directory);
  call.currentDirectory = directory;
  calls_.push_back(call);
  if (lib->second.reaction) lib->second.reaction(call);
  return err::kSuccess;
}

}  // namespace sim

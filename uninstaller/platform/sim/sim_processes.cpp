#include "sim_processes.h"

#include "sim_files.h"

namespace sim {
namespace {

namespace err = platform::error;

// The first token of a command line: up to the closing quote when it
// starts with one, else up to the first blank.
std::string FirstToken(std::string_view commandLine) {
  if (!commandLine.empty() && commandLine.front() == '"') {
    const std::size_t close = commandLine.find('"', 1);
    return std::string(commandLine.substr(1, close == std::string_view::npos ? close : close - 1));
  }
  return std::string(commandLine.substr(0, commandLine.find(' ')));
}

bool HasExtension(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  return dot != std::string_view::npos && name.find('\\', dot) == std::string_view::npos;
}

}  // namespace

SimProcesses::SimProcesses(SimFileSystem& files, Faults& faults) : files_(files), faults_(faults) {}

void SimProcesses::setExitsAtOnce(std::string_view program, std::uint32_t exitCode) {
  setups_[std::string(program)].exitsAtOnceWith = exitCode;
}

void SimProcesses::setOnStart(std::string_view program, StartReaction reaction) {
  setups_[std::string(program)].onStart = std::move(reaction);
}

void SimProcesses::finish(std::string_view program, std::uint32_t exitCode) {
  for (Running& process : processes_) {
    if (!process.exitCode && EqualNoCase(process.program, program)) process.exitCode = exitCode;
  }
}

bool SimProcesses::isRunning(std::string_view program) const {
  for (const Running& process : processes_) {
    if (!process.exitCode && EqualNoCase(process.program, program)) return true;
  }
  return false;
}

// An application path is used as given; a bare command line names its
// program by its first token, found as SearchPathA finds it, with ".exe"
// added when the token has no extension, as CreateProcessA does.
std::string SimProcesses::resolve(const char* application, const char* commandLine) {
  if (application != nullptr) return files_.exists(application) ? std::string(application) : "";
  if (commandLine == nullptr) return "";
  std::string token = FirstToken(commandLine);
  if (token.empty()) return "";
  if (!HasExtension(token)) token += ".exe";
  if (token.find('\\') != std::string::npos) return files_.exists(token) ? token : "";
  char found[platform::kMaxPath] = {};
  return files_.searchPath(token.c_str(), found, sizeof found) != 0 ? std::string(found) : "";
}

std::size_t SimProcesses::start(ProcessStart started) {
  Running process{started.program, std::nullopt};
  auto setup = setups_.find(started.program);
  if (setup != setups_.end() && setup->second.exitsAtOnceWith) {
    process.exitCode = setup->second.exitsAtOnceWith;
  }
  processes_.push_back(process);
  starts_.push_back(started);
  if (setup != setups_.end() && setup->second.onStart) setup->second.onStart(started);
  return processes_.size() - 1;
}

platform::Win32Error SimProcesses::createProcess(const char* application, const char* commandLine,
                                                 platform::ProcessHandle& process) {
  process = {};
  const std::string program = resolve(application, commandLine);
  if (auto injected = faults_.check("CreateProcessA", program)) return *injected;
  if (program.empty()) return err::kFileNotFound;
  ProcessStart started;
  started.application = application != nullptr ? application : "";
  started.commandLine = commandLine != nullptr ? commandLine : "";
  started.program = program;
  const std::size_t index = start(std::move(started));
  process = platform::ProcessHandle{nextHandle_};
  nextHandle_ += 4;
  handles_[process] = index;
  return err::kSuccess;
}

platform::Win32Error SimProcesses::exitCode(platform::ProcessHandle process, std::uint32_t& code) {
  auto it = handles_.find(process);
  if (it == handles_.end()) return err::kInvalidHandle;
  code = processes_[it->second].exitCode.value_or(platform::kStillActive);
  return err::kSuccess;
}

platform::Win32Error SimProcesses::closeProcess(platform::ProcessHandle process) {
  return handles_.erase(process) != 0 ? err::kSuccess : err::kInvalidHandle;
}

std::uint32_t SimProcesses::winExec(const char* commandLine, int show) {
  const std::string program = resolve(nullptr, commandLine);
  if (auto injected = faults_.check("WinExec", program)) return *injected;
  if (program.empty()) return err::kFileNotFound;
  ProcessStart started;
  started.commandLine = commandLine;
  started.program = program;
  started.winExec = true;
  started.show = show;
  start(std::move(started));
  return 33;
}

}  // namespace sim

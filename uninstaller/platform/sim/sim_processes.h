// The simulated processes: programs started from files of the simulated
// file system. A started program runs until the test ends it (finish), or
// ends at once when it was set up so; every start is logged with the
// application and command line the program gave, and a test can react to a
// start (a program that opens a window, writes a file...).
//
// Simplified: a process has no threads, windows or files of its own; what
// it does is the test's reaction.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "faults.h"
#include "platform/processes.h"
#include "sim_text.h"

namespace sim {

class SimFileSystem;

struct ProcessStart {
  std::string application;  // as given; empty when it was null
  std::string commandLine;
  std::string program;   // the program file that was started
  bool winExec = false;  // started through WinExec
  int show = 0;          // WinExec's show command
};

class SimProcesses final : public platform::Processes {
 public:
  using StartReaction = std::function<void(const ProcessStart&)>;

  SimProcesses(SimFileSystem& files, Faults& faults);

  // The program (a file path) ends as soon as it starts, with `exitCode`.
  void setExitsAtOnce(std::string_view program, std::uint32_t exitCode = 0);
  // Called whenever the program starts.
  void setOnStart(std::string_view program, StartReaction reaction);
  // Every running process of the program ends with `exitCode`.
  void finish(std::string_view program, std::uint32_t exitCode = 0);
  bool isRunning(std::string_view program) const;

  const std::vector<ProcessStart>& starts() const { return starts_; }
  std::size_t openHandleCount() const { return handles_.size(); }

  // platform::Processes
  platform::Win32Error createProcess(const char* application, const char* commandLine,
                                     platform::ProcessHandle& process) override;
  platform::Win32Error exitCode(platform::ProcessHandle process, std::uint32_t& code) override;
  platform::Win32Error closeProcess(platform::ProcessHandle process) override;
  std::uint32_t winExec(const char* commandLine, int show) override;

 private:
  struct Running {
    std::string program;
    std::optional<std::uint32_t> exitCode;  // set once it has ended
  };
  struct Setup {
    std::optional<std::uint32_t> exitsAtOnceWith;
    StartReaction onStart;
  };

  // The program file a start names, "" when there is none.
  std::string resolve(const char* application, const char* commandLine);
  std::size_t start(ProcessStart start);

  SimFileSystem& files_;
  Faults& faults_;
  std::map<std::string, Setup, LessNoCase> setups_;
  std::vector<Running> processes_;
  std::vector<ProcessStart> starts_;
  std::map<platform::ProcessHandle, std::size_t> handles_;  // handle -> index in processes_
  std::uintptr_t nextHandle_ = 0x7000;
};

}  // namespace sim

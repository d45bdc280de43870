// Other programs: starting them and asking whether they still run
// (KERNEL32 CreateProcessA, GetExitCodeProcess, WinExec).
#pragma once

#include <cstdint>

#include "win32_types.h"

namespace platform {

inline constexpr std::uint32_t kStillActive = 259;  // STILL_ACTIVE

namespace show_command {
inline constexpr int kHide = 0;  // SW_HIDE
}

// Each operation mirrors the Win32 function named beside it.
class Processes {
 public:
  virtual ~Processes() = default;

  // CreateProcessA(application, commandLine, no security attributes, no
  // inherited handles, no creation flags, default environment and
  // directory, a zeroed STARTUPINFOA with its size set). `application` may
  // be null: the program is then the command line's first token, found in
  // the standard search order. The thread handle is closed at once; the
  // process handle is the caller's to close.
  virtual Win32Error createProcess(const char* application, const char* commandLine,
                                   ProcessHandle& process) = 0;
  // GetExitCodeProcess: kStillActive while the process runs.
  virtual Win32Error exitCode(ProcessHandle process, std::uint32_t& code) = 0;
  // CloseHandle on a process handle.
  virtual Win32Error closeProcess(ProcessHandle process) = 0;
  // WinExec: above 31 when the program started, else the error (0-31).
  virtual std::uint32_t winExec(const char* commandLine, int show) = 0;
};

// Owns one process handle.
using Process = Owner<Processes, ProcessHandle, &Processes::closeProcess>;

}  // namespace platform

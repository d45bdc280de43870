// Starting other programs (KERNEL32 process functions).
#pragma once

#include "platform/processes.h"

namespace win32 {

class Win32Processes final : public platform::Processes {
 public:
  platform::Win32Error createProcess(const char* application, const char* commandLine,
                                     platform::ProcessHandle& process) override;
  platform::Win32Error exitCode(platform::ProcessHandle process, std::uint32_t& code) override;
  platform::Win32Error closeProcess(platform::ProcessHandle process) override;
  std::uint32_t winExec(const char* commandLine, int show) override;
};

}  // namespace win32

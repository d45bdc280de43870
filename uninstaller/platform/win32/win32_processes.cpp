#include "platform/win32/win32_processes.h"

#include <cstring>
#include <vector>

#include "platform/win32/convert.h"
#include "platform/win32/handles.h"

namespace win32 {

using platform::Win32Error;

Win32Error Win32Processes::createProcess(const char* application, const char* commandLine,
                                         platform::ProcessHandle& process) {
  process = {};
  // CreateProcessA may write into its command line, so it gets a copy.
  std::vector<char> line;
  if (commandLine != nullptr) line.assign(commandLine, commandLine + std::strlen(commandLine) + 1);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!::CreateProcessA(application, line.empty() ? nullptr : line.data(), nullptr, nullptr, FALSE,
                        0, nullptr, nullptr, &startup, &started)) {
    return ::GetLastError();
  }
  KernelHandle thread(started.hThread);
  process = HandleOf<platform::ProcessHandle>(started.hProcess);
  return ERROR_SUCCESS;
}

Win32Error Win32Processes::exitCode(platform::ProcessHandle process, std::uint32_t& code) {
  DWORD value = 0;
  const Win32Error error = ResultOf(::GetExitCodeProcess(NativeOf<HANDLE>(process), &value));
  code = value;
  return error;
}

Win32Error Win32Processes::closeProcess(platform::ProcessHandle process) {
  return ResultOf(::CloseHandle(NativeOf<HANDLE>(process)));
}

std::uint32_t Win32Processes::winExec(const char* commandLine, int show) {
  return ::WinExec(commandLine, static_cast<UINT>(show));
}

}  // namespace win32

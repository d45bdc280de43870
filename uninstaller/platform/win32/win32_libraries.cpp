#include "platform/win32/win32_libraries.h"

#include "platform/win32/convert.h"

namespace win32 {
namespace {

using platform::Win32Error;
using RundllEntry = void(CALLBACK*)(HWND, HINSTANCE, LPSTR, int);

}  // namespace

Win32Error Win32Libraries::loadLibrary(const char* path, platform::ModuleHandle& module) {
  const HMODULE loaded = ::LoadLibraryA(path);
  module = HandleOf<platform::ModuleHandle>(loaded);
  return loaded != nullptr ? ERROR_SUCCESS : ::GetLastError();
}

Win32Error Win32Libraries::freeLibrary(platform::ModuleHandle module) {
  return ResultOf(::FreeLibrary(NativeOf<HMODULE>(module)));
}

Win32Error Win32Libraries::callRundllEntry(platform::ModuleHandle module, const char* entryPoint,
                                           platform::WindowHandle window,
                                           platform::ModuleHandle instance, const char* commandLine,
                                           int show) {
  const FARPROC proc = ::GetProcAddress(NativeOf<HMODULE>(module), entryPoint);
  if (proc == nullptr) return ::GetLastError();
  // Through the generic function pointer type, which converts to any other
  // without a cast-function-type warning.
  const auto entry = reinterpret_cast<RundllEntry>(reinterpret_cast<void (*)()>(proc));
  // The entry point may write into its text.
  char text[platform::kMaxPath] = {};
  ::lstrcpynA(text, commandLine != nullptr ? commandLine : "", sizeof text);
  entry(ToHwnd(window), ToInstance(instance), text, show);
  return ERROR_SUCCESS;
}

}  // namespace win32

// Loading a library and calling its rundll-style entry point on the real
// system.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/convert.h"
#include "platform/win32/win32_libraries.h"
#include "platform/win32/windows_headers.h"

namespace {

namespace err = platform::error;
using LastCallFn = int(__cdecl*)(HWND*, HINSTANCE*, char*, int*);

std::string BesideTheTest(const char* name) {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string directory(path);
  return directory.substr(0, directory.rfind('\\') + 1) + name;
}

TEST(Win32Libraries, EntryPointGetsItsFourArgumentsInOrder) {
  win32::Win32Libraries api;
  platform::Library library(api);
  ASSERT_EQ(api.loadLibrary(BesideTheTest(SW_HOOK_DLL).c_str(), library.out()), err::kSuccess);

  const platform::WindowHandle window{0x1234};
  const platform::ModuleHandle instance{0x400000};
  ASSERT_EQ(api.callRundllEntry(library.get(), "SwHook", window, instance, "C:\\Stripwell\\", 0),
            err::kSuccess);

  const FARPROC proc = ::GetProcAddress(win32::NativeOf<HMODULE>(library.get()), "SwHookLastCall");
  ASSERT_NE(proc, nullptr);
  const auto lastCall = reinterpret_cast<LastCallFn>(reinterpret_cast<void (*)()>(proc));
  HWND calledWindow = nullptr;
  HINSTANCE calledInstance = nullptr;
  char text[MAX_PATH] = {};
  int show = -1;
  EXPECT_EQ(lastCall(&calledWindow, &calledInstance, text, &show), 1);
  EXPECT_EQ(calledWindow, win32::ToHwnd(window));
  EXPECT_EQ(calledInstance, win32::ToInstance(instance));
  EXPECT_STREQ(text, "C:\\Stripwell\\");
  EXPECT_EQ(show, 0);

  EXPECT_EQ(api.callRundllEntry(library.get(), "NoSuchEntry", window, instance, "", 0),
            err::kProcNotFound);
  platform::Library missing(api);
  EXPECT_EQ(api.loadLibrary(BesideTheTest("no_such_library.dll").c_str(), missing.out()),
            err::kModNotFound);
  EXPECT_FALSE(missing.isOpen());
}

}  // namespace

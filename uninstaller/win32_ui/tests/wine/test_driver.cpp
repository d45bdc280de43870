// A small console program through which the Wine test scripts look at and
// steer Stripwell from outside: window lookup by class works across
// processes, and so do posted commands and service queries.
//
//   sw-driver wait-window CLASS TIMEOUT_MS     print "<caption>" of the first window of CLASS
//   sw-driver wait-gone CLASS TIMEOUT_MS       succeed once no window of CLASS exists
//   sw-driver wait-title CLASS TITLE TIMEOUT_MS succeed once a window of CLASS has that title
//   sw-driver wait-ready CLASS TIMEOUT_MS      wait until the window of CLASS is visible, pressing
//                                              Enter on every message box meanwhile ("box: <text>")
//   sw-driver is-foreground CLASS              succeed when that window is the foreground window
//   sw-driver post-command CLASS ID            post WM_COMMAND ID (notification 0) to it
//   sw-driver item-text CLASS ID               print the text of dialog control ID
//   sw-driver service SERVICE                  print "<state> <process id>"
//   sw-driver start-service SERVICE            start it and wait until it runs
//   sw-driver file-version FILE                print the fixed file version "a.b.c.d"
//   sw-driver manifest FILE                    print the program's manifest (RT_MANIFEST 1)
//   sw-driver message-box TIMEOUT_MS           print the text of a message box, then press its
//   default button
//
// Exit code 0 on success, 1 when the condition was not met, 2 on bad usage.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

HWND WaitForWindow(const char* className, const char* title, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    HWND window = FindWindowA(className, title);
    if (window != nullptr || GetTickCount() - start > timeoutMs) return window;
    Sleep(100);
  }
}

int WaitWindow(const char* className, DWORD timeoutMs) {
  HWND window = WaitForWindow(className, nullptr, timeoutMs);
  if (window == nullptr) return 1;
  char caption[256] = {};
  GetWindowTextA(window, caption, sizeof caption);
  std::printf("%s\n", caption);
  return 0;
}

int WaitGone(const char* className, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (FindWindowA(className, nullptr) != nullptr) {
    if (GetTickCount() - start > timeoutMs) return 1;
    Sleep(100);
  }
  return 0;
}

int IsForeground(const char* className) {
  HWND window = FindWindowA(className, nullptr);
  return window != nullptr && GetForegroundWindow() == window ? 0 : 1;
}

int PostCommand(const char* className, int id) {
  HWND window = FindWindowA(className, nullptr);
  if (window == nullptr) return 1;
  return PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, 0), 0) ? 0 : 1;
}

int ItemText(const char* className, int id) {
  HWND window = FindWindowA(className, nullptr);
  if (window == nullptr) return 1;
  char text[1024] = {};
  GetDlgItemTextA(window, id, text, sizeof text);
  std::printf("%s\n", text);
  return 0;
}

int Service(const char* name) {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
  if (manager == nullptr) return 1;
  SC_HANDLE service = OpenServiceA(manager, name, SERVICE_QUERY_STATUS);
  int result = 1;
  if (service != nullptr) {
    SERVICE_STATUS_PROCESS status{};
    DWORD needed = 0;
    if (QueryServiceStatusEx(service, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status),
                             sizeof status, &needed)) {
      std::printf("%lu %lu\n", status.dwCurrentState, status.dwProcessId);
      result = 0;
    }
    CloseServiceHandle(service);
  }
  CloseServiceHandle(manager);
  return result;
}

int StartService(const char* name) {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
  if (manager == nullptr) return 1;
  SC_HANDLE service = OpenServiceA(manager, name, SERVICE_START | SERVICE_QUERY_STATUS);
  int result = 1;
  if (service != nullptr) {
    StartServiceA(service, 0, nullptr);
    for (int i = 0; i < 100 && result != 0; ++i) {
      SERVICE_STATUS status{};
      if (QueryServiceStatus(service, &status) && status.dwCurrentState == SERVICE_RUNNING) {
        result = 0;
      } else {
        Sleep(100);
      }
    }
    CloseServiceHandle(service);
  }
  CloseServiceHandle(manager);
  return result;
}

int WaitTitle(const char* className, const char* title, DWORD timeoutMs) {
  return WaitForWindow(className, title, timeoutMs) != nullptr ? 0 : 1;
}

// The text of a message box on screen, which is pressed; false when none.
bool DismissMessageBox() {
  for (HWND window = FindWindowA("#32770", nullptr); window != nullptr;
       window = FindWindowExA(nullptr, window, "#32770", nullptr)) {
    HWND text = GetDlgItem(window, 0xFFFF);
    if (text == nullptr || !IsWindowVisible(window)) continue;
    char buffer[1024] = {};
    GetWindowTextA(text, buffer, sizeof buffer);
    std::printf("box: %s\n", buffer);
    std::fflush(stdout);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDYES, 0), 0);
    Sleep(300);
    return true;
  }
  return false;
}

int WaitReady(const char* className, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    HWND window = FindWindowA(className, nullptr);
    if (window != nullptr && IsWindowVisible(window)) {
      char caption[256] = {};
      GetWindowTextA(window, caption, sizeof caption);
      std::printf("%s\n", caption);
      return 0;
    }
    if (!DismissMessageBox()) Sleep(100);
    if (GetTickCount() - start > timeoutMs) return 1;
  }
}

int FileVersion(const char* path) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
  if (size == 0) return 1;
  std::vector<char> data(size);
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!GetFileVersionInfoA(path, 0, size, data.data()) ||
      !VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &length)) {
    return 1;
  }
  std::printf("%u.%u.%u.%u\n", HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS),
              HIWORD(info->dwFileVersionLS), LOWORD(info->dwFileVersionLS));
  return 0;
}

int Manifest(const char* path) {
  HMODULE module = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (module == nullptr) return 1;
  int result = 1;
  if (HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24))) {
    const DWORD size = SizeofResource(module, found);
    const char* text = static_cast<const char*>(LockResource(LoadResource(module, found)));
    if (text != nullptr) {
      std::fwrite(text, 1, size, stdout);
      result = 0;
    }
  }
  FreeLibrary(module);
  return result;
}

// A message box is a "#32770" window with a static text control 0xFFFF.
int MessageBoxText(DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    for (HWND window = FindWindowA("#32770", nullptr); window != nullptr;
         window = FindWindowExA(nullptr, window, "#32770", nullptr)) {
      HWND text = GetDlgItem(window, 0xFFFF);
      if (text == nullptr) continue;
      char buffer[1024] = {};
      GetWindowTextA(text, buffer, sizeof buffer);
      std::printf("%s\n", buffer);
      std::fflush(stdout);
      PostMessageA(window, WM_KEYDOWN, VK_RETURN, 0);
      PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
      return 0;
    }
    if (GetTickCount() - start > timeoutMs) return 1;
    Sleep(100);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const char* verb = argv[1];
  auto number = [&](int i) { return argc > i ? std::strtoul(argv[i], nullptr, 10) : 0ul; };
  if (!std::strcmp(verb, "wait-window") && argc == 4) return WaitWindow(argv[2], number(3));
  if (!std::strcmp(verb, "wait-gone") && argc == 4) return WaitGone(argv[2], number(3));
  if (!std::strcmp(verb, "wait-title") && argc == 5) return WaitTitle(argv[2], argv[3], number(4));
  if (!std::strcmp(verb, "wait-ready") && argc == 4) return WaitReady(argv[2], number(3));
  if (!std::strcmp(verb, "is-foreground")) return IsForeground(argv[2]);
  if (!std::strcmp(verb, "post-command") && argc == 4)
    return PostCommand(argv[2], static_cast<int>(number(3)));
  if (!std::strcmp(verb, "item-text") && argc == 4)
    return ItemText(argv[2], static_cast<int>(number(3)));
  if (!std::strcmp(verb, "service")) return Service(argv[2]);
  if (!std::strcmp(verb, "start-service")) return StartService(argv[2]);
  if (!std::strcmp(verb, "message-box")) return MessageBoxText(number(2));
  if (!std::strcmp(verb, "file-version")) return FileVersion(argv[2]);
  if (!std::strcmp(verb, "manifest")) return Manifest(argv[2]);
  return 2;
}

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
//   sw-driver answer-box TIMEOUT_MS            the same, but press No when the box has that button
//
// The verbs below name a top-level window by CLASS and TITLE ("-": any
// title) and a control by its id anywhere below it (inside child pages too).
//   sw-driver enabled CLASS TITLE ID           print 1 when the control is enabled, else 0
//   sw-driver visible CLASS TITLE ID           print 1 when the control is visible, else 0
//   sw-driver list-items CLASS TITLE ID        print a list view: "view <icon|small|list|report>",
//                                              "focused <item>", then one line per item:
//                                              "<selected 0|1>\t<column 0>\t<column 1>..."
//   sw-driver item-point CLASS TITLE ID ITEM   print the screen point "x y" inside a list item
//   sw-driver control-point CLASS TITLE ID     print the screen point "x y" at a control's centre
//   sw-driver window-size CLASS TITLE          print "width height" of the window
//   sw-driver post CLASS TITLE MSG WPARAM      post a message to the window
//
// Exit code 0 on success, 1 when the condition was not met, 2 on bad usage.
#include <windows.h>
#include <commctrl.h>

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

// Presses No, or else the default button (Enter, then OK for a box whose
// default is OK), and waits for the box to go, so that one box is read and
// answered once. Wine's box can miss what is posted while it is still being
// shown, so it is pressed again every half second, for at most 5 s.
void AnswerUntilGone(HWND box, bool pressNo) {
  for (int attempt = 0; attempt < 10 && IsWindow(box); ++attempt) {
    if (pressNo) {
      PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDNO, 0), 0);
    } else {
      PostMessageA(box, WM_KEYDOWN, VK_RETURN, 0);
      PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
    }
    for (int wait = 0; wait < 10 && IsWindow(box); ++wait) Sleep(50);
  }
}

// A message box is a "#32770" window with a static text control 0xFFFF.
int MessageBoxText(DWORD timeoutMs, bool preferNo) {
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
      // A question's default button would say Yes to a reboot.
      AnswerUntilGone(window, preferNo && GetDlgItem(window, IDNO) != nullptr);
      return 0;
    }
    if (GetTickCount() - start > timeoutMs) return 1;
    Sleep(100);
  }
}

HWND FindTop(const char* className, const char* title) {
  return FindWindowA(className, std::strcmp(title, "-") == 0 ? nullptr : title);
}

struct ControlSearch {
  int id;
  HWND found;
};

BOOL CALLBACK MatchControl(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<ControlSearch*>(lParam);
  if (GetDlgCtrlID(window) != search->id) return TRUE;
  search->found = window;
  return FALSE;
}

// A control anywhere below the top-level window (EnumChildWindows descends
// into the pages).
HWND FindControl(const char* className, const char* title, int id) {
  HWND top = FindTop(className, title);
  if (top == nullptr) return nullptr;
  ControlSearch search{id, nullptr};
  EnumChildWindows(top, MatchControl, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

int ControlFlag(const char* className, const char* title, int id, BOOL (*test)(HWND)) {
  HWND control = FindControl(className, title, id);
  if (control == nullptr) return 1;
  std::printf("%d\n", test(control) ? 1 : 0);
  return 0;
}

// Memory in the list's own process: list-view messages that carry a
// pointer need it there.
class RemoteBuffer {
 public:
  explicit RemoteBuffer(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_ != nullptr) {
      memory_ = static_cast<char*>(
          VirtualAllocEx(process_, nullptr, kSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    }
  }
  ~RemoteBuffer() {
    if (memory_ != nullptr) VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
    if (process_ != nullptr) CloseHandle(process_);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  static constexpr SIZE_T kSize = 4096;
  bool ok() const { return memory_ != nullptr; }
  char* at(SIZE_T offset) const { return memory_ + offset; }
  bool write(SIZE_T offset, const void* data, SIZE_T size) const {
    return WriteProcessMemory(process_, at(offset), data, size, nullptr) != FALSE;
  }
  bool read(SIZE_T offset, void* data, SIZE_T size) const {
    return ReadProcessMemory(process_, at(offset), data, size, nullptr) != FALSE;
  }

 private:
  HANDLE process_ = nullptr;
  char* memory_ = nullptr;
};

int ListItems(const char* className, const char* title, int id) {
  HWND list = FindControl(className, title, id);
  if (list == nullptr) return 1;
  RemoteBuffer remote(list);
  if (!remote.ok()) return 1;
  static const char* const kViews[] = {"icon", "report", "small", "list"};
  std::printf("view %s\n", kViews[GetWindowLongA(list, GWL_STYLE) & LVS_TYPEMASK]);
  std::printf("focused %d\n", static_cast<int>(SendMessageA(
                                  list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED)));
  HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
  int columns =
      header != nullptr ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
  if (columns < 1) columns = 1;
  const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (int item = 0; item < count; ++item) {
    const bool selected =
        (SendMessageA(list, LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_SELECTED) &
         LVIS_SELECTED) != 0;
    std::printf("%d", selected ? 1 : 0);
    for (int column = 0; column < columns; ++column) {
      LVITEMA request{};
      request.iSubItem = column;
      request.pszText = remote.at(sizeof request);
      request.cchTextMax = 1024;
      char text[1024] = {};
      if (remote.write(0, &request, sizeof request)) {
        SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(item),
                     reinterpret_cast<LPARAM>(remote.at(0)));
        remote.read(sizeof request, text, sizeof text - 1);
      }
      std::printf("\t%s", text);
    }
    std::printf("\n");
  }
  return 0;
}

int ItemPoint(const char* className, const char* title, int id, int item) {
  HWND list = FindControl(className, title, id);
  if (list == nullptr) return 1;
  RemoteBuffer remote(list);
  RECT rect{};
  rect.left = LVIR_LABEL;
  if (!remote.ok() || !remote.write(0, &rect, sizeof rect) ||
      !SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(item),
                    reinterpret_cast<LPARAM>(remote.at(0))) ||
      !remote.read(0, &rect, sizeof rect)) {
    return 1;
  }
  POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  ClientToScreen(list, &centre);
  std::printf("%ld %ld\n", centre.x, centre.y);
  return 0;
}

int ControlPoint(const char* className, const char* title, int id) {
  HWND control = FindControl(className, title, id);
  RECT rect{};
  if (control == nullptr || !GetWindowRect(control, &rect)) return 1;
  std::printf("%ld %ld\n", (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  return 0;
}

int WindowSize(const char* className, const char* title) {
  HWND window = FindTop(className, title);
  RECT rect{};
  if (window == nullptr || !GetWindowRect(window, &rect)) return 1;
  std::printf("%ld %ld\n", rect.right - rect.left, rect.bottom - rect.top);
  return 0;
}

int Post(const char* className, const char* title, UINT message, WPARAM wParam) {
  HWND window = FindTop(className, title);
  if (window == nullptr) return 1;
  return PostMessageA(window, message, wParam, 0) ? 0 : 1;
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
  if (!std::strcmp(verb, "message-box")) return MessageBoxText(number(2), false);
  if (!std::strcmp(verb, "answer-box")) return MessageBoxText(number(2), true);
  if (!std::strcmp(verb, "file-version")) return FileVersion(argv[2]);
  if (!std::strcmp(verb, "manifest")) return Manifest(argv[2]);
  if (!std::strcmp(verb, "enabled") && argc == 5)
    return ControlFlag(argv[2], argv[3], static_cast<int>(number(4)), IsWindowEnabled);
  if (!std::strcmp(verb, "visible") && argc == 5)
    return ControlFlag(argv[2], argv[3], static_cast<int>(number(4)), IsWindowVisible);
  if (!std::strcmp(verb, "list-items") && argc == 5)
    return ListItems(argv[2], argv[3], static_cast<int>(number(4)));
  if (!std::strcmp(verb, "item-point") && argc == 6)
    return ItemPoint(argv[2], argv[3], static_cast<int>(number(4)), static_cast<int>(number(5)));
  if (!std::strcmp(verb, "control-point") && argc == 5)
    return ControlPoint(argv[2], argv[3], static_cast<int>(number(4)));
  if (!std::strcmp(verb, "window-size") && argc == 4) return WindowSize(argv[2], argv[3]);
  if (!std::strcmp(verb, "post") && argc == 6)
    return Post(argv[2], argv[3], static_cast<UINT>(number(4)), number(5));
  return 2;
}

// The package's uninstall hook library. Its entry point records the four
// arguments in a form that does not change from run to run: what kind of
// window it was given, whether the instance is the calling program's, the
// text and the show flag.
#include <cstring>

#include "record.h"

namespace {

const char* WindowKind(HWND window) {
  if (!IsWindow(window)) return "none";
  char owner[64] = {};
  GetClassNameA(GetAncestor(window, GA_ROOT), owner, sizeof owner);
  return std::strcmp(owner, "RvtUninstallWindowClass__") == 0 ? "inside the uninstaller's dialog"
                                                              : "another window";
}

}  // namespace

extern "C" __declspec(dllexport) void CALLBACK
    VardelUninstallHook(HWND window, HINSTANCE instance, LPSTR text, int show) {
  char line[MAX_PATH + 128];
  std::snprintf(line, sizeof line, "window %s; instance %s; text [%s]; show %d", WindowKind(window),
                instance == GetModuleHandleA(nullptr) ? "of the program" : "other",
                text != nullptr ? text : "(null)", show);
  AppendRecord("hook.txt", line);
}

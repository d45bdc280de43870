/* A library with a rundll-style entry point for the tests to call: it
   remembers what it was called with. */
#include <windows.h>

static HWND g_window;
static HINSTANCE g_instance;
static char g_text[MAX_PATH];
static int g_show = -1;
static int g_calls;

__declspec(dllexport) void CALLBACK SwHook(HWND window, HINSTANCE instance, LPSTR text, int show) {
  g_window = window;
  g_instance = instance;
  lstrcpynA(g_text, text != NULL ? text : "", MAX_PATH);
  g_show = show;
  ++g_calls;
}

/* How often SwHook ran, and its last arguments. */
__declspec(dllexport) int SwHookLastCall(HWND* window, HINSTANCE* instance, char* text, int* show) {
  *window = g_window;
  *instance = g_instance;
  lstrcpynA(text, g_text, MAX_PATH);
  *show = g_show;
  return g_calls;
}

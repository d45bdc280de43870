// The library entry point of Huebridge.dll.
#include "registration.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
  if (reason == DLL_PROCESS_ATTACH) huebridge::RememberModule(instance);
  return TRUE;
}

// Stands in for the masking tool: the uninstaller starts it to take its
// printers down, and it only records the command line it was given.
#include "record.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char line[MAX_PATH + 16];
  std::snprintf(line, sizeof line, "command line [%s]", GetCommandLineA());
  AppendRecord("pavane.txt", line);
  return 0;
}

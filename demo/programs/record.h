// Where the demo package's stand-in programs leave what they were given:
// outside every directory the uninstaller searches, so the records outlive
// the removal that they witness.
#pragma once

#include <windows.h>

#include <cstdio>

inline void AppendRecord(const char* name, const char* line) {
  CreateDirectoryA("C:\\demo-records", nullptr);
  char path[MAX_PATH];
  std::snprintf(path, sizeof path, "C:\\demo-records\\%s", name);
  if (FILE* file = std::fopen(path, "a")) {
    std::fprintf(file, "%s\n", line);
    std::fclose(file);
  }
}

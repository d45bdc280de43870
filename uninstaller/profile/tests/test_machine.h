// The simulated Windows machine as the profile's tests, fuzz target and
// benchmark use it: one machine of a chosen Windows version, with files
// put on it and held open by other programs.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "platform/system.h"

namespace test {

class TestMachine {
 public:
  // A machine running the Windows of that name ("10", "7", "xp", "98",
  // "win32s" ...).
  explicit TestMachine(const char* os = "10");
  ~TestMachine();
  TestMachine(const TestMachine&) = delete;
  TestMachine& operator=(const TestMachine&) = delete;

  platform::System& system();

  // Creates or replaces a file; missing directories are made.
  void writeFile(const std::string& path, const std::string& contents);
  void makeDirectory(const std::string& path);
  // Another program opens the file without sharing and keeps it open.
  void holdOpenWithoutSharing(const std::string& path);
  // Files the program has opened and not closed.
  std::size_t openHandleCount() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace test

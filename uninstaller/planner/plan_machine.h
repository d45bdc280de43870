// The simulated Windows the plan tool interprets the scripts on.
#pragma once

#include <memory>
#include <string>

#include "platform/system.h"

class PlanMachine {
 public:
  // A machine of a Windows version the simulation knows ("10", "xp" ...).
  explicit PlanMachine(const std::string& os);
  ~PlanMachine();
  PlanMachine(const PlanMachine&) = delete;
  PlanMachine& operator=(const PlanMachine&) = delete;

  const platform::System& system() const;
  // Creates a file, with the directories it needs.
  void writeFile(const std::string& windowsPath, const std::string& contents);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

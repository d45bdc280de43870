// The plan tool from its arguments to its output.
#pragma once

#include <string>
#include <vector>

struct PlanOutcome {
  int exitCode = 0;        // 0, or 2 for bad arguments or a bad printers file
  std::string outputText;  // for standard output
  std::string errorText;   // for standard error: problems and skipped scripts
};

// Parses the arguments, reads the printers file and the scripts from the
// host, interprets the scripts on a simulated Windows of the chosen version
// and makes the plan.
PlanOutcome RunPlan(const std::vector<std::string>& args);

// stripwell-plan: shows what the uninstaller would keep and remove for a
// set of uninstall scripts and installed printers, on a simulated Windows,
// so that package engineers can check their scripts before they ship them.
#include <cstdio>
#include <string>
#include <vector>

#include "planner/plan_run.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  const PlanOutcome outcome = RunPlan(args);
  std::fputs(outcome.errorText.c_str(), stderr);
  std::fputs(outcome.outputText.c_str(), stdout);
  return outcome.exitCode;
}

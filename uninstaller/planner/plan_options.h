// The command line of stripwell-plan.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PlanOptions {
  std::int32_t variant = 0;  // ModelVariant: 0, 8203 (a3) or 8204 (a4)
  bool unpavane = false;
  std::string os = "10";     // a Windows version the simulated machine knows
  std::string printersFile;  // empty: no printers
  bool json = false;
  bool help = false;
  std::vector<std::string> scripts;
};

struct ParsedOptions {
  bool ok = false;
  PlanOptions options;
  std::string error;
};

// Parses the arguments after the program name.
ParsedOptions ParsePlanOptions(const std::vector<std::string>& args);

// The usage text, ending in a newline.
std::string PlanUsage();

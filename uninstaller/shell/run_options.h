// The options of an unattended run and of the run report: "/QUIET" and
// "/REPORT:path" (or "-QUIET", "-REPORT:path", in any case). Without them
// the program runs as it always has.
#pragma once

#include <string>

#include "shell/cmd_options.h"

struct RunOptions {
  bool quiet = false;
  std::string reportPath;  // empty: no report
  std::string problem;     // why the command line is refused; empty when it is not

  bool valid() const { return problem.empty(); }
};

// The report path is the option's text after the colon: commas split
// option values, so they are joined again, and the quotes that protect
// spaces go. A report option without a path, given twice, or with a path
// that does not fit in 259 characters makes the command line bad.
RunOptions ReadRunOptions(const OptionList& options);

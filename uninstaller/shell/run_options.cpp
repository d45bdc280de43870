#include "shell/run_options.h"

#include "platform/crt.h"

namespace {

std::string JoinedValues(const CmdOption& option) {
  std::string text;
  for (std::size_t i = 0; i < option.valueCount(); ++i) {
    if (i > 0) text += ',';
    text += option.value(i);
  }
  std::string path;
  for (char c : text) {
    if (c != '"') path += c;
  }
  return path;
}

}  // namespace

RunOptions ReadRunOptions(const OptionList& options) {
  RunOptions run;
  run.quiet = options.present("QUIET");
  int reports = 0;
  for (const CmdOption& option : options.options()) {
    if (crt::StrCmpI(option.name().c_str(), "REPORT") != 0) continue;
    ++reports;
    run.reportPath = JoinedValues(option);
  }
  if (reports > 1) {
    run.problem = "/REPORT is given more than once";
  } else if (reports == 1 && run.reportPath.empty()) {
    run.problem = "/REPORT needs a path: /REPORT:path";
  } else if (run.reportPath.size() >= CmdOption::kMaxText) {
    // Values are cut at 259 characters: a path that long may have lost its end.
    run.problem = "the /REPORT path is longer than 258 characters";
  }
  if (!run.valid()) run.reportPath.clear();
  return run;
}

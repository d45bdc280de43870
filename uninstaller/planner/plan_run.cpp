#include "planner/plan_run.h"

#include <fstream>
#include <iterator>
#include <sstream>

#include "planner/plan_machine.h"
#include "planner/plan_options.h"
#include "planner/plan_report.h"
#include "planner/printers_file.h"
#include "profile/uninstall_profile.h"
#include "shell/model_variant.h"

namespace {

constexpr int kExitBadInput = 2;

bool ReadHostFile(const std::string& path, std::string& contents) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  contents.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

// The file name as given, without the directories before it.
std::string FileNameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

PlanOutcome Fail(std::string message) {
  PlanOutcome outcome;
  outcome.exitCode = kExitBadInput;
  outcome.errorText = "stripwell-plan: " + message + "\n";
  return outcome;
}

}  // namespace

PlanOutcome RunPlan(const std::vector<std::string>& args) {
  const ParsedOptions parsed = ParsePlanOptions(args);
  if (!parsed.ok) {
    PlanOutcome outcome = Fail(parsed.error);
    outcome.errorText += PlanUsage();
    return outcome;
  }
  const PlanOptions& options = parsed.options;
  PlanOutcome outcome;
  if (options.help) {
    outcome.outputText = PlanUsage();
    return outcome;
  }

  PrinterList printers;
  if (!options.printersFile.empty()) {
    std::string text;
    if (!ReadHostFile(options.printersFile, text)) {
      return Fail("cannot read the printers file " + options.printersFile);
    }
    PrintersResult read = ParsePrinters(text);
    if (!read.ok) return Fail(options.printersFile + ": " + read.error);
    printers = std::move(read.printers);
  }

  PlanMachine machine(options.os);
  ModelVariant = options.variant;
  UninstallProfile profile(machine.system());

  // Each script goes into a directory of its own on the simulated machine,
  // under its own file name, and is interpreted in the order given. The
  // report names it by the path given.
  ScriptPaths scriptPaths;
  for (std::size_t i = 0; i < options.scripts.size(); ++i) {
    const std::string& script = options.scripts[i];
    std::string contents;
    if (!ReadHostFile(script, contents)) {
      outcome.errorText += "stripwell-plan: skipped " + script + ": cannot read it\n";
      continue;
    }
    const std::string windowsPath =
        "C:\\Plan\\" + std::to_string(i + 1) + "\\" + FileNameOf(script);
    machine.writeFile(windowsPath, contents);
    scriptPaths.emplace(windowsPath, script);
    const char* reason = nullptr;
    if (profile.LoadScript(windowsPath.c_str(), &reason) == 0) {
      outcome.errorText += "stripwell-plan: skipped " + script + ": " + reason + "\n";
    }
  }

  SettleMaskingTool(profile, options.unpavane);
  profile.printers = std::move(printers);
  profile.BuildRemovalPlan();

  outcome.outputText =
      options.json ? PlanToJson(profile, scriptPaths) : PlanToText(profile, scriptPaths);
  return outcome;
}

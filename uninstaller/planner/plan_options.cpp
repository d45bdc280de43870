#include "planner/plan_options.h"

#include "platform/sim/os_profiles.h"
#include "shell/model_variant.h"

ParsedOptions ParsePlanOptions(const std::vector<std::string>& args) {
  ParsedOptions parsed;
  PlanOptions& o = parsed.options;
  const auto fail = [&parsed](std::string error) {
    parsed.error = std::move(error);
    return parsed;
  };

  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
      o.scripts.push_back(arg);
      continue;
    }
    const bool takesValue = arg == "--variant" || arg == "--os" || arg == "--printers";
    if (takesValue && i + 1 >= args.size()) return fail(arg + " needs a value");
    if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--help" || arg == "-h") {
      o.help = true;
    } else if (arg == "--json") {
      o.json = true;
    } else if (arg == "--unpavane") {
      o.unpavane = true;
    } else if (arg == "--variant") {
      const std::string& v = args[++i];
      if (v == "a3") {
        o.variant = kModelVariantA3;
      } else if (v == "a4") {
        o.variant = kModelVariantA4;
      } else {
        return fail("--variant takes a3 or a4, not \"" + v + "\"");
      }
    } else if (arg == "--os") {
      const std::string& v = args[++i];
      if (sim::FindOsProfile(v) == nullptr) {
        std::string known;
        for (const sim::OsProfile& p : sim::AllOsProfiles()) {
          known += (known.empty() ? "" : ", ") + p.name;
        }
        return fail("unknown --os \"" + v + "\"; known: " + known);
      }
      o.os = v;
    } else if (arg == "--printers") {
      o.printersFile = args[++i];
    } else {
      return fail("unknown option " + arg);
    }
  }
  if (!o.help && o.scripts.empty()) return fail("no script given");
  parsed.ok = true;
  return parsed;
}

std::string PlanUsage() {
  return "usage: stripwell-plan [--variant a3|a4] [--unpavane] [--os NAME] [--printers FILE.json]\n"
         "                      [--json] SCRIPT...\n"
         "Interprets the uninstall scripts in the order given, as the uninstaller would on\n"
         "the chosen Windows, and prints what it would keep and remove for the printers\n"
         "of FILE.json (none when not given).\n"
         "  --variant a3|a4   the /KESTA_A3 or /KESTA_A4 model switch\n"
         "  --unpavane        the UNPAVANE option: only the masking tool's items\n"
         "  --os NAME         win32s, 95, 98, me, nt4, 2000, xp, 7 or 10 (default 10)\n"
         "  --printers FILE   a JSON array of printers: name, driver, pavaneName, keep,\n"
         "                    foreign, removed (missing: empty or 0)\n"
         "  --json            one JSON object instead of text\n"
         "Exit code 0, or 2 for bad arguments or an unreadable or malformed printers file.\n";
}

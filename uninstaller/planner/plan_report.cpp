#include "planner/plan_report.h"

#include <nlohmann/json.hpp>

#include "planner/cp1252.h"

namespace {

using Json = nlohmann::ordered_json;

Json Text(const PathString& s) { return Cp1252ToUtf8(s.c_str()); }

// The path as given on the command line: ANSI (code page 1252) on Windows,
// already UTF-8 (or the locale's bytes) elsewhere.
Json HostText(const std::string& s) {
#ifdef _WIN32
  return Cp1252ToUtf8(s);
#else
  return s;
#endif
}

// The path the user gave for the script an entry came from.
std::string GivenPath(const ScriptPaths& scripts, const PathString& machinePath) {
  const auto found = scripts.find(std::string_view(machinePath.c_str()));
  return found != scripts.end() ? found->second : machinePath.c_str();
}

Json Items(const ItemSet& set) {
  Json slots = Json::object();
  for (std::size_t i = 0; i < kItemCategoryCount; ++i) {
    Json list = Json::array();
    for (const PathString& item : set.items[i]) list.push_back(Text(item));
    slots[CategoryName(CategoryAt(i))] = std::move(list);
  }
  return slots;
}

Json Settings(const UninstallProfile& p) {
  return {{"allowPrinterChoice", p.allowPrinterChoice},
          {"removeOemInf", p.removeOemInf},
          {"oemInfLine", p.oemInfLine},
          {"oemInfString", Text(p.oemInfString)},
          {"uninstallScanner", p.uninstallScanner},
          {"scannerProductGuid", Text(p.scannerProductGuid)},
          {"uninstallFax", p.uninstallFax},
          {"faxProductGuid", Text(p.faxProductGuid)}};
}

Json Printer(const PrinterEntry& printer) {
  return {{"name", Text(printer.name)},
          {"driver", Text(printer.driver)},
          {"pavaneName", Text(printer.pavaneName)},
          {"keep", printer.keep},
          {"foreign", printer.foreign},
          {"removed", printer.removed}};
}

const char* YesNo(bool b) { return b ? "yes" : "no"; }

void AppendSet(std::string& out, const char* title, const ItemSet& set, const char* indent) {
  out += std::string(indent) + title + "\n";
  bool any = false;
  for (std::size_t i = 0; i < kItemCategoryCount; ++i) {
    const StringList& list = set.items[i];
    if (list.isEmpty()) continue;
    any = true;
    out += std::string(indent) + "  " + CategoryName(CategoryAt(i)) + " (" +
           std::to_string(list.count()) + ")\n";
    for (const PathString& item : list) out += std::string(indent) + "    " + item.c_str() + "\n";
  }
  if (!any) out += std::string(indent) + "  (empty)\n";
}

}  // namespace

const char* EntryKindName(const ItemSet& entry) {
  if (entry.isManufacturer) return "manufacturer";
  if (entry.isCatchAll) return "catchAll";
  if (entry.isIgnore) return "ignore";
  return "driver";
}

namespace {

Json PlanDocument(const UninstallProfile& profile, const ScriptPaths& scripts) {
  Json root = Json::object();
  root["settings"] = Settings(profile);

  Json entries = Json::array();
  for (const ItemSet& entry : profile.entries) {
    entries.push_back(Json{{"name", Text(entry.name)},
                           {"kind", EntryKindName(entry)},
                           {"sectionBase", Text(entry.sectionBase)},
                           {"scriptPath", HostText(GivenPath(scripts, entry.scriptPath))},
                           {"items", Items(entry)}});
  }
  root["entries"] = std::move(entries);
  root["allSet"] = Items(profile.allSet);
  root["keepSet"] = Items(profile.keepSet);
  root["removeSet"] = Items(profile.removeSet);

  Json printers = Json::array();
  for (const PrinterEntry& printer : profile.printers) printers.push_back(Printer(printer));
  root["printers"] = std::move(printers);
  root["keptPrinterCount"] = profile.keptPrinterCount;
  root["removedPrinterCount"] = profile.removedPrinterCount;
  root["pavaneToolRetained"] = profile.pavaneToolRetained;
  return root;
}

}  // namespace

std::string PlanToJson(const UninstallProfile& profile, const ScriptPaths& scripts) {
  // A path that is not UTF-8 gets U+FFFD rather than stopping the output.
  return PlanDocument(profile, scripts).dump(2, ' ', true, Json::error_handler_t::replace) + "\n";
}

std::string PlanToText(const UninstallProfile& p, const ScriptPaths& scripts) {
  std::string out = "Settings\n";
  out += std::string("  allow printer choice  ") + YesNo(p.allowPrinterChoice) + "\n";
  out += std::string("  remove OEM INF files  ") + YesNo(p.removeOemInf);
  if (p.removeOemInf) {
    out += " (line " + std::to_string(p.oemInfLine) + " begins \"" + p.oemInfString.c_str() + "\")";
  }
  out += "\n";
  out += std::string("  uninstall scanner     ") + YesNo(p.uninstallScanner);
  if (p.uninstallScanner) out += std::string(" (product ") + p.scannerProductGuid.c_str() + ")";
  out += "\n";
  out += std::string("  uninstall fax         ") + YesNo(p.uninstallFax);
  if (p.uninstallFax) out += std::string(" (product ") + p.faxProductGuid.c_str() + ")";
  out += "\n\n";

  out += "Entries (" + std::to_string(p.entries.size()) + ")\n";
  for (const ItemSet& entry : p.entries) {
    const std::string title = std::string(EntryKindName(entry)) + " \"" + entry.name.c_str() +
                              "\", sections \"" + entry.sectionBase.c_str() + ".*\", from " +
                              GivenPath(scripts, entry.scriptPath);
    AppendSet(out, title.c_str(), entry, "  ");
  }
  out += "\n";

  out += "Printers (" + std::to_string(p.printers.size()) +
         "): " + std::to_string(p.keptPrinterCount) + " kept, " +
         std::to_string(p.removedPrinterCount) + " removed\n";
  for (const PrinterEntry& printer : p.printers) {
    out += std::string("  ") +
           (printer.foreign   ? "foreign "
            : printer.removed ? "gone    "
            : printer.keep    ? "keep    "
                              : "remove  ") +
           "\"" + printer.name.c_str() + "\", driver \"" + printer.driver.c_str() + "\"";
    if (!printer.pavaneName.isEmpty())
      out += std::string(", masks \"") + printer.pavaneName.c_str() + "\"";
    out += "\n";
  }
  out += std::string("Masking tool retained: ") + YesNo(p.pavaneToolRetained) + "\n\n";

  AppendSet(out, "All set", p.allSet, "");
  out += "\n";
  AppendSet(out, "Keep set", p.keepSet, "");
  out += "\n";
  AppendSet(out, "Remove set", p.removeSet, "");
  return out;
}

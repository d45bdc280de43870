#include "planner/plan_report.h"

namespace {

json::Value Text(const PathString& s) { return json::Value::string(s.c_str()); }

json::Value Items(const ItemSet& set) {
  json::Value slots = json::Value::object();
  for (std::size_t i = 0; i < kItemCategoryCount; ++i) {
    json::Value list = json::Value::array();
    for (const PathString& item : set.items[i]) list.push(Text(item));
    slots.add(CategoryName(CategoryAt(i)), std::move(list));
  }
  return slots;
}

json::Value Settings(const UninstallProfile& p) {
  json::Value s = json::Value::object();
  s.add("allowPrinterChoice", json::Value::boolean(p.allowPrinterChoice));
  s.add("removeOemInf", json::Value::boolean(p.removeOemInf));
  s.add("oemInfLine", json::Value::number(p.oemInfLine));
  s.add("oemInfString", Text(p.oemInfString));
  s.add("uninstallScanner", json::Value::boolean(p.uninstallScanner));
  s.add("scannerProductGuid", Text(p.scannerProductGuid));
  s.add("uninstallFax", json::Value::boolean(p.uninstallFax));
  s.add("faxProductGuid", Text(p.faxProductGuid));
  return s;
}

json::Value Printer(const PrinterEntry& printer) {
  json::Value o = json::Value::object();
  o.add("name", Text(printer.name));
  o.add("driver", Text(printer.driver));
  o.add("pavaneName", Text(printer.pavaneName));
  o.add("keep", json::Value::number(printer.keep));
  o.add("foreign", json::Value::number(printer.foreign));
  o.add("removed", json::Value::number(printer.removed));
  return o;
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

json::Value PlanToJson(const UninstallProfile& profile) {
  json::Value root = json::Value::object();
  root.add("settings", Settings(profile));

  json::Value entries = json::Value::array();
  for (const ItemSet& entry : profile.entries) {
    json::Value e = json::Value::object();
    e.add("name", Text(entry.name));
    e.add("kind", json::Value::string(EntryKindName(entry)));
    e.add("sectionBase", Text(entry.sectionBase));
    e.add("scriptPath", Text(entry.scriptPath));
    e.add("items", Items(entry));
    entries.push(std::move(e));
  }
  root.add("entries", std::move(entries));
  root.add("allSet", Items(profile.allSet));
  root.add("keepSet", Items(profile.keepSet));
  root.add("removeSet", Items(profile.removeSet));

  json::Value printers = json::Value::array();
  for (const PrinterEntry& printer : profile.printers) printers.push(Printer(printer));
  root.add("printers", std::move(printers));
  root.add("keptPrinterCount", json::Value::number(profile.keptPrinterCount));
  root.add("removedPrinterCount", json::Value::number(profile.removedPrinterCount));
  root.add("pavaneToolRetained", json::Value::boolean(profile.pavaneToolRetained));
  return root;
}

std::string PlanToText(const UninstallProfile& p) {
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
                              entry.scriptPath.c_str();
    AppendSet(out, title.c_str(), entry, "  ");
  }
  out += "\n";

  out += "Printers (" + std::to_string(p.printers.size()) + "): " +
         std::to_string(p.keptPrinterCount) + " kept, " + std::to_string(p.removedPrinterCount) +
         " removed\n";
  for (const PrinterEntry& printer : p.printers) {
    out += std::string("  ") + (printer.foreign ? "foreign " : printer.removed ? "gone    "
                                                             : printer.keep    ? "keep    "
                                                                               : "remove  ") +
           "\"" + printer.name.c_str() + "\", driver \"" + printer.driver.c_str() + "\"";
    if (!printer.pavaneName.isEmpty()) out += std::string(", masks \"") + printer.pavaneName.c_str() + "\"";
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

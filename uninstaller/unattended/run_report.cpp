#include "unattended/run_report.h"

#include <algorithm>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "app/about_dlg.h"
#include "platform/crt.h"
#include "profile/uninstall_profile.h"
#include "shell/locations.h"
#include "unattended/report_file.h"

namespace {

using nlohmann::json;

// Why a printer was offered on the selection page or not, in the order
// the page decides it.
const char* WhyOffered(const PrinterEntry& printer, const RunRecord& record) {
  if (printer.foreign != 0) return "not a printer of the package";
  if (printer.listed == 0) return "left out by the MFG, PRN or UNPAVANE options";
  // A printer the page listed was offered, even when this run has removed
  // it since.
  if (record.listed) {
    const bool shown =
        std::any_of(record.listed->begin(), record.listed->end(), [&](const std::string& name) {
          return crt::StrCmpI(name.c_str(), printer.name.c_str()) == 0;
        });
    if (shown) return "offered";
  }
  if (printer.removed != 0) return "already removed";
  return record.listed ? "its driver data names another model" : "offered";
}

json Printers(const RunRecord& record) {
  json printers = json::array();
  for (const PrinterEntry& printer : record.profile->printers) {
    const char* why = WhyOffered(printer, record);
    printers.push_back({{"name", printer.name.c_str()},
                        {"driver", printer.driver.c_str()},
                        {"server", printer.server.c_str()},
                        {"maskedPrinter", printer.pavaneName.c_str()},
                        {"default", printer.isDefault != 0},
                        {"keep", printer.keep != 0},
                        {"removed", printer.removed != 0},
                        {"offered", std::string(why) == "offered"},
                        {"why", why}});
  }
  return printers;
}

json Slots(const ItemSet& set) {
  json slots = json::object();
  for (std::size_t slot = 0; slot < kItemCategoryCount; ++slot) {
    json items = json::array();
    for (const PathString& item : set.items[slot]) items.push_back(item.c_str());
    slots[CategoryName(CategoryAt(slot))] = items;
  }
  return slots;
}

bool EndsWithNoCase(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         crt::StrCmpI(text.c_str() + text.size() - tail.size(), tail.c_str()) == 0;
}

// The text by which the journal names a remove-set item: a file by its
// full path, a registry item by its key (the quoted second field of
// root,"subkey","value",flag), anything else by its name.
std::string KeyOf(ItemCategory category, const std::string& item) {
  if (category != ItemCategory::RegistryKeys) return item;
  const std::size_t open = item.find('"');
  const std::size_t close = open == std::string::npos ? open : item.find('"', open + 1);
  return close == std::string::npos ? item : item.substr(open + 1, close - open - 1);
}

bool Names(const JournalEntry& entry, ItemCategory category, const std::string& item) {
  const std::string key = KeyOf(category, item);
  if (key.empty()) return false;
  if (crt::StrCmpI(entry.item.c_str(), key.c_str()) == 0) return true;
  return EndsWithNoCase(entry.item, "\\" + key);
}

// Every remove-set item with what the journal says became of it; an item
// no action names says so, so that nothing planned goes unaccounted for.
json Outcomes(const ItemSet& removeSet, const std::vector<JournalEntry>* journal) {
  json slots = json::object();
  for (std::size_t slot = 0; slot < kItemCategoryCount; ++slot) {
    json items = json::array();
    for (const PathString& planned : removeSet.items[slot]) {
      json outcomes = json::array();
      for (std::size_t i = 0; journal != nullptr && i < journal->size(); ++i) {
        const JournalEntry& entry = (*journal)[i];
        if (!Names(entry, CategoryAt(slot), planned.c_str())) continue;
        outcomes.push_back(
            {{"action", i}, {"outcome", OutcomeName(entry.outcome)}, {"win32Error", entry.error}});
      }
      items.push_back({{"item", planned.c_str()},
                       {"outcome", outcomes.empty() ? json("no action recorded") : outcomes}});
    }
    slots[CategoryName(CategoryAt(slot))] = items;
  }
  return slots;
}

json Actions(const std::vector<JournalEntry>& journal) {
  json actions = json::array();
  for (const JournalEntry& entry : journal) {
    json action = {{"kind", ActionKindName(entry.kind)},
                   {"item", entry.item},
                   {"outcome", OutcomeName(entry.outcome)},
                   {"win32Error", entry.error}};
    if (entry.reason != KeptReason::kNone) action["reason"] = KeptReasonName(entry.reason);
    actions.push_back(action);
  }
  return actions;
}

json Options(const OptionList& options) {
  json list = json::array();
  for (const CmdOption& option : options.options()) {
    json values = json::array();
    for (std::size_t i = 0; i < option.valueCount(); ++i) values.push_back(option.value(i));
    list.push_back({{"name", option.name()}, {"values", values}});
  }
  return list;
}

json Os(const platform::OsVersionInfo& os) {
  char version[32];
  std::snprintf(version, sizeof version, "%u.%u.%u", os.majorVersion, os.minorVersion,
                os.buildNumber);
  return {{"version", version}, {"platformId", os.platformId}, {"servicePack", os.csdVersion}};
}

}  // namespace

std::string IsoTime(const platform::SystemTime& time) {
  char text[64];
  std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u.%03uZ", time.year, time.month,
                time.day, time.hour, time.minute, time.second, time.milliseconds);
  return text;
}

std::string RunReportJson(const RunRecord& record) {
  json report = {{"program", "Stripwell"},
                 {"version", record.programVersion},
                 {"started", IsoTime(record.started)},
                 {"ended", IsoTime(record.ended)},
                 {"mode", record.quiet ? "quiet" : "interactive"},
                 {"commandLine", record.commandLine},
                 {"result", record.result},
                 {"exitCode", record.exitCode}};
  if (!record.reason.empty()) report["reason"] = record.reason;
  report["os"] = record.os ? Os(*record.os) : json(nullptr);
  report["options"] = record.options != nullptr ? Options(*record.options) : json::array();

  json boxes = json::array();
  for (const AnsweredBox& box : record.boxes) {
    boxes.push_back({{"text", box.text}, {"caption", box.caption}, {"answer", box.answer}});
  }
  report["messages"] = boxes;

  if (record.profile != nullptr) {
    report["printers"] = Printers(record);
    report["plan"] = {{"built", record.removalStarted},
                      {"keptPrinters", record.profile->keptPrinterCount},
                      {"removedPrinters", record.profile->removedPrinterCount},
                      {"keep", Slots(record.profile->keepSet)},
                      {"remove", Slots(record.profile->removeSet)},
                      {"outcomes", Outcomes(record.profile->removeSet, record.journal)}};
    report["rebootNeeded"] = record.profile->rebootNeeded;
  }
  report["actions"] = record.journal != nullptr ? Actions(*record.journal) : json::array();
  return report.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

void BeginRecord(platform::System& system, const char* commandLine, RunRecord& record) {
  record.started = system.clock.utcTime();
  record.ended = record.started;
  record.commandLine = commandLine != nullptr ? commandLine : "";
  CPathParts program;
  program.init(system, kLocProgramFile);
  char version[64] = {};
  if (GetFileVersionText(system, program.appendSubdirectory(""), version, sizeof version)) {
    record.programVersion = version;
  }
  platform::OsVersionInfo os;
  if (system.host.getVersion(os)) record.os = os;
}

platform::Win32Error WriteRunReport(platform::System& system, const std::string& path,
                                    RunRecord& record) {
  record.ended = system.clock.utcTime();
  return WriteFileAtomically(system.files, path.c_str(), RunReportJson(record));
}

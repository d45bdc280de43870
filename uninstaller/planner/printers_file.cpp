#include "planner/printers_file.h"

#include "planner/json.h"

namespace {

struct TextField {
  const char* name;
  PathString PrinterEntry::*field;
};

struct FlagField {
  const char* name;
  std::int32_t PrinterEntry::*field;
};

constexpr TextField kTexts[] = {{"name", &PrinterEntry::name},
                                {"driver", &PrinterEntry::driver},
                                {"pavaneName", &PrinterEntry::pavaneName},
                                {"server", &PrinterEntry::server}};

constexpr FlagField kFlags[] = {{"keep", &PrinterEntry::keep},
                                {"foreign", &PrinterEntry::foreign},
                                {"removed", &PrinterEntry::removed},
                                {"makerDriver", &PrinterEntry::makerDriver},
                                {"isDefault", &PrinterEntry::isDefault},
                                {"listed", &PrinterEntry::listed}};

bool ReadPrinter(const json::Value& object, PrinterEntry& printer, std::string& error) {
  if (object.kind() != json::Value::Kind::Object) {
    error = "is not an object";
    return false;
  }
  for (const TextField& t : kTexts) {
    const json::Value* v = object.find(t.name);
    if (v == nullptr || v->isNull()) continue;
    if (v->kind() != json::Value::Kind::String) {
      error = std::string("\"") + t.name + "\" is not a string";
      return false;
    }
    // Longer texts are cut at 259 characters, as the spooler's names are
    // when the uninstaller copies them.
    (printer.*t.field).assign(v->asString().c_str());
  }
  for (const FlagField& f : kFlags) {
    const json::Value* v = object.find(f.name);
    if (v == nullptr || v->isNull()) continue;
    if (v->kind() == json::Value::Kind::Bool) {
      printer.*f.field = v->asBool() ? 1 : 0;
    } else if (v->kind() == json::Value::Kind::Number) {
      printer.*f.field = v->asNumber() != 0 ? 1 : 0;
    } else {
      error = std::string("\"") + f.name + "\" is not a number or true/false";
      return false;
    }
  }
  return true;
}

}  // namespace

PrintersResult ParsePrinters(const std::string& jsonText) {
  PrintersResult result;
  const json::ParseResult parsed = json::Parse(jsonText);
  if (!parsed.ok) {
    result.error = "malformed JSON: " + parsed.error;
    return result;
  }
  if (parsed.value.kind() != json::Value::Kind::Array) {
    result.error = "the printers file must hold a JSON array of printer objects";
    return result;
  }
  for (std::size_t i = 0; i < parsed.value.items().size(); ++i) {
    PrinterEntry printer;
    std::string error;
    if (!ReadPrinter(parsed.value.items()[i], printer, error)) {
      result.error = "printer " + std::to_string(i + 1) + " " + error;
      result.printers.clear();
      return result;
    }
    result.printers.push_back(printer);
  }
  result.ok = true;
  return result;
}

#include "planner/printers_file.h"

#include <nlohmann/json.hpp>

#include "planner/cp1252.h"

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

constexpr FlagField kFlags[] = {
    {"keep", &PrinterEntry::keep},           {"foreign", &PrinterEntry::foreign},
    {"removed", &PrinterEntry::removed},     {"makerDriver", &PrinterEntry::makerDriver},
    {"isDefault", &PrinterEntry::isDefault}, {"listed", &PrinterEntry::listed}};

using Json = nlohmann::json;

// The member of that name; nullptr when it is missing or null.
const Json* Member(const Json& object, const char* name) {
  const auto found = object.find(name);
  return found == object.end() || found->is_null() ? nullptr : &*found;
}

bool ReadPrinter(const Json& object, PrinterEntry& printer, std::string& error) {
  if (!object.is_object()) {
    error = "is not an object";
    return false;
  }
  for (const TextField& t : kTexts) {
    const Json* v = Member(object, t.name);
    if (v == nullptr) continue;
    if (!v->is_string()) {
      error = std::string("\"") + t.name + "\" is not a string";
      return false;
    }
    // Longer texts are cut at 259 characters, as the spooler's names are
    // when the uninstaller copies them.
    (printer.*t.field).assign(Utf8ToCp1252(v->get_ref<const std::string&>()).c_str());
  }
  for (const FlagField& f : kFlags) {
    const Json* v = Member(object, f.name);
    if (v == nullptr) continue;
    if (v->is_boolean()) {
      printer.*f.field = v->get<bool>() ? 1 : 0;
    } else if (v->is_number()) {
      printer.*f.field = v->get<double>() != 0 ? 1 : 0;
    } else {
      error = std::string("\"") + f.name + "\" is not a number or true/false";
      return false;
    }
  }
  return true;
}

// The library's message from its place on: "line L, column C: what",
// without the exception's id in front.
std::string ParseErrorText(const Json::parse_error& e) {
  const std::string message = e.what();
  const std::size_t place = message.find("line ");
  return place == std::string::npos ? message : message.substr(place);
}

}  // namespace

PrintersResult ParsePrinters(const std::string& jsonText) {
  PrintersResult result;
  Json parsed;
  try {
    parsed = Json::parse(jsonText);
  } catch (const Json::parse_error& e) {
    result.error = "malformed JSON: " + ParseErrorText(e);
    return result;
  }
  if (!parsed.is_array()) {
    result.error = "the printers file must hold a JSON array of printer objects";
    return result;
  }
  for (std::size_t i = 0; i < parsed.size(); ++i) {
    PrinterEntry printer;
    std::string error;
    if (!ReadPrinter(parsed[i], printer, error)) {
      result.error = "printer " + std::to_string(i + 1) + " " + error;
      result.printers.clear();
      return result;
    }
    result.printers.push_back(printer);
  }
  result.ok = true;
  return result;
}

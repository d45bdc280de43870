// Hand-built entries and printers for the profile tests.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "profile/item_set.h"
#include "profile/printer_entry.h"

namespace test {

inline ItemSet Entry(const char* name, std::initializer_list<const char*> files = {},
                     const char* script = "C:\\drivers\\Mainscr0.unm") {
  ItemSet e;
  e.name.assign(name);
  e.scriptPath.assign(script);
  for (const char* f : files) e.slot(ItemCategory::Files).append(f);
  e.slot(ItemCategory::Files).Normalize();
  return e;
}

inline ItemSet Driver(const char* name, std::initializer_list<const char*> files = {},
                      const char* script = "C:\\drivers\\Mainscr0.unm") {
  ItemSet e = Entry(name, files, script);
  e.slot(ItemCategory::Drivers).append(name);
  return e;
}

inline ItemSet Maker(const char* name, std::initializer_list<const char*> files = {}) {
  ItemSet e = Entry(name, files);
  e.isManufacturer = true;
  return e;
}

inline ItemSet CatchAll(const char* name, std::initializer_list<const char*> files = {}) {
  ItemSet e = Driver(name, files);
  e.isCatchAll = true;
  return e;
}

inline ItemSet Ignore(const char* name, std::initializer_list<const char*> files = {}) {
  ItemSet e = Driver(name, files);
  e.isIgnore = true;
  return e;
}

inline PrinterEntry Printer(const char* name, const char* driver, int keep,
                            const char* pavaneName = "") {
  PrinterEntry p;
  p.name.assign(name);
  p.driver.assign(driver);
  p.pavaneName.assign(pavaneName);
  p.keep = keep;
  p.makerDriver = 1;
  p.listed = 1;
  return p;
}

inline std::vector<std::string> Items(const StringList& list) {
  std::vector<std::string> out;
  for (const PathString& s : list) out.emplace_back(s.c_str());
  return out;
}

}  // namespace test

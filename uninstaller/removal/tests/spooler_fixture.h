// A removal context over a simulated machine, for the tests of the
// spooler-side removal operations.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "platform/sim/machine.h"
#include "profile/uninstall_profile.h"
#include "program_strings.h"
#include "removal/removal_context.h"
#include "shell/os_info.h"
#include "shell/string_res.h"

struct SpoolerRemoval {
  explicit SpoolerRemoval(std::string_view windows = "10")
      : machine(windows),
        system(machine.system()),
        profile(system),
        os(system.host),
        strings(system),
        page(machine.desktop().createWindow("#32770")),
        context{system, profile, os, strings, journal, directories, page, kInstance} {
    InstallProgramStrings(machine.desktop());
  }

  static constexpr platform::ModuleHandle kInstance{0x400000};

  // A printer of the machine and its entry in the profile's list.
  PrinterEntry& addPrinter(const std::string& name, const std::string& driver, bool keep = false) {
    machine.spooler().addPrinter(sim::PrinterSetup(name, driver));
    PrinterEntry entry;
    entry.name.assign(name.c_str());
    entry.driver.assign(driver.c_str());
    entry.keep = keep ? 1 : 0;
    entry.listed = 1;
    profile.printers.push_back(entry);
    return profile.printers.back();
  }

  void list(ItemCategory slot, const char* item) { profile.removeSet.slot(slot).append(item); }

  // Whether the journal holds the entry.
  bool journalled(ActionKind kind, std::string_view item, Outcome outcome) const {
    for (const JournalEntry& entry : journal.entries) {
      if (entry.kind == kind && entry.item == item && entry.outcome == outcome) return true;
    }
    return false;
  }

  sim::Machine machine;
  platform::System system;
  UninstallProfile profile;
  COSInfo os;
  CStringRes strings;
  RecordingJournal journal;
  SearchDirectories directories;
  platform::WindowHandle page;  // the removal page
  RemovalContext context;
};

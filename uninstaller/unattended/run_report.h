// The report of one run, as "/REPORT:path" asks for it: what the program
// found, what it planned, what each removal action did, and how the run
// ended, as JSON.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/host.h"
#include "platform/system.h"
#include "removal/journal.h"
#include "shell/cmd_options.h"
#include "unattended/quiet_desktop.h"

class UninstallProfile;

struct RunRecord {
  std::string programVersion;
  platform::SystemTime started;
  platform::SystemTime ended;
  std::optional<platform::OsVersionInfo> os;
  bool quiet = false;
  std::string commandLine;
  const OptionList* options = nullptr;

  // "removed", "restart-needed", "not-run", "bad-command-line", or for an
  // interactive run "ended"; the reason says why a run did not run.
  std::string result;
  std::string reason;
  int exitCode = 0;

  const UninstallProfile* profile = nullptr;
  bool removalStarted = false;
  // The printers the selection page listed, when the run saw its list.
  std::optional<std::vector<std::string>> listed;
  const std::vector<JournalEntry>* journal = nullptr;
  std::vector<AnsweredBox> boxes;
};

// "2026-03-01T00:01:00.000Z".
std::string IsoTime(const platform::SystemTime& time);

// The report's text. Names that are not valid UTF-8 (the program's names
// are ANSI) have their odd bytes replaced rather than failing the report.
std::string RunReportJson(const RunRecord& record);

// The program's version and the running Windows, and the start time.
void BeginRecord(platform::System& system, const char* commandLine, RunRecord& record);

// Sets the end time and writes the report to `path` (WriteFileAtomically);
// 0 or the Win32 error.
platform::Win32Error WriteRunReport(platform::System& system, const std::string& path,
                                    RunRecord& record);

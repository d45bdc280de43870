// What the removal did, action by action. Every removal operation reports
// each thing it tried to one Journal: the item (its kind and its name as
// the remove set or the machine gives it) and the outcome. The removal does
// not change because of it; the journal only records. Tests read it, and an
// unattended run writes it into its report.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32_types.h"

enum class ActionKind {
  kPrinter,     // a local printer
  kConnection,  // a printer connection to another computer
  kPrintJob,
  kClassKey,        // the printer's UniqueID key under HKEY_CLASSES_ROOT
  kUserSetting,     // a per-user value or key of a printer
  kDefaultPrinter,  // the choice of a new default printer
  kUsbDevice,       // a device node
  kDriver,
  kOemInf,
  kMonitor,
  kPrintProcessor,
  kService,
  kHook,
  kRegistryKey,
  kRegistryValue,
  kIniEntry,
  kRunEntry,
  kShortcut,
  kProgramGroup,
  kFile,
  kDirectory,
  kSpooler,  // the spooler's stop and start around the removal
  kRestart,  // the restart of Windows, when one was asked for
};

enum class Outcome {
  kRemoved,
  kDeferred,    // until the next start of Windows
  kNotPresent,  // there was nothing to remove
  kFailed,      // the Windows call failed with `error`
  kKept,        // on purpose; `reason` says why
  kDone,        // an action that removes nothing (a spooler stop, a hook call)
};

enum class KeptReason {
  kNone,
  kNeededByKeptPrinter,
  kCatchAll,
  kGuardedDirectory,  // a drive root or a shared system directory
  kInUse,
  kTooLong,     // did not fit its 260-byte buffer and was not acted on
  kUnsafeName,  // names no single key of its own (empty, or with a backslash)
};

struct JournalEntry {
  ActionKind kind = ActionKind::kFile;
  std::string item;
  Outcome outcome = Outcome::kDone;
  platform::Win32Error error = 0;
  KeptReason reason = KeptReason::kNone;
};

class Journal {
 public:
  virtual ~Journal() = default;
  virtual void record(const JournalEntry& entry) = 0;

  void removed(ActionKind kind, std::string_view item) { add(kind, item, Outcome::kRemoved); }
  void deferred(ActionKind kind, std::string_view item) { add(kind, item, Outcome::kDeferred); }
  void notPresent(ActionKind kind, std::string_view item) { add(kind, item, Outcome::kNotPresent); }
  void done(ActionKind kind, std::string_view item) { add(kind, item, Outcome::kDone); }
  void failed(ActionKind kind, std::string_view item, platform::Win32Error error) {
    record(JournalEntry{kind, std::string(item), Outcome::kFailed, error, KeptReason::kNone});
  }
  // What a deletion's Win32 result means: removed on success, not present
  // when it reports `notFound` (the item's own "does not exist" code).
  void deletion(ActionKind kind, std::string_view item, platform::Win32Error result,
                platform::Win32Error notFound = platform::error::kFileNotFound) {
    if (result == platform::error::kSuccess) {
      removed(kind, item);
    } else if (result == notFound) {
      notPresent(kind, item);
    } else {
      failed(kind, item, result);
    }
  }
  void kept(ActionKind kind, std::string_view item, KeptReason reason) {
    record(JournalEntry{kind, std::string(item), Outcome::kKept, 0, reason});
  }

 private:
  void add(ActionKind kind, std::string_view item, Outcome outcome) {
    record(JournalEntry{kind, std::string(item), outcome, 0, KeptReason::kNone});
  }
};

// Forgets everything: for callers that need no record.
class NullJournal final : public Journal {
 public:
  void record(const JournalEntry&) override {}
};

// Keeps every entry in order.
class RecordingJournal final : public Journal {
 public:
  void record(const JournalEntry& entry) override { entries.push_back(entry); }
  std::vector<JournalEntry> entries;
};

// Names for reports and test messages: "printer", "removed", "catch-all"...
const char* ActionKindName(ActionKind kind);
const char* OutcomeName(Outcome outcome);
const char* KeptReasonName(KeptReason reason);

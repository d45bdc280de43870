#include "removal/journal.h"

const char* ActionKindName(ActionKind kind) {
  switch (kind) {
    case ActionKind::kPrinter:
      return "printer";
    case ActionKind::kConnection:
      return "printer connection";
    case ActionKind::kPrintJob:
      return "print job";
    case ActionKind::kClassKey:
      return "class key";
    case ActionKind::kUserSetting:
      return "user setting";
    case ActionKind::kDefaultPrinter:
      return "default printer";
    case ActionKind::kUsbDevice:
      return "device";
    case ActionKind::kDriver:
      return "driver";
    case ActionKind::kOemInf:
      return "OEM INF";
    case ActionKind::kMonitor:
      return "monitor";
    case ActionKind::kPrintProcessor:
      return "print processor";
    case ActionKind::kService:
      return "service";
    case ActionKind::kHook:
      return "hook";
    case ActionKind::kRegistryKey:
      return "registry key";
    case ActionKind::kRegistryValue:
      return "registry value";
    case ActionKind::kIniEntry:
      return "INI entry";
    case ActionKind::kRunEntry:
      return "run entry";
    case ActionKind::kShortcut:
      return "shortcut";
    case ActionKind::kProgramGroup:
      return "program group";
    case ActionKind::kFile:
      return "file";
    case ActionKind::kDirectory:
      return "directory";
    case ActionKind::kSpooler:
      return "spooler";
    case ActionKind::kRestart:
      return "restart";
  }
  return "?";
}

const char* OutcomeName(Outcome outcome) {
  switch (outcome) {
    case Outcome::kRemoved:
      return "removed";
    case Outcome::kDeferred:
      return "deferred";
    case Outcome::kNotPresent:
      return "not present";
    case Outcome::kFailed:
      return "failed";
    case Outcome::kKept:
      return "kept";
    case Outcome::kDone:
      return "done";
  }
  return "?";
}

const char* KeptReasonName(KeptReason reason) {
  switch (reason) {
    case KeptReason::kNone:
      return "";
    case KeptReason::kNeededByKeptPrinter:
      return "needed by a kept printer";
    case KeptReason::kCatchAll:
      return "catch-all";
    case KeptReason::kGuardedDirectory:
      return "guarded directory";
    case KeptReason::kInUse:
      return "in use";
    case KeptReason::kTooLong:
      return "too long";
    case KeptReason::kUnsafeName:
      return "unsafe name";
  }
  return "?";
}

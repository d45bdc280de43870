// The loading dialog: prepares a run in small timer-driven steps before the
// main dialog shows: the rights check, the companion programs, a spooler
// restart, the uninstall scripts into the profile, and the printers.
#pragma once

#include <cstdint>
#include <string>

#include "discovery/loading_view.h"
#include "platform/system.h"
#include "profile/printer_entry.h"
#include "profile/string_list.h"
#include "resource_ids.h"
#include "shell/cmd_options.h"
#include "shell/dialog_base.h"
#include "shell/os_info.h"
#include "shell/string_res.h"

class UninstallProfile;

// Counters shared by every loading dialog of the process. They start at 0
// and the sequence never resets them, so a pass that follows a retry does
// not wait again. Tests reset them between cases.
struct LoadingCounters {
  std::int32_t busy = 0;  // a tick is running (nested message loops re-enter)
  std::int32_t spoolerStopWait = 0;
  std::int32_t spoolerStartWait = 0;
  std::int32_t discoveryAttempts = 0;
};
LoadingCounters& TheLoadingCounters();

class CLoadingDlg : public CDialogBase {
 public:
  static constexpr std::uint32_t kTimerId = IDT_LOADING;
  static constexpr std::uint32_t kTimerPeriod = 400;
  static constexpr std::uint32_t kTimerPeriodAfterDecline = 200;
  static constexpr std::int32_t kLastStep = 10;

  // What printer discovery raises when a spooler call fails; caught within
  // discovery, which then stops.
  struct _QuickExceptionInfo {
    std::uint32_t lastError = 0;
    std::string call;
    std::string description;
    std::string firstLabel;
    std::uint64_t firstValue = 0;
    std::string secondLabel;
    std::uint32_t secondValue = 0;
  };

  // Parses `commandLine` (the full process command line) into the option list.
  CLoadingDlg(platform::System& system, LoadingView& view, const char* commandLine);

  void setProfile(UninstallProfile* profile) { profile_ = profile; }

  platform::LResult HandleMessage(platform::WindowHandle window, std::uint32_t message,
                                  platform::WParam wParam, platform::LParam lParam) override;

  // One step of the sequence, as the loading timer runs it.
  void onTimer();

  // Takes stock of the spooler's printers and appends them to `printers`:
  // the number of printers that could be opened, 0 on failure. May end the
  // dialog (spooler not responding).
  int BuildListOfInstalledPrinters(PrinterList& printers);

  const OptionList& options() const { return options_; }
  std::int32_t step() const { return step_; }
  const StringList& scripts() const { return scripts_; }
  const COSInfo& osInfo() const { return osInfo_; }

 private:
  // Each returns false when it ended the dialog.
  bool runStep();
  bool checkAdministrator();
  bool startSpooler();
  void collectScripts();
  void interpretScripts();
  bool discoverPrinters();

  void onInitDialog();
  void onShow();
  void onCancel();
  int message(std::uint32_t textId, std::uint32_t flags);
  void end(int result);

  int enumerate(PrinterList& printers);
  bool readPrinter(const char* name, const char* defaultPrinter, const char* computerName,
                   std::uint32_t& level2Buffer, PrinterList& printers);
  bool passesFilters(const PrinterEntry& entry) const;

  platform::System& system_;
  LoadingView& view_;
  bool ended_ = false;

  UninstallProfile* profile_ = nullptr;
  OptionList options_;
  std::int32_t step_ = 0;
  COSInfo osInfo_;
  StringList scripts_;
  CStringRes strings_;
};

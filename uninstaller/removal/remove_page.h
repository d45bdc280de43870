// The removal page, a child of the main dialog: runs and shows the removal
// sequence, one step per timer tick.
#pragma once

#include <cstdint>

#include "platform/system.h"
#include "removal/journal.h"
#include "removal/removal_context.h"
#include "removal/remove_view.h"
#include "shell/dialog_base.h"
#include "shell/os_info.h"
#include "shell/string_res.h"

class UninstallProfile;

class CRemovePage : public CDialogBase {
 public:
  static constexpr std::uint32_t kStepTimer = 1130;
  static constexpr std::uint32_t kStepPeriodMs = 200;
  static constexpr int kLastStep = 17;

  CRemovePage(platform::System& system, RemoveView& view);
  ~CRemovePage() override;

  void setProfile(UninstallProfile* profile) { profile_ = profile; }

  platform::LResult HandleMessage(platform::WindowHandle window, std::uint32_t message,
                                  platform::WParam wParam, platform::LParam lParam) override;

  // Called by the main dialog when it switches to this page: starts the
  // timer-driven removal steps.
  void StartRemoval();

  // Every action of the run, for an unattended report.
  const RecordingJournal& journal() const { return journal_; }
  const SearchDirectories& directories() const { return directories_; }
  int step() const { return step_; }

 private:
  void RunRemovalStep(std::uint32_t timerId);
  void runStep();
  void drawRows();
  void showRow(int row);
  // The masking tool's wait; true while it still runs.
  bool waitForMaskingTool(RemovalContext& context);
  void finish(RemovalContext& context);
  void offerReboot(RemovalContext& context);
  void fillDirectories();
  RemovalContext context();

  platform::System& system_;
  RemoveView& view_;
  UninstallProfile* profile_ = nullptr;
  bool waitCursorShown_ = false;
  char pavanePath_[platform::kMaxPath] = {};
  // Not closed: the tool may outlive the page.
  platform::ProcessHandle pavane_;
  bool pavaneMarker_ = false;  // Win32s: the tool runs, but without a handle
  int step_ = 0;
  int row_ = 0;
  bool showProgress_ = false;
  COSInfo os_;
  CStringRes strings_;
  SearchDirectories directories_;
  RecordingJournal journal_;
};

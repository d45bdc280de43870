// The removal page, a child of the main dialog: runs and shows the removal
// sequence.
#pragma once

#include "platform/system.h"
#include "removal/journal.h"
#include "removal/remove_view.h"
#include "shell/dialog_base.h"

class UninstallProfile;

class CRemovePage : public CDialogBase {
 public:
  CRemovePage(platform::System& system, RemoveView& view);

  void setProfile(UninstallProfile* profile) { profile_ = profile; }

  platform::LResult HandleMessage(platform::WindowHandle window, std::uint32_t message,
                                  platform::WParam wParam, platform::LParam lParam) override;

  // Called by the main dialog when it switches to this page: starts the
  // timer-driven removal steps.
  void StartRemoval();

  // Every action the removal took, in order.
  const RecordingJournal& journal() const { return journal_; }

 private:
  [[maybe_unused]] platform::System& system_;
  [[maybe_unused]] RemoveView& view_;
  UninstallProfile* profile_ = nullptr;
  RecordingJournal journal_;
};

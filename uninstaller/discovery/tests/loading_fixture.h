// A loading dialog on a simulated machine, driven message by message.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "discovery/loading_dlg.h"
#include "fake_loading_view.h"
#include "machine.h"
#include "profile/uninstall_profile.h"
#include "program_strings.h"
#include "shell/dialog_messages.h"
#include "shell/locations.h"
#include "sim_spooler.h"

class LoadingFixture {
 public:
  explicit LoadingFixture(const char* profileName = "10") : machine(profileName) {
    InstallProgramStrings(machine.desktop());
    TheLoadingCounters() = {};
    // Message boxes need a real owner window.
    dialogWindow = machine.desktop().createWindow("#32770", "Loading");
  }

  // Creates the dialog as the program does and shows it.
  CLoadingDlg& open(const char* commandLine = "C:\\Stripwell\\Stripwell.exe") {
    dialog = std::make_unique<CLoadingDlg>(system, view, commandLine);
    dialog->setProfile(&profile);
    dialog->window = dialogWindow;
    dialog->HandleMessage(dialogWindow, dlgmsg::kInitDialog, 0, 0);
    dialog->HandleMessage(dialogWindow, dlgmsg::kShowWindow, 1, 0);
    return *dialog;
  }

  void tick() { dialog->HandleMessage(dialogWindow, dlgmsg::kTimer, CLoadingDlg::kTimerId, 0); }

  // Ticks until the dialog ends; the number of ticks it took.
  int runToEnd(int limit = 200) {
    int ticks = 0;
    while (!view.result && ticks < limit) {
      tick();
      ++ticks;
    }
    return ticks;
  }

  // A well-known directory, with its trailing backslash.
  std::string directory(std::int32_t code) {
    CPathParts parts;
    parts.init(system, code);
    return parts.directory();
  }

  std::vector<std::string> boxTexts() {
    std::vector<std::string> texts;
    for (const sim::MessageBoxRecord& box : machine.desktop().messageBoxes())
      texts.push_back(box.text);
    return texts;
  }

  sim::Machine machine;
  sim::SimSpooler& spooler = machine.spooler();
  platform::WindowHandle dialogWindow;
  platform::System system = machine.system();
  FakeLoadingView view;
  UninstallProfile profile{system};
  std::unique_ptr<CLoadingDlg> dialog;
};

// A loading dialog on a simulated machine, driven message by message.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/dialog_messages.h"
#include "app/locations.h"
#include "discovery/loading_dlg.h"
#include "machine.h"
#include "profile/uninstall_profile.h"
#include "program_strings.h"
#include "sim_spooler.h"

// Records what the sequence does to its window.
class FakeLoadingView : public LoadingView {
 public:
  platform::ModuleHandle moduleOf(platform::WindowHandle) override { return 0x400000; }
  void setText(platform::WindowHandle, int controlId, const char* text) override {
    texts[controlId] = text;
  }
  void hideControl(platform::WindowHandle, int controlId) override { hidden.insert(controlId); }
  void setProgressRange(platform::WindowHandle, int lowValue, int highValue) override {
    low = lowValue;
    high = highValue;
  }
  void setProgressPosition(platform::WindowHandle, int value) override {
    position = value;
    positionsSet.push_back(value);
  }
  void setProgressStep(platform::WindowHandle, int value) override {
    step = value;
    stepsSet.push_back(value);
  }
  // A progress bar starts over from its low end once a step passes the top.
  void stepProgress(platform::WindowHandle) override {
    position += step;
    if (position > high) position = low + (position - high);
  }
  void centre(platform::WindowHandle) override { centred = true; }
  void setTimer(platform::WindowHandle, std::uint32_t id, std::uint32_t period) override {
    timers[id] = period;
  }
  void killTimer(platform::WindowHandle, std::uint32_t id) override { timers.erase(id); }
  void endDialog(platform::WindowHandle, int value) override {
    if (!result) result = value;
  }

  std::map<int, std::string> texts;
  std::set<int> hidden;
  int low = 0, high = 100, position = 0, step = 10;
  std::vector<int> positionsSet, stepsSet;
  bool centred = false;
  std::map<std::uint32_t, std::uint32_t> timers;
  std::optional<int> result;
};

class LoadingFixture {
 public:
  explicit LoadingFixture(const char* profileName = "10")
      : machine(profileName),
        spooler(machine.registry(), machine.services(), machine.profile().isNt()) {
    InstallProgramStrings(machine.desktop());
    TheLoadingCounters() = {};
    // Message boxes need a real owner window.
    dialogWindow = machine.desktop().createWindow("#32770", "Loading");
  }

  // Creates the dialog as the program does and shows it.
  CLoadingDlg& open(const char* commandLine = "C:\\Stripwell\\Stripwell.exe") {
    dialog = std::make_unique<CLoadingDlg>(system, spooler, view, commandLine);
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
    for (const sim::MessageBoxRecord& box : machine.desktop().messageBoxes()) texts.push_back(box.text);
    return texts;
  }

  sim::Machine machine;
  sim::SimSpooler spooler;
  platform::WindowHandle dialogWindow = 0;
  platform::System system = machine.system();
  FakeLoadingView view;
  UninstallProfile profile{system};
  std::unique_ptr<CLoadingDlg> dialog;
};

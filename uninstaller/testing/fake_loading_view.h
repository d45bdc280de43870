// A loading dialog window that records what the sequence does to it.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "discovery/loading_view.h"

// Records what the sequence does to its window.
class FakeLoadingView : public LoadingView {
 public:
  platform::ModuleHandle moduleOf(platform::WindowHandle) override {
    return platform::ModuleHandle{0x400000};
  }
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

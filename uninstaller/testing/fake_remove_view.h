// A removal page window that records what the sequence does to it.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "removal/remove_view.h"

class FakeRemoveView : public RemoveView {
 public:
  platform::ModuleHandle moduleOf(platform::WindowHandle) override {
    return platform::ModuleHandle{0x400000};
  }
  platform::WindowHandle parentOf(platform::WindowHandle) override { return parent; }
  void setText(platform::WindowHandle, int controlId, const char* text) override {
    texts[controlId] = text;
  }
  void enableControl(platform::WindowHandle, int controlId, bool on) override {
    enabled[controlId] = on;
  }
  void setTimer(platform::WindowHandle, std::uint32_t id, std::uint32_t period) override {
    timers[id] = period;
  }
  void killTimer(platform::WindowHandle, std::uint32_t id) override { timers.erase(id); }
  void endDialog(platform::WindowHandle, int value) override {
    if (!result) result = value;
  }

  platform::WindowHandle parent;
  std::map<int, std::string> texts;
  std::map<int, bool> enabled;
  std::map<std::uint32_t, std::uint32_t> timers;
  std::optional<int> result;
};

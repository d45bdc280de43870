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

  void prepareRows(platform::WindowHandle) override { ++preparations; }
  void drawRow(platform::WindowHandle, int textControl, int iconControl, int image,
               bool bold) override {
    rows[textControl] = Row{iconControl, image, bold};
  }
  platform::LResult transparentBrush() override { return kTransparentBrush; }
  void redraw(platform::WindowHandle) override { ++redraws; }
  void showWaitCursor() override { waitCursor = true; }
  void restoreCursor() override { waitCursor = false; }

  struct Row {
    int iconControl = 0;
    int image = -1;
    bool bold = false;
  };
  static constexpr platform::LResult kTransparentBrush = 0x5B5B;

  platform::WindowHandle parent;
  std::map<int, Row> rows;  // by text control
  int preparations = 0;
  int redraws = 0;
  bool waitCursor = false;
  std::map<int, std::string> texts;
  std::map<int, bool> enabled;
  std::map<std::uint32_t, std::uint32_t> timers;
  std::optional<int> result;
};

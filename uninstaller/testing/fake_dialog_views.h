// Recording fakes of the Extra Info dialog's and the About box's windows.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "app/about_view.h"
#include "app/extra_info_view.h"
#include "fake_list_view.h"

class FakeExtraInfoView : public FakeCursorOf<FakeListOf<ExtraInfoView>> {
 public:
  void setText(platform::WindowHandle, int controlId, const char* text) override {
    texts[controlId] = text;
  }
  void checkRadioButton(platform::WindowHandle, int, int, int checked) override {
    checkedRadio = checked;
  }
  bool isChecked(platform::WindowHandle, int controlId) override { return boxes[controlId]; }
  void enableControl(platform::WindowHandle, int controlId, bool enabled) override {
    enabledControls[controlId] = enabled;
  }
  void centre(platform::WindowHandle) override { centred = true; }
  void endDialog(platform::WindowHandle, int value) override {
    if (!result) result = value;
  }

  std::map<int, std::string> texts;
  int checkedRadio = 0;
  std::map<int, bool> boxes;  // check boxes the user ticked
  std::map<int, bool> enabledControls;
  bool centred = false;
  std::optional<int> result;
};

class FakeAboutView : public FakeListOf<AboutView> {
 public:
  platform::ModuleHandle moduleOf(platform::WindowHandle) override {
    return platform::ModuleHandle{0x400000};
  }
  void setText(platform::WindowHandle, int controlId, const char* text) override {
    texts[controlId] = text;
  }
  void centre(platform::WindowHandle) override { centred = true; }
  void endDialog(platform::WindowHandle, int value) override {
    if (!result) result = value;
  }

  std::map<int, std::string> texts;
  bool centred = false;
  std::optional<int> result;
};

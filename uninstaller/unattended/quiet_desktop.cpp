#include "unattended/quiet_desktop.h"

namespace mb = platform::mb;

namespace {

constexpr std::uint32_t kTypeMask = 0xF;  // MB_TYPEMASK
constexpr std::uint32_t kOkCancel = 0x1;
constexpr std::uint32_t kAbortRetryIgnore = 0x2;
constexpr std::uint32_t kYesNoCancel = 0x3;
constexpr std::uint32_t kRetryCancel = 0x5;
constexpr int kIdIgnore = 5;

}  // namespace

int QuietAnswer(std::uint32_t flags) {
  switch (flags & kTypeMask) {
    case mb::kOk:
    case kOkCancel:
      return mb::kIdOk;
    case mb::kYesNo:
    case kYesNoCancel:
      return mb::kIdNo;
    case kAbortRetryIgnore:
      return kIdIgnore;
    case kRetryCancel:
    default:
      return mb::kIdCancel;
  }
}

platform::LResult QuietDesktop::sendMessage(platform::WindowHandle window, std::uint32_t message,
                                            platform::WParam wParam, platform::LParam lParam) {
  if (desk_.owns(window)) return desk_.send(window, message, wParam, lParam);
  return real_.sendMessage(window, message, wParam, lParam);
}

bool QuietDesktop::sendMessageTimeout(platform::WindowHandle window, std::uint32_t message,
                                      platform::WParam wParam, platform::LParam lParam,
                                      std::uint32_t flags, std::uint32_t timeoutMs,
                                      platform::LResult* result) {
  if (desk_.owns(window)) {
    const platform::LResult answer = desk_.send(window, message, wParam, lParam);
    if (result != nullptr) *result = answer;
    return true;
  }
  return real_.sendMessageTimeout(window, message, wParam, lParam, flags, timeoutMs, result);
}

bool QuietDesktop::postMessage(platform::WindowHandle window, std::uint32_t message,
                               platform::WParam wParam, platform::LParam lParam) {
  if (desk_.owns(window)) {
    desk_.post(window, message, wParam, lParam);
    return true;
  }
  return real_.postMessage(window, message, wParam, lParam);
}

bool QuietDesktop::showWindow(platform::WindowHandle window, int command) {
  return desk_.owns(window) || real_.showWindow(window, command);
}

bool QuietDesktop::bringWindowToTop(platform::WindowHandle window) {
  return desk_.owns(window) || real_.bringWindowToTop(window);
}

bool QuietDesktop::setForegroundWindow(platform::WindowHandle window) {
  return desk_.owns(window) || real_.setForegroundWindow(window);
}

int QuietDesktop::messageBox(platform::WindowHandle, const char* text, const char* caption,
                             std::uint32_t flags) {
  const int answer = QuietAnswer(flags);
  boxes_.push_back({text != nullptr ? text : "", caption != nullptr ? caption : "", flags, answer});
  return answer;
}

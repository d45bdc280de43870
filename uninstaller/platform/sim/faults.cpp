#include "faults.h"

namespace sim {

void Faults::fail(std::string_view call, platform::Win32Error error, std::string_view subject) {
  faults_[{ToUpper(call), ToUpper(subject)}] = error;
}

std::optional<platform::Win32Error> Faults::check(std::string_view call, std::string_view subject) {
  std::optional<platform::Win32Error> result;
  const std::string name = ToUpper(call);
  if (auto it = faults_.find(std::pair{name, ToUpper(subject)}); it != faults_.end()) {
    result = it->second;
  } else if (auto any = faults_.find(std::pair{name, std::string()}); any != faults_.end()) {
    result = any->second;
  }
  log_.push_back(CallRecord{std::string(call), std::string(subject), result.value_or(0)});
  return result;
}

bool Faults::wasCalled(std::string_view call, std::string_view subject) const {
  for (const CallRecord& record : log_) {
    if (EqualNoCase(record.call, call) &&
        (subject.empty() || EqualNoCase(record.subject, subject))) {
      return true;
    }
  }
  return false;
}

}  // namespace sim

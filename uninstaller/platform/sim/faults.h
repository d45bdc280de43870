// Windows calls made to fail on purpose. A test names a call as Windows
// names the function ("DeletePrinterDriverA") and the error it is to give,
// for every subject or for one (a printer, a driver, a file path...); the
// simulated parts ask before they act. Every call they ask about is logged,
// failed or not, so a test can see what the program attempted.
//
//   machine.faults().fail("DeletePrinter", 5, "Office");
//   ... run ...
//   EXPECT_TRUE(machine.faults().wasCalled("DeletePrinter", "Office"));
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/win32_types.h"
#include "sim_text.h"

namespace sim {

struct CallRecord {
  std::string call;
  std::string subject;
  platform::Win32Error result = 0;  // the injected error, 0 when none
};

class Faults {
 public:
  // `call` fails with `error` for `subject` (case-insensitive), or for
  // every subject when `subject` is empty.
  void fail(std::string_view call, platform::Win32Error error, std::string_view subject = "");
  void clear() { faults_.clear(); }

  // Asked by the simulated parts: the injected error, if any. Logs the call.
  std::optional<platform::Win32Error> check(std::string_view call, std::string_view subject = "");

  const std::vector<CallRecord>& log() const { return log_; }
  bool wasCalled(std::string_view call, std::string_view subject = "") const;

 private:
  // (call, subject) -> error; an empty subject matches every subject.
  std::map<std::pair<std::string, std::string>, platform::Win32Error, std::less<>> faults_;
  std::vector<CallRecord> log_;
};

}  // namespace sim

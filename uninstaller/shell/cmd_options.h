// The command-line options ("/MFG:...", "-PRN:...", "/UNPAVANE", "/NOPICK").
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One option: its name first, then its values in command-line order.
// Every string holds at most 259 characters; longer ones are cut.
class CmdOption {
 public:
  static constexpr std::size_t kMaxText = 259;

  explicit CmdOption(std::string name);
  void addValue(std::string value);

  const std::string& name() const { return strings_.front(); }
  // Name plus values: 1 for an option without values.
  std::size_t count() const { return strings_.size(); }
  const std::string& value(std::size_t i) const { return strings_[i + 1]; }
  std::size_t valueCount() const { return strings_.size() - 1; }

 private:
  std::vector<std::string> strings_;
};

// The options of the process command line, in command-line order; an option
// given twice gives two entries.
class OptionList {
 public:
  // The command line is copied into a 4096-byte buffer as Windows programs
  // of this family do, so text beyond 4095 characters is cut before parsing.
  static constexpr std::size_t kCommandLineBuffer = 4096;

  // Parses the full command line (program path included): tokens split at
  // spaces outside double quotes; a token starting with '/' or '-' is an
  // option, named up to the first ':' outside quotes, its values split at
  // commas outside quotes. Quotes stay in the stored strings.
  void parse(const char* commandLine);

  // True when some option has this name, ignoring case.
  bool present(const char* name) const;

  // Writes the values of every option of this name that has values, each
  // NUL-terminated, with one more NUL after the last, in list order.
  // `size` in: the buffer size; out: the bytes the values take (0 when there
  // are none, and then nothing is written). Writes nothing and returns false
  // when they do not fit below the buffer size; false also for an empty name
  // or a null size.
  bool values(const char* name, char* buffer, std::uint32_t* size) const;

  const std::vector<CmdOption>& options() const { return options_; }

 private:
  void addToken(const std::string& token);

  std::vector<CmdOption> options_;
};

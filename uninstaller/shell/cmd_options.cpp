#include "shell/cmd_options.h"

#include <algorithm>
#include <cstring>

#include "platform/crt.h"

namespace {

std::string Cut(std::string text) {
  if (text.size() > CmdOption::kMaxText) text.resize(CmdOption::kMaxText);
  return text;
}

// Splits at `separator` wherever it stands outside double quotes; every
// '"' toggles the quoted state, counted from the start of `text`.
std::vector<std::string> SplitOutsideQuotes(const std::string& text, char separator) {
  std::vector<std::string> parts(1);
  bool quoted = false;
  for (char c : text) {
    if (c == '"') quoted = !quoted;
    if (c == separator && !quoted) {
      parts.emplace_back();
    } else {
      parts.back().push_back(c);
    }
  }
  return parts;
}

}  // namespace

CmdOption::CmdOption(std::string name) { strings_.push_back(Cut(std::move(name))); }

void CmdOption::addValue(std::string value) { strings_.push_back(Cut(std::move(value))); }

void OptionList::parse(const char* commandLine) {
  if (commandLine == nullptr) return;
  const std::size_t length = std::min(std::strlen(commandLine), kCommandLineBuffer - 1);
  const std::string line(commandLine, length);

  for (const std::string& token : SplitOutsideQuotes(line, ' ')) addToken(token);
}

void OptionList::addToken(const std::string& token) {
  if (token.empty() || (token[0] != '/' && token[0] != '-')) return;
  const std::string body = token.substr(1);

  // The name ends at the first ':' outside quotes; what follows is the
  // comma-separated value list. Without a colon the option has no values.
  bool quoted = false;
  std::size_t colon = std::string::npos;
  for (std::size_t i = 0; i < body.size(); ++i) {
    if (body[i] == '"') quoted = !quoted;
    if (body[i] == ':' && !quoted) {
      colon = i;
      break;
    }
  }
  CmdOption option(body.substr(0, colon));
  if (colon != std::string::npos) {
    for (std::string& value : SplitOutsideQuotes(body.substr(colon + 1), ',')) {
      option.addValue(std::move(value));
    }
  }
  options_.push_back(std::move(option));
}

bool OptionList::present(const char* name) const {
  for (const CmdOption& option : options_) {
    if (crt::StrCmpI(option.name().c_str(), name) == 0) return true;
  }
  return false;
}

bool OptionList::values(const char* name, char* buffer, std::uint32_t* size) const {
  if (name == nullptr || name[0] == '\0' || size == nullptr) return false;

  std::uint32_t total = 0;
  for (const CmdOption& option : options_) {
    if (crt::StrCmpI(option.name().c_str(), name) != 0) continue;
    for (std::size_t i = 0; i < option.valueCount(); ++i) {
      total += static_cast<std::uint32_t>(option.value(i).size() + 1);
    }
  }
  if (total != 0) total += 1;  // the NUL that ends the multi-string

  const std::uint32_t capacity = *size;
  *size = total;
  if (total >= capacity) return false;
  if (total == 0) return true;
  if (buffer == nullptr) return false;

  char* out = buffer;
  for (const CmdOption& option : options_) {
    if (crt::StrCmpI(option.name().c_str(), name) != 0) continue;
    for (std::size_t i = 0; i < option.valueCount(); ++i) {
      const std::string& value = option.value(i);
      std::memcpy(out, value.c_str(), value.size() + 1);
      out += value.size() + 1;
    }
  }
  *out = '\0';
  return true;
}

#include "ini_text.h"

#include <utility>

#include "sim_text.h"

namespace sim {
namespace {

bool IsProfileBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == 0x1a;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    lines.emplace_back(text.substr(start, end - start));
    // CR LF, a lone LF or a lone CR ends a line.
    if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') {
      ++end;
    }
    start = end + 1;
  }
  return lines;
}

}  // namespace

std::string_view TrimProfileBlanks(std::string_view text) {
  while (!text.empty() && IsProfileBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsProfileBlank(text.back())) text.remove_suffix(1);
  return text;
}

IniDocument::IniDocument(std::string_view text) : lines_(SplitLines(text)) { parse(); }

void IniDocument::parse() {
  sections_.clear();
  sections_.push_back(IniSection{});  // the lines before the first header
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const std::string_view line = TrimProfileBlanks(lines_[i]);
    if (line.empty()) continue;
    if (line.front() == '[') {
      const std::size_t close = line.rfind(']');
      if (close != std::string_view::npos && close > 0) {
        IniSection section;
        section.name = std::string(TrimProfileBlanks(line.substr(1, close - 1)));
        section.header = i;
        section.hasHeader = true;
        sections_.push_back(std::move(section));
        continue;
      }
    }
    IniKey key;
    key.line = i;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      key.name = std::string(line);
    } else {
      key.name = std::string(TrimProfileBlanks(line.substr(0, equals)));
      std::string_view value = line.substr(equals + 1);
      while (!value.empty() && IsProfileBlank(value.front())) value.remove_prefix(1);
      key.value = std::string(value);
    }
    sections_.back().keys.push_back(std::move(key));
  }
}

const IniSection* IniDocument::findSection(std::string_view name) const {
  const std::string_view wanted = TrimProfileBlanks(name);
  for (const IniSection& s : sections_) {
    if (s.hasHeader && EqualNoCase(s.name, wanted)) return &s;
  }
  return nullptr;
}

const IniKey* IniDocument::findKey(const IniSection& section, std::string_view name) {
  const std::string_view wanted = TrimProfileBlanks(name);
  for (const IniKey& k : section.keys) {
    if (EqualNoCase(k.name, wanted)) return &k;
  }
  return nullptr;
}

std::vector<std::string> IniDocument::sectionNames() const {
  std::vector<std::string> names;
  for (const IniSection& s : sections_) {
    if (s.hasHeader && !s.name.empty()) names.push_back(s.name);
  }
  return names;
}

std::vector<std::string> IniDocument::keyNames(const IniSection& section) {
  std::vector<std::string> names;
  for (const IniKey& k : section.keys) {
    if (k.value && !k.name.empty() && k.name.front() != ';') names.push_back(k.name);
  }
  return names;
}

void IniDocument::setValue(std::string_view section, std::string_view key, std::string_view value) {
  const std::string keyName(TrimProfileBlanks(key));
  if (const IniSection* s = findSection(section)) {
    if (const IniKey* k = findKey(*s, keyName)) {
      lines_[k->line] = k->name + "=" + std::string(value);
    } else {
      const std::size_t at = s->keys.empty() ? s->header + 1 : s->keys.back().line + 1;
      lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at),
                    keyName + "=" + std::string(value));
    }
  } else {
    std::string header = "[";
    header.append(TrimProfileBlanks(section)).append("]");
    lines_.push_back(std::move(header));
    lines_.push_back(keyName + "=" + std::string(value));
  }
  parse();
}

bool IniDocument::deleteKey(std::string_view section, std::string_view key) {
  const std::string_view wanted = TrimProfileBlanks(section);
  for (const IniSection& s : sections_) {
    if (!s.hasHeader || !EqualNoCase(s.name, wanted)) continue;
    if (const IniKey* k = findKey(s, key)) {
      lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(k->line));
      parse();
      return true;
    }
  }
  return false;
}

bool IniDocument::deleteSection(std::string_view section) {
  const IniSection* s = findSection(section);
  if (s == nullptr) return false;
  // The section runs up to the next header or the end of the file.
  std::size_t end = lines_.size();
  for (const IniSection& other : sections_) {
    if (other.hasHeader && other.header > s->header) {
      end = other.header;
      break;
    }
  }
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(s->header),
               lines_.begin() + static_cast<std::ptrdiff_t>(end));
  parse();
  return true;
}

std::string IniDocument::text() const {
  std::string out;
  for (const std::string& line : lines_) out += line + "\r\n";
  return out;
}

}  // namespace sim

// A small JSON reader and writer for the plan tool. Texts inside the tool
// are ANSI (Windows code page 1252), as the uninstaller's are: the reader
// turns UTF-8 and \u escapes into that code page ('?' for characters it
// lacks), and the writer escapes every byte above 127 as \u, so its output
// is plain ASCII.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace json {

class Value {
 public:
  enum class Kind { Null, Bool, Number, String, Array, Object };

  Value() = default;
  static Value boolean(bool b);
  static Value number(double n);
  static Value string(std::string s);
  static Value array();
  static Value object();

  Kind kind() const { return kind_; }
  bool isNull() const { return kind_ == Kind::Null; }
  bool asBool() const { return bool_; }
  double asNumber() const { return number_; }
  const std::string& asString() const { return string_; }
  const std::vector<Value>& items() const { return items_; }
  // Members in the order written; a repeated name keeps every occurrence.
  const std::vector<std::pair<std::string, Value>>& members() const { return members_; }
  // The first member of that name, or null.
  const Value* find(std::string_view name) const;

  void push(Value v) { items_.push_back(std::move(v)); }
  void add(std::string name, Value v) { members_.emplace_back(std::move(name), std::move(v)); }

 private:
  Kind kind_ = Kind::Null;
  bool bool_ = false;
  double number_ = 0;
  std::string string_;
  std::vector<Value> items_;
  std::vector<std::pair<std::string, Value>> members_;
};

struct ParseResult {
  bool ok = false;
  Value value;
  std::string error;  // "line L, column C: what"
};

// Parses one JSON text (RFC 8259), white space around it allowed. Nesting
// deeper than 200 levels is refused.
ParseResult Parse(std::string_view text);

// Writes a value as indented JSON (two spaces a level), ending in a newline.
std::string Write(const Value& value);

// The code-page conversions the reader and writer use.
std::uint32_t Cp1252ToUnicode(unsigned char c);
char UnicodeToCp1252(std::uint32_t codePoint);

}  // namespace json

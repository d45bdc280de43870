#include "planner/json.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace json {
namespace {

// Code page 1252 at 0x80..0x9F; 0 marks the five unassigned bytes, which
// map to the C1 control with the same number.
constexpr std::uint16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

constexpr int kMaxDepth = 200;

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  ParseResult run() {
    ParseResult result;
    skipSpace();
    if (!parseValue(result.value, 0)) {
      result.error = where() + error_;
      return result;
    }
    skipSpace();
    if (pos_ != text_.size()) {
      result.error = where() + "unexpected text after the value";
      return result;
    }
    result.ok = true;
    return result;
  }

 private:
  bool fail(const char* what) {
    error_ = what;
    return false;
  }

  std::string where() const {
    int line = 1;
    int column = 1;
    for (std::size_t i = 0; i < pos_ && i < text_.size(); ++i) {
      if (text_[i] == '\n') {
        ++line;
        column = 1;
      } else {
        ++column;
      }
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(column) + ": ";
  }

  bool atEnd() const { return pos_ >= text_.size(); }
  char peek() const { return atEnd() ? '\0' : text_[pos_]; }

  void skipSpace() {
    while (!atEnd() && (peek() == ' ' || peek() == '\t' || peek() == '\n' || peek() == '\r')) {
      ++pos_;
    }
  }

  bool literal(std::string_view word) {
    if (text_.substr(pos_, word.size()) != word) return fail("unknown literal");
    pos_ += word.size();
    return true;
  }

  bool parseValue(Value& out, int depth) {
    if (depth > kMaxDepth) return fail("nesting too deep");
    switch (peek()) {
      case '{': return parseObject(out, depth);
      case '[': return parseArray(out, depth);
      case '"': {
        std::string s;
        if (!parseString(s)) return false;
        out = Value::string(std::move(s));
        return true;
      }
      case 't': out = Value::boolean(true); return literal("true");
      case 'f': out = Value::boolean(false); return literal("false");
      case 'n': out = Value(); return literal("null");
      default: return parseNumber(out);
    }
  }

  bool parseObject(Value& out, int depth) {
    out = Value::object();
    ++pos_;
    skipSpace();
    if (peek() == '}') {
      ++pos_;
      return true;
    }
    for (;;) {
      skipSpace();
      if (peek() != '"') return fail("expected a member name");
      std::string name;
      if (!parseString(name)) return false;
      skipSpace();
      if (peek() != ':') return fail("expected ':'");
      ++pos_;
      skipSpace();
      Value member;
      if (!parseValue(member, depth + 1)) return false;
      out.add(std::move(name), std::move(member));
      skipSpace();
      if (peek() == ',') {
        ++pos_;
        continue;
      }
      if (peek() == '}') {
        ++pos_;
        return true;
      }
      return fail("expected ',' or '}'");
    }
  }

  bool parseArray(Value& out, int depth) {
    out = Value::array();
    ++pos_;
    skipSpace();
    if (peek() == ']') {
      ++pos_;
      return true;
    }
    for (;;) {
      skipSpace();
      Value item;
      if (!parseValue(item, depth + 1)) return false;
      out.push(std::move(item));
      skipSpace();
      if (peek() == ',') {
        ++pos_;
        continue;
      }
      if (peek() == ']') {
        ++pos_;
        return true;
      }
      return fail("expected ',' or ']'");
    }
  }

  bool parseNumber(Value& out) {
    const std::size_t start = pos_;
    if (peek() == '-') ++pos_;
    if (peek() == '0') {
      ++pos_;
    } else if (peek() >= '1' && peek() <= '9') {
      while (peek() >= '0' && peek() <= '9') ++pos_;
    } else {
      return fail("expected a value");
    }
    if (peek() == '.') {
      ++pos_;
      if (!(peek() >= '0' && peek() <= '9')) return fail("expected a digit");
      while (peek() >= '0' && peek() <= '9') ++pos_;
    }
    if (peek() == 'e' || peek() == 'E') {
      ++pos_;
      if (peek() == '+' || peek() == '-') ++pos_;
      if (!(peek() >= '0' && peek() <= '9')) return fail("expected a digit");
      while (peek() >= '0' && peek() <= '9') ++pos_;
    }
    const std::string number(text_.substr(start, pos_ - start));
    out = Value::number(std::strtod(number.c_str(), nullptr));
    return true;
  }

  bool hex4(std::uint32_t& out) {
    out = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = peek();
      std::uint32_t digit = 0;
      if (c >= '0' && c <= '9') {
        digit = static_cast<std::uint32_t>(c - '0');
      } else if (c >= 'a' && c <= 'f') {
        digit = static_cast<std::uint32_t>(c - 'a' + 10);
      } else if (c >= 'A' && c <= 'F') {
        digit = static_cast<std::uint32_t>(c - 'A' + 10);
      } else {
        return fail("bad \\u escape");
      }
      out = out * 16 + digit;
      ++pos_;
    }
    return true;
  }

  bool escape(std::string& out) {
    const char c = peek();
    ++pos_;
    switch (c) {
      case '"': out += '"'; return true;
      case '\\': out += '\\'; return true;
      case '/': out += '/'; return true;
      case 'b': out += '\b'; return true;
      case 'f': out += '\f'; return true;
      case 'n': out += '\n'; return true;
      case 'r': out += '\r'; return true;
      case 't': out += '\t'; return true;
      case 'u': {
        std::uint32_t code = 0;
        if (!hex4(code)) return false;
        if (code >= 0xD800 && code <= 0xDBFF && text_.substr(pos_, 2) == "\\u") {
          pos_ += 2;
          std::uint32_t low = 0;
          if (!hex4(low)) return false;
          if (low < 0xDC00 || low > 0xDFFF) return fail("bad surrogate pair");
          code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        }
        out += UnicodeToCp1252(code);
        return true;
      }
      default: return fail("bad escape");
    }
  }

  // One UTF-8 sequence starting at a byte above 127.
  bool utf8(std::string& out) {
    const auto lead = static_cast<unsigned char>(peek());
    int extra = 0;
    std::uint32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
      extra = 1;
      code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      extra = 2;
      code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      extra = 3;
      code = lead & 0x07u;
    } else {
      return fail("text is not UTF-8");
    }
    ++pos_;
    for (int i = 0; i < extra; ++i) {
      const auto next = static_cast<unsigned char>(peek());
      if ((next & 0xC0u) != 0x80u) return fail("text is not UTF-8");
      code = (code << 6) | (next & 0x3Fu);
      ++pos_;
    }
    out += UnicodeToCp1252(code);
    return true;
  }

  bool parseString(std::string& out) {
    ++pos_;  // the opening quote
    for (;;) {
      if (atEnd()) return fail("unterminated string");
      const auto c = static_cast<unsigned char>(peek());
      if (c == '"') {
        ++pos_;
        return true;
      }
      if (c < 0x20) return fail("control character in a string");
      if (c == '\\') {
        ++pos_;
        if (!escape(out)) return false;
      } else if (c >= 0x80) {
        if (!utf8(out)) return false;
      } else {
        out += static_cast<char>(c);
        ++pos_;
      }
    }
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  std::string error_;
};

void WriteString(std::string& out, const std::string& s) {
  out += '"';
  for (const char ch : s) {
    const auto c = static_cast<unsigned char>(ch);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20 || c >= 0x7F) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04X",
                        static_cast<unsigned>(c < 0x80 ? c : Cp1252ToUnicode(c)));
          out += escaped;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  out += '"';
}

void WriteNumber(std::string& out, double n) {
  char text[32];
  if (std::isfinite(n) && n == std::floor(n) && std::fabs(n) < 9.0e15) {
    std::snprintf(text, sizeof text, "%.0f", n);
  } else if (std::isfinite(n)) {
    std::snprintf(text, sizeof text, "%.17g", n);
  } else {
    std::snprintf(text, sizeof text, "null");
  }
  out += text;
}

void WriteValue(std::string& out, const Value& v, int indent) {
  const std::string pad(static_cast<std::size_t>(indent) * 2, ' ');
  const std::string inner(static_cast<std::size_t>(indent + 1) * 2, ' ');
  switch (v.kind()) {
    case Value::Kind::Null: out += "null"; break;
    case Value::Kind::Bool: out += v.asBool() ? "true" : "false"; break;
    case Value::Kind::Number: WriteNumber(out, v.asNumber()); break;
    case Value::Kind::String: WriteString(out, v.asString()); break;
    case Value::Kind::Array:
      if (v.items().empty()) {
        out += "[]";
        break;
      }
      out += "[\n";
      for (std::size_t i = 0; i < v.items().size(); ++i) {
        out += inner;
        WriteValue(out, v.items()[i], indent + 1);
        out += i + 1 < v.items().size() ? ",\n" : "\n";
      }
      out += pad + "]";
      break;
    case Value::Kind::Object:
      if (v.members().empty()) {
        out += "{}";
        break;
      }
      out += "{\n";
      for (std::size_t i = 0; i < v.members().size(); ++i) {
        out += inner;
        WriteString(out, v.members()[i].first);
        out += ": ";
        WriteValue(out, v.members()[i].second, indent + 1);
        out += i + 1 < v.members().size() ? ",\n" : "\n";
      }
      out += pad + "}";
      break;
  }
}

}  // namespace

Value Value::boolean(bool b) {
  Value v;
  v.kind_ = Kind::Bool;
  v.bool_ = b;
  return v;
}

Value Value::number(double n) {
  Value v;
  v.kind_ = Kind::Number;
  v.number_ = n;
  return v;
}

Value Value::string(std::string s) {
  Value v;
  v.kind_ = Kind::String;
  v.string_ = std::move(s);
  return v;
}

Value Value::array() {
  Value v;
  v.kind_ = Kind::Array;
  return v;
}

Value Value::object() {
  Value v;
  v.kind_ = Kind::Object;
  return v;
}

const Value* Value::find(std::string_view name) const {
  for (const auto& member : members_) {
    if (member.first == name) return &member.second;
  }
  return nullptr;
}

ParseResult Parse(std::string_view text) { return Parser(text).run(); }

std::string Write(const Value& value) {
  std::string out;
  WriteValue(out, value, 0);
  out += '\n';
  return out;
}

std::uint32_t Cp1252ToUnicode(unsigned char c) {
  if (c < 0x80 || c >= 0xA0) return c;
  const std::uint16_t mapped = kCp1252High[c - 0x80];
  return mapped != 0 ? mapped : c;
}

char UnicodeToCp1252(std::uint32_t codePoint) {
  if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
    return static_cast<char>(codePoint);
  }
  for (unsigned i = 0; i < 32; ++i) {
    const std::uint32_t mapped = kCp1252High[i] != 0 ? kCp1252High[i] : 0x80 + i;
    if (mapped == codePoint) return static_cast<char>(0x80 + i);
  }
  return '?';
}

}  // namespace json

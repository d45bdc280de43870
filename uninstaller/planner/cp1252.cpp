#include "planner/cp1252.h"

#include <cstdint>

namespace {

// Code page 1252 at 0x80..0x9F; 0 marks the five unassigned bytes.
constexpr std::uint16_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::uint32_t ToUnicode(unsigned char c) {
  if (c < 0x80 || c >= 0xA0 || kHigh[c - 0x80] == 0) return c;
  return kHigh[c - 0x80];
}

char FromUnicode(std::uint32_t codePoint) {
  if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
    return static_cast<char>(codePoint);
  }
  for (unsigned i = 0; i < 32; ++i) {
    const std::uint32_t mapped = kHigh[i] != 0 ? kHigh[i] : 0x80 + i;
    if (mapped == codePoint) return static_cast<char>(0x80 + i);
  }
  return '?';
}

// Code page 1252 reaches U+2122 at most: three UTF-8 bytes.
void AppendUtf8(std::string& out, std::uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) AppendUtf8(out, ToUnicode(static_cast<unsigned char>(c)));
  return out;
}

std::string Utf8ToCp1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    int extra = 0;
    std::uint32_t code = lead;
    if (lead >= 0xF0) {
      extra = 3;
      code = lead & 0x07u;
    } else if (lead >= 0xE0) {
      extra = 2;
      code = lead & 0x0Fu;
    } else if (lead >= 0xC0) {
      extra = 1;
      code = lead & 0x1Fu;
    }
    for (; extra > 0 && i < text.size(); --extra) {
      code = (code << 6) | (static_cast<unsigned char>(text[i++]) & 0x3Fu);
    }
    out += FromUnicode(code);
  }
  return out;
}

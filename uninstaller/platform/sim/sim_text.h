// Text helpers shared by the parts of the simulated machine: names compare
// as Windows compares them (ASCII letters fold to upper case, everything
// else by its byte value), and results go into callers' fixed buffers with
// the truncation rules of the Win32 functions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

char UpperAscii(char c);
std::string ToUpper(std::string_view text);

// Ordinal comparison after upper-casing, the order in which the registry and
// NTFS keep names: negative, zero or positive.
int CompareNoCase(std::string_view a, std::string_view b);
bool EqualNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

// Map and set ordering by CompareNoCase; heterogeneous lookup by string_view.
struct LessNoCase {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const { return CompareNoCase(a, b) < 0; }
};

// Splits at every separator, dropping empty pieces ("a\\\\b\\" gives a, b).
std::vector<std::string> SplitNonEmpty(std::string_view text, char separator);
std::string Join(const std::vector<std::string>& parts, std::string_view separator);

// A null pointer reads as the empty text.
inline std::string_view View(const char* text) {
  return text ? std::string_view(text) : std::string_view();
}

// Copies `text` into `buffer` of `size` characters, cut to size - 1 and
// terminated; returns the number of characters copied. Nothing is written
// when size is 0.
std::size_t CopyTruncated(std::string_view text, char* buffer, std::size_t size);

// The convention of GetWindowsDirectoryA and its kin: the length written
// when the text and its NUL fit, otherwise the size needed (NUL included)
// with the buffer untouched.
std::uint32_t CopyOrNeeded(std::string_view text, char* buffer, std::uint32_t size);

// A length as the 32-bit count the Win32 functions return.
inline std::uint32_t Count32(std::size_t n) { return static_cast<std::uint32_t>(n); }

}  // namespace sim

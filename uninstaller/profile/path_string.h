// A name, path, key, value or list item of the uninstaller: fixed-capacity
// ANSI text of MAX_PATH bytes, at most 259 characters and a NUL.
#pragma once

#include <cstddef>

class PathString {
 public:
  static constexpr std::size_t kCapacity = 260;
  static constexpr std::size_t kMaxLength = kCapacity - 1;

  PathString() = default;
  // Longer text is cut at 259 characters.
  explicit PathString(const char* text) { assign(text); }

  void clear() { text_[0] = '\0'; }
  // A null or empty source leaves the string empty.
  void assign(const char* text);
  // Appends what fits; false when the source had to be cut. A null source
  // appends nothing.
  bool append(const char* text);

  std::size_t length() const;
  bool isEmpty() const { return text_[0] == '\0'; }

  const char* c_str() const { return text_; }
  // The buffer itself, for the in-place text utilities; it holds kCapacity
  // bytes and must stay NUL-terminated.
  char* data() { return text_; }

  // Comparisons ignore letter case as _strcmpi does.
  friend bool operator==(const PathString& a, const PathString& b) {
    return a.compare(b.text_) == 0;
  }
  friend bool operator!=(const PathString& a, const PathString& b) { return !(a == b); }
  friend bool operator<(const PathString& a, const PathString& b) { return a.compare(b.text_) < 0; }
  bool equals(const char* text) const { return compare(text) == 0; }
  // Negative, zero or positive as _strcmpi; a null text counts as empty.
  int compare(const char* text) const;

 private:
  char text_[kCapacity] = {};
};

#include "profile/text_utils.h"

#include <climits>
#include <cstring>

char* SplitAt(char* text, char separator) {
  if (text == nullptr) return nullptr;
  if (separator == '\0') {
    if (*text == '\0') return nullptr;
    char* next = text + std::strlen(text) + 1;
    return *next == '\0' ? nullptr : next;
  }
  char* found = std::strchr(text, separator);
  if (found == nullptr) return nullptr;
  *found = '\0';
  return found + 1;
}

char* SplitAtOutsideQuotes(char* text, char separator) {
  if (text == nullptr) return nullptr;
  if (separator == '\0') return SplitAt(text, separator);
  bool quoted = false;
  for (char* p = text; *p != '\0'; ++p) {
    if (*p == '"') {
      quoted = !quoted;
    } else if (*p == separator && !quoted) {
      *p = '\0';
      return p + 1;
    }
  }
  return nullptr;
}

void TrimChar(char* text, char c) {
  if (text == nullptr || c == '\0') return;
  std::size_t length = std::strlen(text);
  while (length > 0 && text[length - 1] == c) text[--length] = '\0';
  std::size_t lead = 0;
  while (lead < length && text[lead] == c) ++lead;
  if (lead > 0) std::memmove(text, text + lead, length - lead + 1);
}

int AtoI(const char* text) {
  if (text == nullptr) return 0;
  const char* p = text;
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = (*p++ == '-');
  long long value = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    value = value * 10 + (*p - '0');
    // Past the int range the result is pinned; stop before overflowing.
    if (value > static_cast<long long>(INT_MAX) + 1) break;
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

#include "profile/path_string.h"

#include <cstring>

#include "platform/crt.h"

void PathString::assign(const char* text) {
  if (text == nullptr) {
    clear();
    return;
  }
  crt::CopyTruncated(text_, kCapacity, text);
}

bool PathString::append(const char* text) {
  if (text == nullptr) return true;
  return crt::AppendTruncated(text_, kCapacity, text);
}

std::size_t PathString::length() const { return std::strlen(text_); }

int PathString::compare(const char* text) const { return crt::StrCmpI(text_, text ? text : ""); }

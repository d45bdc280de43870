#include "platform/crt.h"

#include <cstring>

namespace crt {
namespace {

unsigned char Lower(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u + ('a' - 'A')) : u;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Copies [begin, end) into out, cut to capacity - 1 characters.
void CopyRange(char* out, std::size_t capacity, const char* begin, const char* end) {
  if (out == nullptr || capacity == 0) return;
  std::size_t n = static_cast<std::size_t>(end - begin);
  if (n > capacity - 1) n = capacity - 1;
  std::memcpy(out, begin, n);
  out[n] = '\0';
}

}  // namespace

int StrCmpI(const char* a, const char* b) { return StrNCmpI(a, b, static_cast<std::size_t>(-1)); }

int StrNCmpI(const char* a, const char* b, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const int ca = Lower(a[i]);
    const int cb = Lower(b[i]);
    if (ca != cb) return ca - cb;
    if (ca == 0) return 0;
  }
  return 0;
}

void SplitPath(const char* path, char* drive, char* dir, char* fname, char* ext,
               std::size_t capacity) {
  const char* p = path;
  const char* driveEnd = p;
  if (p[0] != '\0' && p[1] == ':') driveEnd = p + 2;
  CopyRange(drive, capacity, p, driveEnd);

  const char* end = p + std::strlen(p);
  const char* lastSeparator = nullptr;
  for (const char* q = driveEnd; q < end; ++q) {
    if (IsSeparator(*q)) lastSeparator = q;
  }
  const char* nameBegin = lastSeparator ? lastSeparator + 1 : driveEnd;
  CopyRange(dir, capacity, driveEnd, nameBegin);

  const char* dot = nullptr;
  for (const char* q = nameBegin; q < end; ++q) {
    if (*q == '.') dot = q;
  }
  const char* nameEnd = dot ? dot : end;
  CopyRange(fname, capacity, nameBegin, nameEnd);
  CopyRange(ext, capacity, nameEnd, end);
}

void MakePath(char* out, std::size_t capacity, const char* drive, const char* dir,
              const char* fname, const char* ext) {
  if (capacity == 0) return;
  out[0] = '\0';
  if (drive && drive[0] != '\0') {
    char letter[2] = {drive[0], '\0'};
    AppendTruncated(out, capacity, letter);
    AppendTruncated(out, capacity, ":");
  }
  if (dir && dir[0] != '\0') {
    AppendTruncated(out, capacity, dir);
    if (!IsSeparator(dir[std::strlen(dir) - 1])) AppendTruncated(out, capacity, "\\");
  }
  if (fname) AppendTruncated(out, capacity, fname);
  if (ext && ext[0] != '\0') {
    if (ext[0] != '.') AppendTruncated(out, capacity, ".");
    AppendTruncated(out, capacity, ext);
  }
}

void CopyTruncated(char* out, std::size_t capacity, const char* in) {
  CopyRange(out, capacity, in, in + std::strlen(in));
}

bool AppendTruncated(char* out, std::size_t capacity, const char* in) {
  const std::size_t used = std::strlen(out);
  if (used >= capacity) return false;
  const std::size_t room = capacity - 1 - used;
  const std::size_t n = std::strlen(in);
  const std::size_t take = n < room ? n : room;
  std::memcpy(out + used, in, take);
  out[used + take] = '\0';
  return take == n;
}

}  // namespace crt

#include "profile/script_file.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/crt.h"
#include "profile/text_utils.h"

namespace {

// The bytes written after the data: CR and LF end the last line even when
// the file does not, and the NUL ends the text.
constexpr char kTail[] = {'\r', '\n', '\0'};
constexpr std::size_t kTailSize = sizeof(kTail);

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// Trims spaces as the reader does: the leading ones by shifting the text
// left, the trailing ones by writing NUL over them.
void TrimSpaces(PathString& s) { TrimChar(s.data(), ' '); }

}  // namespace

bool ScriptFile::Load(platform::FileSystem& files, const char* path) {
  if (!sections_.empty()) return false;
  path_.assign(path);
  if (path == nullptr || path[0] == '\0') return false;

  platform::File file(files);
  if (files.createFile(path, platform::file_access::kGenericRead, platform::file_share::kNone,
                       platform::file_disposition::kOpenExisting,
                       platform::file_flag::kSequentialScan,
                       file.out()) != platform::error::kSuccess) {
    return false;
  }
  std::uint64_t size = 0;
  if (files.fileSize(file.get(), size) != platform::error::kSuccess || size == 0) return false;
  // One ReadFile call takes a 32-bit count; a larger file is not a script.
  if (size > std::numeric_limits<std::uint32_t>::max() - kTailSize) return false;

  std::vector<char> buffer(static_cast<std::size_t>(size) + kTailSize);
  std::uint32_t read = 0;
  const platform::Win32Error error =
      files.readFile(file.get(), buffer.data(), static_cast<std::uint32_t>(size), read);
  file.reset();
  if (error != platform::error::kSuccess || read == 0) return false;
  // The tail goes after the bytes delivered, which a short read makes fewer
  // than the size asked for.
  const std::size_t delivered = std::min<std::size_t>(read, static_cast<std::size_t>(size));
  std::memcpy(buffer.data() + delivered, kTail, kTailSize);
  parse(buffer.data());
  return true;
}

bool ScriptFile::LoadText(const char* path, std::string_view text) {
  if (!sections_.empty()) return false;
  path_.assign(path);
  if (text.empty() || text.size() > std::numeric_limits<std::size_t>::max() / 2) return false;
  std::vector<char> buffer(text.size() + kTailSize);
  std::memcpy(buffer.data(), text.data(), text.size());
  std::memcpy(buffer.data() + text.size(), kTail, kTailSize);
  parse(buffer.data());
  return true;
}

void ScriptFile::parse(char* text) {
  char* lineStart = text;
  char* scan = text;
  for (;;) {
    while (*scan != '\0' && !IsLineEnd(*scan)) ++scan;
    if (*scan == '\0') break;
    while (IsLineEnd(*scan)) *scan++ = '\0';
    addLine(lineStart);
    lineStart = scan;
  }
  buildIndex();
}

void ScriptFile::addLine(char* line) {
  switch (line[0]) {
    case '\0':  // only the very first line can be empty
    case ' ':
    case ';':
      return;
    case '[': {
      char* close = std::strchr(line + 1, ']');
      if (close == nullptr) return;
      *close = '\0';
      sections_.emplace_back();
      sections_.back().name.assign(line + 1);
      return;
    }
    default:
      if (!sections_.empty()) addEntry(line);
      return;
  }
}

void ScriptFile::addEntry(char* line) {
  SplitAt(line, ';');
  char* value = SplitAt(line, '=');
  ScriptEntry entry;
  // Copied first, then trimmed: a field is cut at 259 characters before its
  // spaces go.
  entry.key.assign(line);
  entry.value.assign(value);
  TrimSpaces(entry.key);
  TrimSpaces(entry.value);
  sections_.back().entries.push_back(entry);
}

void ScriptFile::buildIndex() {
  byName_.resize(sections_.size());
  for (std::uint32_t i = 0; i < byName_.size(); ++i) byName_[i] = i;
  std::stable_sort(byName_.begin(), byName_.end(), [this](std::uint32_t a, std::uint32_t b) {
    return sections_[a].name < sections_[b].name;
  });
}

const ScriptSection* ScriptFile::find(const char* section) const {
  if (section == nullptr || section[0] == '\0') return nullptr;
  const auto first = std::lower_bound(
      byName_.begin(), byName_.end(), section,
      [this](std::uint32_t i, const char* name) { return sections_[i].name.compare(name) < 0; });
  if (first == byName_.end() || !sections_[*first].name.equals(section)) return nullptr;
  return &sections_[*first];
}

int ScriptFile::EntryCount(const char* section) const {
  const ScriptSection* found = find(section);
  return found ? static_cast<int>(found->entries.size()) : 0;
}

template <typename Render>
int ScriptFile::pack(const char* section, char* buffer, std::uint32_t size, Render render) const {
  const ScriptSection* found = find(section);
  if (found == nullptr || found->entries.empty()) return 0;
  // Room for "key=value" of two full PathStrings.
  char text[2 * PathString::kCapacity];
  long long total = 0;
  bool leftOut = false;
  char* out = buffer;
  for (const ScriptEntry& entry : found->entries) {
    const std::size_t length = render(entry, text);
    total += static_cast<long long>(length) + 1;
    // Once one string is left out so is every later one: the total only grows.
    if (!leftOut && buffer != nullptr && total < static_cast<long long>(size)) {
      std::memcpy(out, text, length + 1);
      out += length + 1;
      *out = '\0';
    } else {
      leftOut = true;
    }
  }
  const long long limit = std::numeric_limits<int>::max();
  if (total > limit) total = limit;
  return static_cast<int>(leftOut ? -total : total);
}

int ScriptFile::GetKeys(const char* section, char* buffer, std::uint32_t size) const {
  return pack(section, buffer, size, [](const ScriptEntry& entry, char* text) {
    const std::size_t length = entry.key.length();
    std::memcpy(text, entry.key.c_str(), length + 1);
    return length;
  });
}

int ScriptFile::GetLines(const char* section, char* buffer, std::uint32_t size) const {
  return pack(section, buffer, size, [](const ScriptEntry& entry, char* text) {
    std::size_t length = entry.key.length();
    std::memcpy(text, entry.key.c_str(), length + 1);
    if (!entry.value.isEmpty()) {
      text[length++] = '=';
      const std::size_t valueLength = entry.value.length();
      std::memcpy(text + length, entry.value.c_str(), valueLength + 1);
      length += valueLength;
    }
    return length;
  });
}

int ScriptFile::GetInt(const char* section, const char* key, int defaultValue) const {
  if (key == nullptr || key[0] == '\0') return defaultValue;
  const ScriptSection* found = find(section);
  if (found == nullptr) return defaultValue;
  for (const ScriptEntry& entry : found->entries) {
    if (entry.key.equals(key)) {
      return entry.value.isEmpty() ? defaultValue : AtoI(entry.value.c_str());
    }
  }
  return defaultValue;
}

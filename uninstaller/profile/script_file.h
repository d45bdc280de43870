// The reader of one uninstall script: an INI-style text file loaded whole,
// parsed in place in one pass, then asked about its sections and entries.
// It has its own rules (below) and does not go through the Windows profile
// functions; scripts are only ever read.
//
// The text rules:
//  - the file is read whole; reading stops at the first NUL byte;
//  - lines end at any run of CR and LF; empty lines vanish;
//  - a line that begins with a space or ';' is ignored (a TAB is not);
//  - a line that begins with '[' is a section header named by the text up
//    to the first ']'; without a ']' it declares nothing and what follows
//    still belongs to the section before it;
//  - other lines before the first header are ignored;
//  - any other line is an entry of the latest section: from its first ';'
//    on it is a comment; the rest splits at its first '=' into key and
//    value, both trimmed of spaces (not TABs). Quotes, commas and further
//    '=' characters are plain text.
// Names, keys and values longer than 259 characters are cut.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "profile/path_string.h"

struct ScriptEntry {
  PathString key;    // text before the first '='; the whole line without one
  PathString value;  // text after it; empty without one
};

struct ScriptSection {
  PathString name;  // as written between the brackets, case and spaces kept
  std::vector<ScriptEntry> entries;
};

class ScriptFile {
 public:
  // Opens `path` for reading without sharing, reads it with one read and
  // parses it. Fails, changing nothing but the path, when the file cannot be
  // opened, is empty or cannot be read; fails without any change when this
  // object already holds sections.
  bool Load(platform::FileSystem& files, const char* path);
  // The same over text already in memory, as if read from `path`.
  bool LoadText(const char* path, std::string_view text);

  // Entries of the first section of that name (any case); 0 when there is
  // no such section or the name is empty.
  int EntryCount(const char* section) const;
  // The keys of the first section of that name as a multi-string: each key
  // with its NUL and one more NUL after the last copied. The result is the
  // bytes all keys need, each counted with its NUL, and negative when not
  // all were copied. Keys are copied while the running total stays below
  // `size`; a total equal to `size` does not fit. 0, with the buffer left
  // as it was, for an empty name, a missing section or one without entries.
  int GetKeys(const char* section, char* buffer, std::uint32_t size) const;
  // As GetKeys, each string being "key=value", or the key alone when the
  // value is empty.
  int GetLines(const char* section, char* buffer, std::uint32_t size) const;
  // The value of the first entry with that key in the first section of that
  // name, converted as atoi does; `defaultValue` when the section, the key
  // or the value is missing or empty.
  int GetInt(const char* section, const char* key, int defaultValue) const;

  const PathString& path() const { return path_; }
  const std::vector<ScriptSection>& sections() const { return sections_; }

 private:
  // Parses NUL-terminated text that ends in CR LF, writing into it.
  void parse(char* text);
  void addLine(char* line);
  void addEntry(char* line);
  void buildIndex();
  const ScriptSection* find(const char* section) const;
  template <typename Render>
  int pack(const char* section, char* buffer, std::uint32_t size, Render render) const;

  PathString path_;
  std::vector<ScriptSection> sections_;
  // Section numbers ordered by name (file order among equal names), so that
  // a lookup by name is a binary search that finds the first of them.
  std::vector<std::uint32_t> byName_;
};

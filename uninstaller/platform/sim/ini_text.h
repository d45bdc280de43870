// The text of one INI file as the Windows profile code reads it: sections
// and keys found in the lines, with edits that touch only the lines they
// concern.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

struct IniKey {
  std::string name;  // trimmed; may begin with ';' (a comment)
  std::optional<std::string>
      value;  // after the first '=', leading blanks dropped; none without '='
  std::size_t line = 0;
};

struct IniSection {
  std::string name;  // trimmed; the lines before the first header form a nameless section
  std::size_t header = 0;
  bool hasHeader = false;
  std::vector<IniKey> keys;
};

class IniDocument {
 public:
  explicit IniDocument(std::string_view text);

  // The first section of that name (the name trimmed, any case).
  const IniSection* findSection(std::string_view name) const;
  // The first key of that name in the section (trimmed, any case).
  static const IniKey* findKey(const IniSection& section, std::string_view name);
  // The names of the sections with a header, in file order.
  std::vector<std::string> sectionNames() const;
  // The section's keys that have a '=' and are no comments, in order.
  static std::vector<std::string> keyNames(const IniSection& section);

  // Sets the first such key of the first such section, adding the key at
  // the end of the section, or the section at the end of the file.
  void setValue(std::string_view section, std::string_view key, std::string_view value);
  // Removes the first key of that name from the first section of that name
  // holding one; false when there is none.
  bool deleteKey(std::string_view section, std::string_view key);
  // Removes the first section of that name with all its lines.
  bool deleteSection(std::string_view section);

  // The lines joined with CR LF, the last one terminated too.
  std::string text() const;

 private:
  void parse();

  std::vector<std::string> lines_;
  std::vector<IniSection> sections_;
};

// Blanks as the profile code trims them (Ctrl-Z, an old end-of-file mark,
// counts as one).
std::string_view TrimProfileBlanks(std::string_view text);

}  // namespace sim

// Keys of INI files in the Windows directory. A key's line is found as the
// profile functions find it: in the first section of that name, a line
// whose name before the "=" is the key, comments skipped; so a key that
// merely begins or ends another key's name, or stands in a value, is not
// touched.
#include "removal/ini_removal.h"

#include <optional>
#include <string>
#include <string_view>

#include "platform/crt.h"
#include "profile/text_utils.h"
#include "removal/removal_paths.h"
#include "shell/locations.h"

namespace {

namespace error = platform::error;

struct LineSpan {
  std::size_t begin = 0;
  std::size_t end = 0;  // past the line break, or the end of the text
};

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
    text.remove_suffix(1);
  return text;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && crt::StrNCmpI(a.data(), b.data(), a.size()) == 0;
}

// The section name of a "[name]" line, or nothing for any other line.
std::optional<std::string_view> HeaderName(std::string_view line) {
  if (line.empty() || line.front() != '[') return std::nullopt;
  const std::size_t close = line.rfind(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

std::optional<LineSpan> FindKeyLine(const std::string& text, std::string_view section,
                                    std::string_view key) {
  bool inSection = false;
  for (std::size_t begin = 0; begin < text.size();) {
    std::size_t end = text.find('\n', begin);
    end = end == std::string::npos ? text.size() : end + 1;
    const std::string_view line = Trim(std::string_view(text).substr(begin, end - begin));
    if (const std::optional<std::string_view> name = HeaderName(line)) {
      if (inSection) return std::nullopt;  // only the first section of the name counts
      inSection = EqualNoCase(*name, section);
    } else if (inSection && !line.empty() && line.front() != ';') {
      if (EqualNoCase(Trim(line.substr(0, line.find('='))), key)) return LineSpan{begin, end};
    }
    begin = end;
  }
  return std::nullopt;
}

// The file opened for reading and writing, and its whole text.
bool OpenIni(platform::FileSystem& files, const char* path, platform::File& file,
             std::string& text) {
  if (files.createFile(path,
                       platform::file_access::kGenericRead | platform::file_access::kGenericWrite,
                       platform::file_share::kRead, platform::file_disposition::kOpenExisting,
                       platform::file_attr::kNormal, file.out()) != error::kSuccess) {
    return false;
  }
  std::uint64_t size = 0;
  if (files.fileSize(file.get(), size) != error::kSuccess || size > 0x7FFFFFFF) return false;
  text.assign(static_cast<std::size_t>(size), '\0');
  std::uint32_t read = 0;
  if (size > 0 && files.readFile(file.get(), text.data(), static_cast<std::uint32_t>(size), read) !=
                      error::kSuccess) {
    return false;
  }
  // A short read would make the rewrite cut the rest of the file.
  return read == size;
}

}  // namespace

int FindIniKey(RemovalContext& context, const char* path, const char* section, const char* key) {
  platform::File file(context.system.files);
  std::string text;
  if (!OpenIni(context.system.files, path, file, text)) return 0;
  const std::optional<LineSpan> line = FindKeyLine(text, section, key);
  // A key line always follows its section's header, so it never starts at 0.
  return line ? static_cast<int>(line->begin) : 0;
}

int DeleteIniKeyLine(RemovalContext& context, const char* path, const char* section,
                     const char* key) {
  platform::FileSystem& files = context.system.files;
  platform::File file(files);
  std::string text;
  if (!OpenIni(files, path, file, text)) return 0;
  const std::optional<LineSpan> line = FindKeyLine(text, section, key);
  if (!line) return 0;
  const std::string rest = text.substr(line->end);
  std::uint32_t written = 0;
  if (files.setFilePointer(file.get(), static_cast<std::int64_t>(line->begin),
                           platform::file_move::kBegin, nullptr) != error::kSuccess ||
      files.writeFile(file.get(), rest.data(), static_cast<std::uint32_t>(rest.size()), written) !=
          error::kSuccess ||
      written != rest.size() || files.setEndOfFile(file.get()) != error::kSuccess) {
    return 0;
  }
  return 1;
}

void RemoveIniEntries(RemovalContext& context) {
  const PathString windows = LocationDirectory(context.system, kLocWindowsDir);
  for (const PathString& entry : context.profile.removeSet.slot(ItemCategory::DeleteIni)) {
    PathString item(entry);
    char* section = SplitAt(item.data(), ',');
    char* key = SplitAt(section, ',');
    SplitAt(key, ',');
    if (item.isEmpty() || section == nullptr || section[0] == '\0' || key == nullptr ||
        key[0] == '\0') {
      continue;
    }
    char name[platform::kMaxPath] = {};
    char extension[platform::kMaxPath] = {};
    crt::SplitPath(item.c_str(), nullptr, nullptr, name, extension, platform::kMaxPath);
    PathString file(name);
    PathString path;
    if (!file.append(extension) || !JoinPath(path, windows.c_str(), file.c_str())) {
      context.journal.kept(ActionKind::kIniEntry, entry.c_str(), KeptReason::kTooLong);
      continue;
    }
    const std::string what = std::string(path.c_str()) + " [" + section + "] " + key;
    if (FindIniKey(context, path.c_str(), section, key) == 0) {
      context.journal.notPresent(ActionKind::kIniEntry, what);
    } else if (DeleteIniKeyLine(context, path.c_str(), section, key) != 0) {
      context.journal.removed(ActionKind::kIniEntry, what);
    } else {
      context.journal.failed(ActionKind::kIniEntry, what, error::kWriteFault);
    }
  }
}

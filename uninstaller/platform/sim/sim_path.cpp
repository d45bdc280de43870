#include "sim_path.h"

#include "sim_errors.h"
#include "sim_text.h"

namespace sim {
namespace {

// The pattern language after FindFirstFileA rewrites the DOS wildcards.
constexpr char kDosStar = '<';  // '*' before a '.': up to the last dot
constexpr char kDosQm = '>';    // '?' that may also match nothing at a dot or the end
constexpr char kDosDot = '"';   // '.' that may also match the end of the name

std::string TranslatePattern(std::string_view pattern) {
  if (pattern == "*.*") return "*";
  std::string out(pattern);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const char next = i + 1 < out.size() ? out[i + 1] : '\0';
    if (out[i] == '?') {
      out[i] = kDosQm;
    } else if (out[i] == '.' && (next == '?' || next == '*' || next == '\0')) {
      out[i] = kDosDot;
    } else if (out[i] == '*' && next == '.') {
      out[i] = kDosStar;
    }
  }
  return out;
}

bool Match(std::string_view p, std::string_view n) {
  if (p.empty()) return n.empty();
  const char c = p.front();
  const std::string_view rest = p.substr(1);
  switch (c) {
    case '*':
      for (std::size_t i = 0; i <= n.size(); ++i) {
        if (Match(rest, n.substr(i))) return true;
      }
      return false;
    case kDosStar: {
      // Any run that does not pass the name's last dot.
      const std::size_t lastDot = n.rfind('.');
      const std::size_t limit = lastDot == std::string_view::npos ? n.size() : lastDot;
      for (std::size_t i = 0; i <= limit; ++i) {
        if (Match(rest, n.substr(i))) return true;
      }
      return false;
    }
    case '?':
      return !n.empty() && Match(rest, n.substr(1));
    case kDosQm:
      if (n.empty() || n.front() == '.') return Match(rest, n);
      return Match(rest, n.substr(1));
    case kDosDot:
      if (n.empty()) return Match(rest, n);
      return n.front() == '.' && Match(rest, n.substr(1));
    default:
      return !n.empty() && UpperAscii(n.front()) == UpperAscii(c) && Match(rest, n.substr(1));
  }
}

std::string TrimTrailingDotsAndSpaces(std::string name) {
  while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
  return name;
}

}  // namespace

std::string DosPath::text() const {
  std::string out{drive, ':', '\\'};
  out += Join(names, "\\");
  return out;
}

DosPath DosPath::parent() const {
  DosPath p = *this;
  if (!p.names.empty()) p.names.pop_back();
  return p;
}

platform::Win32Error MakeFullPath(std::string_view path, const DosPath& currentDirectory,
                                  DosPath& full) {
  if (path.empty()) return platform::error::kPathNotFound;
  if (path.size() >= platform::kMaxPath) return error::kFilenameTooLong;
  std::string text(path);
  for (char& c : text) {
    if (c == '/') c = '\\';
  }
  if (text.size() >= 2 && text[0] == '\\' && text[1] == '\\') return platform::error::kPathNotFound;

  std::string_view rest = text;
  full = currentDirectory;
  if (rest.size() >= 2 && rest[1] == ':') {
    const char drive = UpperAscii(rest[0]);
    if (drive < 'A' || drive > 'Z') return platform::error::kInvalidName;
    rest.remove_prefix(2);
    if (drive != currentDirectory.drive) full = DosPath{drive, {}};
  }
  if (!rest.empty() && rest.front() == '\\') full.names.clear();

  for (const std::string& name : SplitNonEmpty(rest, '\\')) {
    if (name == ".") continue;
    if (name == "..") {
      if (!full.names.empty()) full.names.pop_back();
      continue;
    }
    std::string trimmed = TrimTrailingDotsAndSpaces(name);
    if (!trimmed.empty()) full.names.push_back(std::move(trimmed));
  }
  return platform::error::kSuccess;
}

bool IsValidName(std::string_view name, bool allowWildcards) {
  if (name.empty()) return false;
  for (char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 32) return false;
    switch (c) {
      case '<':
      case '>':
      case ':':
      case '"':
      case '|':
        return false;
      case '*':
      case '?':
        if (!allowWildcards) return false;
        break;
      default:
        break;
    }
  }
  return true;
}

bool MatchesWildcard(std::string_view pattern, std::string_view name) {
  return Match(TranslatePattern(pattern), name);
}

}  // namespace sim

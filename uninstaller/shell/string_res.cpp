#include "shell/string_res.h"

#include <cstring>

#include "platform/crt.h"
#include "shell/locations.h"

namespace {

// Replaces every two-character sequence "\n" by a real line break.
void ExpandLineBreaks(char* text) {
  char* out = text;
  for (const char* in = text; *in != '\0'; ++in) {
    if (in[0] == '\\' && in[1] == 'n') {
      *out++ = '\n';
      ++in;
    } else {
      *out++ = *in;
    }
  }
  *out = '\0';
}

}  // namespace

CStringRes::CStringRes(platform::System& system) : system_(&system) {}

void CStringRes::init(platform::ModuleHandle module) {
  slot_ = 0;
  std::memset(buffers_, 0, sizeof buffers_);
  module_ = module;
}

char* CStringRes::nextSlot() {
  slot_ = (slot_ + 1) % kSlots;
  return buffers_[slot_];
}

char* CStringRes::load(std::uint32_t id) {
  char* buffer = nextSlot();
  if (system_->desktop.loadString(module_, id, buffer, kBufferSize) <= 0) buffer[0] = '\0';
  return buffer;
}

const char* CStringRes::plainText(std::uint32_t id) { return load(id); }

const char* CStringRes::text(std::uint32_t id) {
  char* buffer = load(id);
  return buffer[0] == '@' ? redirect(buffer) : buffer;
}

// "@file@section@key": each '@' becomes a terminator as the text is
// scanned; a fourth '@' ends the scan and stays part of the key. The text
// is single-byte here; a double-byte trail byte equal to '@' would need
// IsDBCSLeadByte stepping, which the package's texts never need.
const char* CStringRes::redirect(char* text) {
  char* parts[3] = {};
  int found = 0;
  for (char* p = text; *p != '\0' && found < 3; ++p) {
    if (*p == '@') {
      *p = '\0';
      parts[found++] = p + 1;
    }
  }
  if (found < 3) {
    text[0] = '\0';
    return text;
  }
  const char* file = parts[0];
  const char* section = parts[1];
  const char* key = parts[2];

  // The file's own parts replace those of the program's path; the parts the
  // file lacks become empty, so a bare name is relative.
  CPathParts path;
  path.init(*system_, kLocProgramFile);
  crt::SplitPath(file, path.drive, path.dir, path.fname, path.ext, CPathParts::kSize);
  crt::MakePath(path.full, CPathParts::kSize, path.drive, path.dir, path.fname, path.ext);

  char* result = nextSlot();
  result[0] = '\0';
  auto read = [&](const char* from) {
    return system_->ini.getPrivateString(section, key, "", result, kBufferSize, from);
  };
  if (read(path.full) == 0) {
    if (!path.search(*system_) || read(path.full) == 0) result[0] = '\0';
  }
  ExpandLineBreaks(result);
  return result;
}

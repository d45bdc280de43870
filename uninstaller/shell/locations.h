// Well-known locations: the directories (and a few files) that scripts and
// removal steps name by a code, resolved into a five-part path record.
#pragma once

#include <cstdint>

#include "platform/system.h"

// The codes of the well-known locations; any other value resolves to nothing.
enum LocationId : std::int32_t {
  kLocProgramFile = 1,  // the program's own file
  kLocProgramDir = 2,
  kLocWindowsDir = 3,
  kLocSystemDir = 4,
  kLocTempDir = 5,
  kLocDesktop = 6,
  kLocFavourites = 7,
  kLocNewTempFile = 8,  // a new, empty "~~" file in the temporary directory
  kLocAppData = 9,
  kLocInternetCache = 10,
  kLocCookies = 11,
  kLocFonts = 12,
  kLocHistory = 13,
  kLocNetHood = 14,
  kLocPersonal = 15,
  kLocPrintHood = 16,
  kLocPrograms = 17,
  kLocRecent = 18,
  kLocSendTo = 19,
  kLocStartMenu = 20,
  kLocStartup = 21,
  kLocAltStartup = 22,
  kLocCommonStartup = 23,
  kLocCommonAltStartup = 24,
  kLocTemplates = 25,
  kLocPrinterDriverDir = 26,
  kLocPrinterDriverDirW40 = 27,  // environment "Windows 4.0"
  kLocPrintProcessorDir = 28,
  kLocPrintProcessorDirW40 = 29,  // the same directory as 28
  kLocProgramFiles = 30,
  kLocPrintersFolder = 31,
  kLocCommonPrograms = 32,
  kLocColorDir = 33,
  kLocCurrentDir = 34,
  kLocInfDir = 35,
};

// A path in five fixed 260-byte parts, as _splitpath cuts it; `full` is
// composed by the operations that need it.
class CPathParts {
 public:
  static constexpr std::uint32_t kSize = platform::kMaxPath;

  char drive[kSize] = {};
  char dir[kSize] = {};
  char fname[kSize] = {};
  char ext[kSize] = {};
  char full[kSize] = {};

  // Clears all five parts and resolves `code`. Never fails: a location that
  // cannot be resolved leaves the parts empty, and callers test the parts.
  bool init(platform::System& system, std::int32_t code);

  // Drive and directory composed into `full`.
  const char* directory();
  // Adds the subdirectory `name` (when not empty) to the directory part,
  // then composes all four parts into `full`.
  const char* appendSubdirectory(const char* name);
  // Looks for fname+ext in the standard search order; when found the path
  // replaces all parts. False, with only `full` possibly changed, otherwise.
  bool search(platform::System& system);
  // Whether the composed file can be opened (no access, no sharing).
  bool exists(platform::System& system);

 private:
  void clear();
  void split(const char* path);
  void compose();
};

// The process-wide path of the main uninstall script: the program's
// directory followed by "Mainscr0.unm". Set once before the main dialog
// handles its first message.
const char* MainScriptPath();
void SetMainScriptPath(platform::System& system);

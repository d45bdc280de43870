// Locating a profile and reading it whole into memory.
//
// Windows: a name holding a backslash is a path; a bare name is looked up in
// the directory mscms.dll's GetColorDirectoryA reports (Wine answers with
// C:\windows\system32\spool\drivers\color as Windows does), or in
// <system directory>\color\ when mscms.dll cannot be loaded.
// Linux: a name holding '/' or '\' is a path; a bare name is looked up in
// $HUEBRIDGE_COLOR_DIR, else in /usr/share/color/icc.
#include <cstdlib>
#include <cstring>

#include "profile_reader.h"

#ifdef _WIN32
#include <mbstring.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace huebridge {
namespace {

// Appends `tail` to the NUL-terminated `path` of MAX_PATH bytes.
bool Append(char* path, const char* tail) {
  const std::size_t used = std::strlen(path), more = std::strlen(tail);
  if (used + more >= MAX_PATH) return false;
  std::memcpy(path + used, tail, more + 1);
  return true;
}

#ifdef _WIN32

using GetColorDirectoryAFn = BOOL(WINAPI*)(const char*, char*, DWORD*);

// The colour directory with a trailing backslash, or "" when mscms.dll has
// none to give (the bare name is then resolved against the current
// directory, as CreateFileA does).
DWORD ColorDirectory(char* path) {
  path[0] = '\0';
  if (HMODULE mscms = LoadLibraryA("mscms.dll")) {
    const auto proc = GetProcAddress(mscms, "GetColorDirectoryA");
    if (proc != nullptr) {
      const auto getColorDirectory =
          reinterpret_cast<GetColorDirectoryAFn>(reinterpret_cast<void (*)()>(proc));
      DWORD size = MAX_PATH;
      if (getColorDirectory(nullptr, path, &size)) {
        if (!Append(path, "\\")) {
          FreeLibrary(mscms);
          return ERROR_FILENAME_EXCED_RANGE;
        }
      } else {
        path[0] = '\0';
      }
    }
    FreeLibrary(mscms);
    return 0;
  }
  const UINT length = GetSystemDirectoryA(path, MAX_PATH);
  if (length == 0) return ERROR_PATH_NOT_FOUND;
  if (length >= MAX_PATH || !Append(path, "\\color\\")) return ERROR_FILENAME_EXCED_RANGE;
  return 0;
}

bool IsPath(const char* name) {
  // Multibyte-aware, so that the trail byte of a double-byte character is
  // not taken for a backslash.
  return _mbsstr(reinterpret_cast<const unsigned char*>(name),
                 reinterpret_cast<const unsigned char*>("\\")) != nullptr;
}

DWORD ReadWholeFile(const char* path, std::uint8_t** image, std::uint32_t* size) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return ERROR_OPEN_FAILED;
  DWORD high = 0;
  SetLastError(NO_ERROR);  // INVALID_FILE_SIZE is also a valid low part
  const DWORD low = GetFileSize(file, &high);
  DWORD code = 0;
  std::uint8_t* buffer = nullptr;
  if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
    code = ERROR_READ_FAULT;
  } else if (high != 0) {
    code = ERROR_INVALID_DATA;  // 4 GiB or more cannot be a profile we read
  } else if ((buffer = static_cast<std::uint8_t*>(std::malloc(low == 0 ? 1 : low))) == nullptr) {
    code = ERROR_OUTOFMEMORY;
  } else {
    DWORD read = 0;
    // A short read would leave bytes of the image unset: a read fault too.
    if (!ReadFile(file, buffer, low, &read, nullptr) || read != low) code = ERROR_READ_FAULT;
  }
  CloseHandle(file);
  if (code != 0) {
    std::free(buffer);
    return code;
  }
  *image = buffer;
  *size = low;
  return 0;
}

#else  // Linux

DWORD ColorDirectory(char* path) {
  const char* dir = std::getenv("HUEBRIDGE_COLOR_DIR");
  if (dir == nullptr || *dir == '\0') dir = "/usr/share/color/icc";
  path[0] = '\0';
  if (!Append(path, dir)) return ERROR_FILENAME_EXCED_RANGE;
  if (path[std::strlen(path) - 1] != '/' && !Append(path, "/")) return ERROR_FILENAME_EXCED_RANGE;
  return 0;
}

bool IsPath(const char* name) {
  return std::strchr(name, '/') != nullptr || std::strchr(name, '\\') != nullptr;
}

DWORD ReadWholeFile(const char* path, std::uint8_t** image, std::uint32_t* size) {
  const int fd = open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return ERROR_OPEN_FAILED;
  struct stat info {};
  DWORD code = 0;
  std::uint8_t* buffer = nullptr;
  std::uint64_t length = 0;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    code = ERROR_OPEN_FAILED;
  } else if ((length = static_cast<std::uint64_t>(info.st_size)) > 0xFFFFFFFFu) {
    code = ERROR_INVALID_DATA;  // 4 GiB or more cannot be a profile we read
  } else if ((buffer = static_cast<std::uint8_t*>(std::malloc(length == 0 ? 1 : length))) ==
             nullptr) {
    code = ERROR_OUTOFMEMORY;
  } else {
    std::uint64_t done = 0;
    while (done < length) {
      const ssize_t n = read(fd, buffer + done, length - done);
      if (n <= 0) {  // error, or the file shrank under us
        code = ERROR_READ_FAULT;
        break;
      }
      done += static_cast<std::uint64_t>(n);
    }
  }
  close(fd);
  if (code != 0) {
    std::free(buffer);
    return code;
  }
  *image = buffer;
  *size = static_cast<std::uint32_t>(length);
  return 0;
}

#endif

}  // namespace

DWORD ComposeProfilePath(const char* name, char* path) {
  path[0] = '\0';
  if (!IsPath(name)) {
    if (const DWORD code = ColorDirectory(path)) return code;
  }
  return Append(path, name) ? 0 : ERROR_FILENAME_EXCED_RANGE;
}

DWORD LoadProfileImage(const char* name, std::uint8_t** image, std::uint32_t* size) {
  char path[MAX_PATH];
  if (const DWORD code = ComposeProfilePath(name, path)) return code;
  return ReadWholeFile(path, image, size);
}

}  // namespace huebridge

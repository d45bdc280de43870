// Quayline on Linux: an in-memory registry. Key paths are compared without
// regard to letter case, as Windows does; keys are created with their
// parents. A handle is a heap record naming its key's path, so it survives
// any change to the registry; a handle whose key has been deleted reports
// ERROR_KEY_DELETED.
#include <strings.h>

#include <cstring>
#include <map>
#include <mutex>
#include <new>
#include <string>
#include <vector>

#include "quayline.h"

struct QuaylineKey {
  std::string path;  // below HKEY_LOCAL_MACHINE, "" for the root
};

namespace quayline {
namespace {

struct NoCase {
  bool operator()(const std::string& a, const std::string& b) const {
    return strcasecmp(a.c_str(), b.c_str()) < 0;
  }
};

struct Value {
  DWORD type;
  std::vector<BYTE> data;
};

using Values = std::map<std::string, Value, NoCase>;

std::mutex& Lock() {
  static std::mutex lock;
  return lock;
}

std::map<std::string, Values, NoCase>& Keys() {
  static std::map<std::string, Values, NoCase> keys{{"", {}}};
  return keys;
}

QuaylineKey rootKey{""};

std::string Join(const std::string& parent, const char* subKey) {
  std::string sub = subKey != nullptr ? subKey : "";
  while (!sub.empty() && sub.front() == '\\') sub.erase(0, 1);
  if (sub.empty()) return parent;
  return parent.empty() ? sub : parent + "\\" + sub;
}

Values* Find(HKEY key) {
  if (key == nullptr) return nullptr;
  auto it = Keys().find(key->path);
  return it == Keys().end() ? nullptr : &it->second;
}

LONG OpenHandle(const std::string& path, HKEY* result) {
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  *result = new (std::nothrow) QuaylineKey{path};
  return *result != nullptr ? 0 : ERROR_OUTOFMEMORY;
}

}  // namespace

HKEY const kLocalMachine = &rootKey;

LONG RegCreateKeyExA(HKEY key, const char* subKey, DWORD, char*, DWORD, REGSAM, void*, HKEY* result,
                     DWORD* disposition) {
  std::lock_guard<std::mutex> guard(Lock());
  if (Find(key) == nullptr) return key == nullptr ? ERROR_INVALID_HANDLE : ERROR_KEY_DELETED;
  try {
    const std::string path = Join(key->path, subKey);
    const bool existed = Keys().count(path) != 0;
    // Every missing parent is created along with the key.
    for (std::size_t cut = path.find('\\'); cut != std::string::npos;
         cut = path.find('\\', cut + 1)) {
      Keys().try_emplace(path.substr(0, cut));
    }
    Keys().try_emplace(path);
    if (disposition != nullptr) *disposition = existed ? 2 : 1;  // opened / created
    return OpenHandle(path, result);
  } catch (const std::bad_alloc&) {
    return ERROR_OUTOFMEMORY;
  }
}

LONG RegSetValueExA(HKEY key, const char* name, DWORD, DWORD type, const BYTE* data, DWORD size) {
  std::lock_guard<std::mutex> guard(Lock());
  Values* values = Find(key);
  if (values == nullptr) return key == nullptr ? ERROR_INVALID_HANDLE : ERROR_KEY_DELETED;
  if (data == nullptr && size != 0) return ERROR_INVALID_PARAMETER;
  try {
    (*values)[name != nullptr ? name : ""] = Value{type, std::vector<BYTE>(data, data + size)};
    return 0;
  } catch (const std::bad_alloc&) {
    return ERROR_OUTOFMEMORY;
  }
}

LONG RegOpenKeyExA(HKEY key, const char* subKey, DWORD, REGSAM, HKEY* result) {
  std::lock_guard<std::mutex> guard(Lock());
  if (Find(key) == nullptr) return key == nullptr ? ERROR_INVALID_HANDLE : ERROR_KEY_DELETED;
  const std::string path = Join(key->path, subKey);
  if (Keys().count(path) == 0) return ERROR_FILE_NOT_FOUND;
  return OpenHandle(path, result);
}

LONG RegDeleteValueA(HKEY key, const char* name) {
  std::lock_guard<std::mutex> guard(Lock());
  Values* values = Find(key);
  if (values == nullptr) return key == nullptr ? ERROR_INVALID_HANDLE : ERROR_KEY_DELETED;
  return values->erase(name != nullptr ? name : "") != 0 ? 0 : ERROR_FILE_NOT_FOUND;
}

LONG RegCloseKey(HKEY key) {
  if (key == nullptr) return ERROR_INVALID_HANDLE;
  if (key != kLocalMachine) delete key;  // the predefined root is never closed
  return 0;
}

LONG RegQueryValueExA(HKEY key, const char* name, DWORD*, DWORD* type, BYTE* data, DWORD* size) {
  std::lock_guard<std::mutex> guard(Lock());
  Values* values = Find(key);
  if (values == nullptr) return key == nullptr ? ERROR_INVALID_HANDLE : ERROR_KEY_DELETED;
  auto it = values->find(name != nullptr ? name : "");
  if (it == values->end()) return ERROR_FILE_NOT_FOUND;
  if (type != nullptr) *type = it->second.type;
  const auto needed = static_cast<DWORD>(it->second.data.size());
  LONG status = 0;
  if (data != nullptr) {
    if (size == nullptr || *size < needed) {
      status = ERROR_MORE_DATA;
    } else if (needed != 0) {
      std::memcpy(data, it->second.data.data(), needed);
    }
  }
  if (size != nullptr) *size = needed;
  return status;
}

LONG RegDeleteKeyA(HKEY key, const char* subKey) {
  std::lock_guard<std::mutex> guard(Lock());
  if (Find(key) == nullptr) return key == nullptr ? ERROR_INVALID_HANDLE : ERROR_KEY_DELETED;
  const std::string path = Join(key->path, subKey);
  if (path.empty()) return ERROR_INVALID_PARAMETER;
  return Keys().erase(path) != 0 ? 0 : ERROR_FILE_NOT_FOUND;
}

void ResetRegistry() {
  std::lock_guard<std::mutex> guard(Lock());
  Keys().clear();
  Keys().try_emplace("");
}

}  // namespace quayline

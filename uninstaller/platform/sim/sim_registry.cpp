#include "sim_registry.h"

#include <cstring>

#include "sim_errors.h"

namespace sim {
namespace {

namespace err = platform::error;
using platform::RegKeyHandle;
using platform::Win32Error;

constexpr std::uint32_t kWriteRights = platform::regsam::kSetValue |
                                       platform::regsam::kCreateSubKey | platform::regsam::kDelete |
                                       0x40000u /* WRITE_DAC */ | 0x80000u /* WRITE_OWNER */;
constexpr std::size_t kMaxKeyNameLength = 255;

// Keys below HKLM\SOFTWARE that WOW64 shares between the 64-bit and the
// 32-bit view (Windows 7 and later), and the subkeys of shared keys that are
// redirected again. The longest matching entry decides; anything else below
// SOFTWARE is redirected.
struct ViewRule {
  const char* path;  // below HKLM, backslash-separated
  bool redirected;
};
constexpr ViewRule kSharedKeys[] = {
    {"SOFTWARE\\Classes", false},
    {"SOFTWARE\\Classes\\CLSID", true},
    {"SOFTWARE\\Classes\\DirectShow", true},
    {"SOFTWARE\\Classes\\Interface", true},
    {"SOFTWARE\\Classes\\Media Type", true},
    {"SOFTWARE\\Classes\\MediaFoundation", true},
    {"SOFTWARE\\Clients", false},
    {"SOFTWARE\\Policies", false},
    {"SOFTWARE\\RegisteredApplications", false},
    {"SOFTWARE\\Microsoft\\Cryptography\\Services", false},
    {"SOFTWARE\\Microsoft\\SystemCertificates", false},
    {"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts", false},
    {"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes", false},
    {"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Perflib", false},
    {"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports", false},
    {"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Print", false},
    {"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList", false},
    {"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones", false},
};

bool MatchesPrefix(const std::vector<std::string>& names, const std::vector<std::string>& prefix) {
  if (prefix.size() > names.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (!EqualNoCase(names[i], prefix[i])) return false;
  }
  return true;
}

bool IsRedirected(const std::vector<std::string>& names) {
  if (names.empty() || !EqualNoCase(names[0], "SOFTWARE")) return false;
  if (names.size() > 1 && EqualNoCase(names[1], "Wow6432Node")) return false;
  bool redirected = true;
  std::size_t longest = 0;
  for (const ViewRule& rule : kSharedKeys) {
    const std::vector<std::string> prefix = SplitNonEmpty(rule.path, '\\');
    if (prefix.size() > longest && MatchesPrefix(names, prefix)) {
      longest = prefix.size();
      redirected = rule.redirected;
    }
  }
  return redirected;
}

bool IsStringType(std::uint32_t type) {
  return type == platform::regtype::kSz || type == platform::regtype::kExpandSz ||
         type == platform::regtype::kMultiSz;
}

// Copies a value into a caller's buffer with the RegQueryValueExA rules: a
// null buffer asks for the size, a short one gives ERROR_MORE_DATA and the
// size needed. A string stored without its NUL gets one when there is room.
Win32Error CopyValueData(const RegValue& value, void* data, std::uint32_t* size) {
  const auto needed = Count32(value.data.size());
  if (data == nullptr) {
    if (size != nullptr) *size = needed;
    return err::kSuccess;
  }
  if (size == nullptr) return err::kInvalidParameter;
  if (*size < needed) {
    *size = needed;
    return err::kMoreData;
  }
  if (!value.data.empty()) std::memcpy(data, value.data.data(), value.data.size());
  const bool terminated = !value.data.empty() && value.data.back() == 0;
  if (IsStringType(value.type) && !terminated && *size > needed) {
    static_cast<std::uint8_t*>(data)[needed] = 0;
  }
  *size = needed;
  return err::kSuccess;
}

// Copies a key or value name with the RegEnum*A rules: `nameSize` in
// characters; too small gives ERROR_MORE_DATA and leaves it unchanged.
Win32Error CopyName(const std::string& source, char* name, std::uint32_t* nameSize) {
  if (name == nullptr || nameSize == nullptr) return err::kInvalidParameter;
  if (source.size() >= *nameSize) return err::kMoreData;
  std::memcpy(name, source.c_str(), source.size() + 1);
  *nameSize = Count32(source.size());
  return err::kSuccess;
}

}  // namespace

RegValue* RegNode::findValue(std::string_view valueName) {
  for (RegValue& v : values) {
    if (EqualNoCase(v.name, valueName)) return &v;
  }
  return nullptr;
}

SimRegistry::SimRegistry()
    : machine_(std::make_shared<RegNode>()), users_(std::make_shared<RegNode>()) {
  machine_->name = "HKEY_LOCAL_MACHINE";
  users_->name = "HKEY_USERS";
  make({machine_.get(), {"SOFTWARE", "Classes"}}, nullptr);
  make({machine_.get(), {"SYSTEM", "CurrentControlSet", "Control"}}, nullptr);
  make({users_.get(), {".DEFAULT"}}, nullptr);
  make({users_.get(), {kUserSid, "Software"}}, nullptr);
}

std::optional<SimRegistry::Location> SimRegistry::predefined(RegKeyHandle key) const {
  if (key == platform::hkey::kLocalMachine) return Location{machine_.get(), {}};
  if (key == platform::hkey::kUsers) return Location{users_.get(), {}};
  if (key == platform::hkey::kCurrentUser) return Location{users_.get(), {kUserSid}};
  if (key == platform::hkey::kClassesRoot) return Location{machine_.get(), {"SOFTWARE", "Classes"}};
  return std::nullopt;
}

std::optional<SimRegistry::Location> SimRegistry::parsePath(std::string_view path) const {
  std::vector<std::string> names = SplitNonEmpty(path, '\\');
  if (names.empty()) return std::nullopt;
  const std::string root = ToUpper(names.front());
  names.erase(names.begin());
  std::optional<Location> where;
  if (root == "HKLM" || root == "HKEY_LOCAL_MACHINE")
    where = predefined(platform::hkey::kLocalMachine);
  if (root == "HKCU" || root == "HKEY_CURRENT_USER")
    where = predefined(platform::hkey::kCurrentUser);
  if (root == "HKCR" || root == "HKEY_CLASSES_ROOT")
    where = predefined(platform::hkey::kClassesRoot);
  if (root == "HKU" || root == "HKEY_USERS") where = predefined(platform::hkey::kUsers);
  if (!where) return std::nullopt;
  where->names.insert(where->names.end(), names.begin(), names.end());
  return where;
}

void SimRegistry::applyWow64View(Location& where) const {
  if (!wow64_ || where.root != machine_.get() || !IsRedirected(where.names)) return;
  where.names.insert(where.names.begin() + 1, "Wow6432Node");
}

Win32Error SimRegistry::locate(RegKeyHandle parent, const char* subKey, bool view32,
                               Location& where) const {
  const std::string_view sub = View(subKey);
  if (!sub.empty() && sub.front() == '\\') return error::kBadPathname;
  if (std::optional<Location> root = predefined(parent)) {
    where = *root;
  } else {
    auto it = handles_.find(parent);
    if (it == handles_.end()) return err::kInvalidHandle;
    if (it->second.node->deleted) return error::kKeyDeleted;
    // Rebuild the parent's names from its node up to its hive root.
    std::vector<std::string> names;
    RegNode* node = it->second.node.get();
    for (; node->parent != nullptr; node = node->parent) names.insert(names.begin(), node->name);
    where.root = node;
    where.names = std::move(names);
  }
  for (std::string& name : SplitNonEmpty(sub, '\\')) {
    if (name.size() > kMaxKeyNameLength) return err::kInvalidParameter;
    where.names.push_back(std::move(name));
  }
  if (view32) applyWow64View(where);
  return err::kSuccess;
}

std::shared_ptr<RegNode> SimRegistry::find(const Location& where) const {
  std::shared_ptr<RegNode> node = where.root == machine_.get() ? machine_ : users_;
  for (const std::string& name : where.names) {
    auto it = node->subkeys.find(name);
    if (it == node->subkeys.end()) return nullptr;
    node = it->second;
  }
  return node;
}

std::shared_ptr<RegNode> SimRegistry::make(const Location& where, bool* created) {
  std::shared_ptr<RegNode> node = where.root == machine_.get() ? machine_ : users_;
  if (created != nullptr) *created = false;
  for (const std::string& name : where.names) {
    auto it = node->subkeys.find(name);
    if (it == node->subkeys.end()) {
      auto child = std::make_shared<RegNode>();
      child->name = name;
      child->parent = node.get();
      it = node->subkeys.emplace(name, std::move(child)).first;
      if (created != nullptr) *created = true;
    }
    node = it->second;
  }
  return node;
}

Win32Error SimRegistry::resolve(RegKeyHandle key, std::shared_ptr<RegNode>& node,
                                std::uint32_t& access) const {
  if (std::optional<Location> root = predefined(key)) {
    node = find(*root);
    if (!node) return err::kFileNotFound;
    access = platform::regsam::kAllAccess;
    if (checkMachineWrite(*root, kWriteRights) != err::kSuccess) access = platform::regsam::kRead;
    return err::kSuccess;
  }
  auto it = handles_.find(key);
  if (it == handles_.end()) return err::kInvalidHandle;
  if (it->second.node->deleted) return error::kKeyDeleted;
  node = it->second.node;
  access = it->second.access;
  return err::kSuccess;
}

Win32Error SimRegistry::checkMachineWrite(const Location& where, std::uint32_t access) const {
  if (where.root != machine_.get() || (access & kWriteRights) == 0) return err::kSuccess;
  if (mayWriteMachine_ && !mayWriteMachine_()) return err::kAccessDenied;
  return err::kSuccess;
}

RegKeyHandle SimRegistry::addHandle(std::shared_ptr<RegNode> node, std::uint32_t access) {
  const RegKeyHandle handle{nextHandle_};
  nextHandle_ += 4;
  handles_[handle] = OpenKey{std::move(node), access};
  return handle;
}

Win32Error SimRegistry::openKey(RegKeyHandle parent, const char* subKey, std::uint32_t access,
                                RegKeyHandle& key) {
  key = {};
  Location where;
  const bool view32 = (access & platform::regsam::kWow64_32Key) != 0;
  if (Win32Error e = locate(parent, subKey, view32, where)) return e;
  std::shared_ptr<RegNode> node = find(where);
  if (!node) return err::kFileNotFound;
  if (Win32Error e = checkMachineWrite(where, access)) return e;
  key = addHandle(std::move(node), access);
  return err::kSuccess;
}

Win32Error SimRegistry::createKey(RegKeyHandle parent, const char* subKey, std::uint32_t access,
                                  RegKeyHandle& key, bool* created) {
  key = {};
  if (created != nullptr) *created = false;
  std::shared_ptr<RegNode> parentNode;
  std::uint32_t parentAccess = 0;
  if (Win32Error e = resolve(parent, parentNode, parentAccess)) return e;
  Location where;
  const bool view32 = (access & platform::regsam::kWow64_32Key) != 0;
  if (Win32Error e = locate(parent, subKey, view32, where)) return e;
  std::shared_ptr<RegNode> node = find(where);
  if (!node) {
    if ((parentAccess & platform::regsam::kCreateSubKey) == 0) return err::kAccessDenied;
    if (Win32Error e = checkMachineWrite(where, platform::regsam::kCreateSubKey)) return e;
    node = make(where, created);
  }
  if (Win32Error e = checkMachineWrite(where, access)) return e;
  key = addHandle(std::move(node), access);
  return err::kSuccess;
}

Win32Error SimRegistry::closeKey(RegKeyHandle key) {
  if (predefined(key)) return err::kSuccess;
  return handles_.erase(key) == 1 ? err::kSuccess : err::kInvalidHandle;
}

Win32Error SimRegistry::queryValue(RegKeyHandle key, const char* name, std::uint32_t* type,
                                   void* data, std::uint32_t* size) {
  std::shared_ptr<RegNode> node;
  std::uint32_t access = 0;
  if (Win32Error e = resolve(key, node, access)) return e;
  if ((access & platform::regsam::kQueryValue) == 0) return err::kAccessDenied;
  const RegValue* value = node->findValue(View(name));
  if (value == nullptr) return err::kFileNotFound;
  if (type != nullptr) *type = value->type;
  return CopyValueData(*value, data, size);
}

Win32Error SimRegistry::setValue(RegKeyHandle key, const char* name, std::uint32_t type,
                                 const void* data, std::uint32_t size) {
  std::shared_ptr<RegNode> node;
  std::uint32_t access = 0;
  if (Win32Error e = resolve(key, node, access)) return e;
  if ((access & platform::regsam::kSetValue) == 0) return err::kAccessDenied;
  if (data == nullptr && size != 0) return err::kInvalidParameter;
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  std::vector<std::uint8_t> stored(bytes, bytes + (data ? size : 0));
  if (RegValue* existing = node->findValue(View(name))) {
    existing->type = type;
    existing->data = std::move(stored);
  } else {
    node->values.push_back(RegValue{std::string(View(name)), type, std::move(stored)});
  }
  return err::kSuccess;
}

Win32Error SimRegistry::deleteValue(RegKeyHandle key, const char* name) {
  std::shared_ptr<RegNode> node;
  std::uint32_t access = 0;
  if (Win32Error e = resolve(key, node, access)) return e;
  if ((access & platform::regsam::kSetValue) == 0) return err::kAccessDenied;
  for (auto it = node->values.begin(); it != node->values.end(); ++it) {
    if (EqualNoCase(it->name, View(name))) {
      node->values.erase(it);
      return err::kSuccess;
    }
  }
  return err::kFileNotFound;
}

void SimRegistry::markDeleted(RegNode& node) {
  node.deleted = true;
  for (auto& [name, child] : node.subkeys) markDeleted(*child);
}

Win32Error SimRegistry::deleteKey(RegKeyHandle parent, const char* subKey, std::uint32_t view) {
  if (subKey == nullptr) return err::kInvalidParameter;
  Location where;
  const bool view32 = (view & platform::regsam::kWow64_32Key) != 0;
  if (Win32Error e = locate(parent, subKey, view32, where)) return e;
  if (where.names.empty()) return err::kAccessDenied;  // a hive root
  std::shared_ptr<RegNode> node = find(where);
  if (!node) return err::kFileNotFound;
  if (Win32Error e = checkMachineWrite(where, platform::regsam::kDelete)) return e;
  if (!node->subkeys.empty()) return err::kAccessDenied;
  node->deleted = true;
  node->parent->subkeys.erase(node->name);
  return err::kSuccess;
}

Win32Error SimRegistry::enumKey(RegKeyHandle key, std::uint32_t index, char* name,
                                std::uint32_t* nameSize) {
  std::shared_ptr<RegNode> node;
  std::uint32_t access = 0;
  if (Win32Error e = resolve(key, node, access)) return e;
  if ((access & platform::regsam::kEnumerateSubKeys) == 0) return err::kAccessDenied;
  if (index >= node->subkeys.size()) return err::kNoMoreItems;
  auto it = node->subkeys.begin();
  std::advance(it, index);
  return CopyName(it->second->name, name, nameSize);
}

Win32Error SimRegistry::enumValue(RegKeyHandle key, std::uint32_t index, char* name,
                                  std::uint32_t* nameSize, std::uint32_t* type, void* data,
                                  std::uint32_t* dataSize) {
  std::shared_ptr<RegNode> node;
  std::uint32_t access = 0;
  if (Win32Error e = resolve(key, node, access)) return e;
  if ((access & platform::regsam::kQueryValue) == 0) return err::kAccessDenied;
  if (index >= node->values.size()) return err::kNoMoreItems;
  const RegValue& value = node->values[index];
  if (Win32Error e = CopyName(value.name, name, nameSize)) return e;
  if (type != nullptr) *type = value.type;
  if (data == nullptr && dataSize == nullptr) return err::kSuccess;
  return CopyValueData(value, data, dataSize);
}

// ---- Seeding and inspection ----------------------------------------------

void SimRegistry::createKeyPath(std::string_view path) {
  if (std::optional<Location> where = parsePath(path)) make(*where, nullptr);
}

void SimRegistry::setValueBytes(std::string_view path, std::string_view name, std::uint32_t type,
                                std::vector<std::uint8_t> data) {
  std::optional<Location> where = parsePath(path);
  if (!where) return;
  std::shared_ptr<RegNode> node = make(*where, nullptr);
  if (RegValue* existing = node->findValue(name)) {
    existing->type = type;
    existing->data = std::move(data);
  } else {
    node->values.push_back(RegValue{std::string(name), type, std::move(data)});
  }
}

void SimRegistry::setString(std::string_view path, std::string_view name, std::string_view text,
                            std::uint32_t type) {
  std::vector<std::uint8_t> data(text.begin(), text.end());
  data.push_back(0);
  setValueBytes(path, name, type, std::move(data));
}

void SimRegistry::setDword(std::string_view path, std::string_view name, std::uint32_t value) {
  std::vector<std::uint8_t> data(4);
  for (std::size_t i = 0; i < 4; ++i) data[i] = static_cast<std::uint8_t>(value >> (8 * i));
  setValueBytes(path, name, platform::regtype::kDword, std::move(data));
}

void SimRegistry::setMultiString(std::string_view path, std::string_view name,
                                 const std::vector<std::string>& strings) {
  std::vector<std::uint8_t> data;
  for (const std::string& s : strings) {
    data.insert(data.end(), s.begin(), s.end());
    data.push_back(0);
  }
  data.push_back(0);
  setValueBytes(path, name, platform::regtype::kMultiSz, std::move(data));
}

bool SimRegistry::keyExists(std::string_view path) const {
  std::optional<Location> where = parsePath(path);
  return where && find(*where) != nullptr;
}

std::optional<RegValue> SimRegistry::value(std::string_view path, std::string_view name) const {
  std::optional<Location> where = parsePath(path);
  if (!where) return std::nullopt;
  std::shared_ptr<RegNode> node = find(*where);
  if (!node) return std::nullopt;
  if (const RegValue* v = node->findValue(name)) return *v;
  return std::nullopt;
}

bool SimRegistry::valueExists(std::string_view path, std::string_view name) const {
  return value(path, name).has_value();
}

std::optional<std::string> SimRegistry::getString(std::string_view path,
                                                  std::string_view name) const {
  std::optional<RegValue> v = value(path, name);
  if (!v || !IsStringType(v->type)) return std::nullopt;
  std::string text(v->data.begin(), v->data.end());
  return text.substr(0, text.find('\0'));
}

std::optional<std::uint32_t> SimRegistry::getDword(std::string_view path,
                                                   std::string_view name) const {
  std::optional<RegValue> v = value(path, name);
  if (!v || v->type != platform::regtype::kDword || v->data.size() != 4) return std::nullopt;
  std::uint32_t result = 0;
  for (std::size_t i = 0; i < 4; ++i) result |= static_cast<std::uint32_t>(v->data[i]) << (8 * i);
  return result;
}

std::optional<std::vector<std::string>> SimRegistry::getMultiString(std::string_view path,
                                                                    std::string_view name) const {
  std::optional<RegValue> v = value(path, name);
  if (!v || v->type != platform::regtype::kMultiSz) return std::nullopt;
  std::vector<std::string> strings;
  std::string current;
  for (std::uint8_t byte : v->data) {
    if (byte != 0) {
      current += static_cast<char>(byte);
    } else if (current.empty()) {
      break;  // the empty string that ends the list
    } else {
      strings.push_back(std::move(current));
      current.clear();
    }
  }
  if (!current.empty()) strings.push_back(std::move(current));
  return strings;
}

std::vector<std::string> SimRegistry::subkeyNames(std::string_view path) const {
  std::vector<std::string> names;
  std::optional<Location> where = parsePath(path);
  if (!where) return names;
  if (std::shared_ptr<RegNode> node = find(*where)) {
    for (const auto& [key, child] : node->subkeys) names.push_back(child->name);
  }
  return names;
}

std::vector<std::string> SimRegistry::valueNames(std::string_view path) const {
  std::vector<std::string> names;
  std::optional<Location> where = parsePath(path);
  if (!where) return names;
  if (std::shared_ptr<RegNode> node = find(*where)) {
    for (const RegValue& v : node->values) names.push_back(v.name);
  }
  return names;
}

bool SimRegistry::deleteTree(std::string_view path) {
  std::optional<Location> where = parsePath(path);
  if (!where || where->names.empty()) return false;
  std::shared_ptr<RegNode> node = find(*where);
  if (!node) return false;
  markDeleted(*node);
  node->parent->subkeys.erase(node->name);
  return true;
}

bool SimRegistry::removeValue(std::string_view path, std::string_view name) {
  std::optional<Location> where = parsePath(path);
  if (!where) return false;
  std::shared_ptr<RegNode> node = find(*where);
  if (!node) return false;
  for (auto it = node->values.begin(); it != node->values.end(); ++it) {
    if (EqualNoCase(it->name, name)) {
      node->values.erase(it);
      return true;
    }
  }
  return false;
}

}  // namespace sim

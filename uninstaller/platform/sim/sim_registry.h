// The simulated registry: one in-memory tree per hive, reached through the
// Reg*A conventions of platform::Registry and through path helpers that tests
// use to seed and inspect it.
//
// As on Windows NT:
// - key and value names compare without regard to case and keep the case
//   they were created with;
// - subkeys enumerate in the order the hive keeps them (sorted by their
//   upper-cased names), values in the order they were created;
// - HKEY_CURRENT_USER is the user's key under HKEY_USERS and
//   HKEY_CLASSES_ROOT is HKLM\SOFTWARE\Classes (simplified: Windows merges
//   the per-user classes over the machine's; here there are none);
// - on 64-bit Windows a KEY_WOW64_32KEY access redirects HKLM\SOFTWARE to
//   HKLM\SOFTWARE\Wow6432Node, except for the keys that WOW64 shares between
//   both views (see kSharedKeys in sim_registry.cpp). Enumerating a key
//   opened in the 32-bit view lists the keys physically below it; Windows
//   also shows the shared keys there.
// Values are kept as the bytes the caller gave (the ANSI/Unicode conversion
// of the real registry is not modelled).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"
#include "sim_text.h"

namespace sim {

struct RegValue {
  std::string name;
  std::uint32_t type = platform::regtype::kNone;
  std::vector<std::uint8_t> data;
};

struct RegNode {
  std::string name;
  RegNode* parent = nullptr;
  std::map<std::string, std::shared_ptr<RegNode>, LessNoCase> subkeys;
  std::vector<RegValue> values;
  bool deleted = false;  // open handles to a deleted key see ERROR_KEY_DELETED

  RegNode() = default;
  RegNode(const RegNode&) = delete;
  RegNode& operator=(const RegNode&) = delete;
  // Keys that outlive their parent (an open handle keeps them) must not
  // point back into it.
  ~RegNode() {
    for (auto& [key, child] : subkeys) child->parent = nullptr;
  }

  RegValue* findValue(std::string_view valueName);
};

class SimRegistry final : public platform::Registry {
 public:
  // HKEY_CURRENT_USER is HKEY_USERS\<this SID>.
  static constexpr const char* kUserSid = "S-1-5-21-1004336348-1177238915-682003330-1001";

  SimRegistry();

  // 64-bit Windows: KEY_WOW64_32KEY selects the redirected view. Off, the
  // flag is ignored, as 32-bit Windows ignores it.
  void setWow64(bool enabled) { wow64_ = enabled; }
  // Who may write below HKEY_LOCAL_MACHINE: asked on every open or create
  // for write access there (an NT user outside Administrators gets 5).
  void setMachineWriteCheck(std::function<bool()> mayWrite) {
    mayWriteMachine_ = std::move(mayWrite);
  }
  bool mayWriteMachine() const { return !mayWriteMachine_ || mayWriteMachine_(); }

  // platform::Registry
  platform::Win32Error openKey(platform::RegKeyHandle parent, const char* subKey,
                               std::uint32_t access, platform::RegKeyHandle& key) override;
  platform::Win32Error createKey(platform::RegKeyHandle parent, const char* subKey,
                                 std::uint32_t access, platform::RegKeyHandle& key,
                                 bool* created) override;
  platform::Win32Error closeKey(platform::RegKeyHandle key) override;
  platform::Win32Error queryValue(platform::RegKeyHandle key, const char* name, std::uint32_t* type,
                                  void* data, std::uint32_t* size) override;
  platform::Win32Error setValue(platform::RegKeyHandle key, const char* name, std::uint32_t type,
                                const void* data, std::uint32_t size) override;
  platform::Win32Error deleteValue(platform::RegKeyHandle key, const char* name) override;
  platform::Win32Error deleteKey(platform::RegKeyHandle parent, const char* subKey,
                                 std::uint32_t view) override;
  platform::Win32Error enumKey(platform::RegKeyHandle key, std::uint32_t index, char* name,
                               std::uint32_t* nameSize) override;
  platform::Win32Error enumValue(platform::RegKeyHandle key, std::uint32_t index, char* name,
                                 std::uint32_t* nameSize, std::uint32_t* type, void* data,
                                 std::uint32_t* dataSize) override;

  // Seeding and inspection by path: "HKLM\\SOFTWARE\\X" (also HKCU, HKCR,
  // HKU and the HKEY_... spellings), always the native (64-bit) view; name
  // the Wow6432Node key to reach the 32-bit one. A null or empty value name
  // is the key's default value. Setters create missing keys.
  void createKeyPath(std::string_view path);
  void setValueBytes(std::string_view path, std::string_view name, std::uint32_t type,
                     std::vector<std::uint8_t> data);
  // REG_SZ (or REG_EXPAND_SZ) stored with its terminating NUL.
  void setString(std::string_view path, std::string_view name, std::string_view text,
                 std::uint32_t type = platform::regtype::kSz);
  void setDword(std::string_view path, std::string_view name, std::uint32_t value);
  // REG_MULTI_SZ: every string and its NUL, then one more NUL.
  void setMultiString(std::string_view path, std::string_view name,
                      const std::vector<std::string>& strings);

  bool keyExists(std::string_view path) const;
  bool valueExists(std::string_view path, std::string_view name) const;
  std::optional<RegValue> value(std::string_view path, std::string_view name) const;
  // The text up to the first NUL of a string value of any string type.
  std::optional<std::string> getString(std::string_view path, std::string_view name) const;
  std::optional<std::uint32_t> getDword(std::string_view path, std::string_view name) const;
  std::optional<std::vector<std::string>> getMultiString(std::string_view path,
                                                         std::string_view name) const;
  std::vector<std::string> subkeyNames(std::string_view path) const;
  std::vector<std::string> valueNames(std::string_view path) const;
  // Removes a key with everything below it; false when it is missing.
  bool deleteTree(std::string_view path);
  bool removeValue(std::string_view path, std::string_view name);

  // Handles opened through platform::Registry and not closed yet.
  std::size_t openHandleCount() const { return handles_.size(); }

 private:
  // A key as a hive root and the names below it.
  struct Location {
    RegNode* root = nullptr;
    std::vector<std::string> names;
  };
  struct OpenKey {
    std::shared_ptr<RegNode> node;
    std::uint32_t access = 0;
  };

  std::optional<Location> parsePath(std::string_view path) const;
  std::optional<Location> predefined(platform::RegKeyHandle key) const;
  // Where parent + subKey lies, with the 32-bit view applied when asked.
  platform::Win32Error locate(platform::RegKeyHandle parent, const char* subKey, bool view32,
                              Location& where) const;
  void applyWow64View(Location& where) const;
  std::shared_ptr<RegNode> find(const Location& where) const;
  std::shared_ptr<RegNode> make(const Location& where, bool* created);
  // The node behind an open handle (or root) and the rights it carries.
  platform::Win32Error resolve(platform::RegKeyHandle key, std::shared_ptr<RegNode>& node,
                               std::uint32_t& access) const;
  platform::Win32Error checkMachineWrite(const Location& where, std::uint32_t access) const;
  platform::RegKeyHandle addHandle(std::shared_ptr<RegNode> node, std::uint32_t access);
  static void markDeleted(RegNode& node);

  std::shared_ptr<RegNode> machine_;
  std::shared_ptr<RegNode> users_;
  std::map<platform::RegKeyHandle, OpenKey> handles_;
  std::uintptr_t nextHandle_ = 0x1000;
  bool wow64_ = false;
  std::function<bool()> mayWriteMachine_;
};

}  // namespace sim

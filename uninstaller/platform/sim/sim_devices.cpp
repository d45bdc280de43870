#include "sim_devices.h"

#include <algorithm>
#include <cstring>

#include "ini_text.h"
#include "sim_errors.h"
#include "sim_files.h"
#include "sim_text.h"

namespace sim {
namespace {

namespace err = platform::error;
using platform::ConfigRet;
using platform::Win32Error;

constexpr Win32Error kInvalidFlags = 0xE000020C;  // ERROR_INVALID_FLAGS (SetupAPI)

bool IsWin4Signature(std::string_view text) {
  // The value may be quoted.
  std::string signature(TrimProfileBlanks(text));
  if (signature.size() >= 2 && signature.front() == '"' && signature.back() == '"')
    signature = signature.substr(1, signature.size() - 2);
  return EqualNoCase(signature, "$Chicago$") || EqualNoCase(signature, "$Windows 95$") ||
         EqualNoCase(signature, "$Windows NT$");
}

// Whether a Windows has SetupUninstallOEMInfA: XP (5.1) and later.
bool HasUninstallOemInf(const OsProfile& profile) {
  return profile.isNt() &&
         (profile.majorVersion > 5 || (profile.majorVersion == 5 && profile.minorVersion >= 1));
}

}  // namespace

SimDevices::SimDevices(SimFileSystem& files, Faults& faults, const OsProfile& profile)
    : files_(files), faults_(faults), profile_(profile) {
  nodes_[kRoot] = Node{"HTREE\\ROOT\\0", {}, 0, {}};
}

std::uint32_t SimDevices::addDevice(std::string_view instanceId,
                                    std::vector<std::string> hardwareIds, std::uint32_t parent) {
  const std::uint32_t devInst = nextDevInst_++;
  nodes_[devInst] = Node{std::string(instanceId), std::move(hardwareIds), parent, {}};
  if (auto up = nodes_.find(parent); up != nodes_.end()) up->second.children.push_back(devInst);
  return devInst;
}

bool SimDevices::exists(std::uint32_t devInst) const { return nodes_.count(devInst) != 0; }

std::string SimDevices::HardwareIdBytes(const Node& node) {
  std::string bytes;
  for (const std::string& id : node.hardwareIds) bytes += id + '\0';
  bytes += '\0';
  return bytes;
}

std::string SimDevices::infDirectory() const { return profile_.windowsDirectory + "\\INF"; }

Win32Error SimDevices::getClassDevs(std::uint32_t flags, platform::DeviceListHandle& list) {
  list = {};
  if (auto injected = faults_.check("SetupDiGetClassDevsA")) return *injected;
  if ((flags & platform::kDigcfAllClasses) == 0) return kInvalidFlags;
  std::vector<std::uint32_t> snapshot;
  for (const auto& [devInst, node] : nodes_) {
    if (devInst != kRoot) snapshot.push_back(devInst);
  }
  list = platform::DeviceListHandle{nextList_};
  nextList_ += 4;
  lists_[list] = std::move(snapshot);
  return err::kSuccess;
}

Win32Error SimDevices::destroyDeviceInfoList(platform::DeviceListHandle list) {
  return lists_.erase(list) != 0 ? err::kSuccess : err::kInvalidHandle;
}

Win32Error SimDevices::enumDeviceInfo(platform::DeviceListHandle list, std::uint32_t index,
                                      platform::DeviceInfoData& device) {
  auto it = lists_.find(list);
  if (it == lists_.end()) return err::kInvalidHandle;
  if (auto injected = faults_.check("SetupDiEnumDeviceInfo")) return *injected;
  if (index >= it->second.size()) return err::kNoMoreItems;
  device = platform::DeviceInfoData{};
  device.devInst = it->second[index];
  device.reserved = list.value();
  return err::kSuccess;
}

Win32Error SimDevices::nodeOf(platform::DeviceListHandle list,
                              const platform::DeviceInfoData& device, const Node*& node) const {
  auto it = lists_.find(list);
  if (it == lists_.end() || device.reserved != list.value()) return err::kInvalidHandle;
  auto found = nodes_.find(device.devInst);
  if (found == nodes_.end()) return error::kNoSuchDevinst;
  node = &found->second;
  return err::kSuccess;
}

Win32Error SimDevices::getDeviceRegistryProperty(platform::DeviceListHandle list,
                                                 const platform::DeviceInfoData& device,
                                                 std::uint32_t property, std::uint32_t* type,
                                                 void* buffer, std::uint32_t size,
                                                 std::uint32_t* required) {
  const Node* node = nullptr;
  if (Win32Error e = nodeOf(list, device, node)) return e;
  if (auto injected = faults_.check("SetupDiGetDeviceRegistryPropertyA", node->instanceId))
    return *injected;
  if (property != platform::kSpdrpHardwareId || node->hardwareIds.empty()) return err::kInvalidData;
  const std::string bytes = HardwareIdBytes(*node);
  if (type != nullptr) *type = 7;  // REG_MULTI_SZ
  if (required != nullptr) *required = Count32(bytes.size());
  if (buffer == nullptr || size < bytes.size()) return err::kInsufficientBuffer;
  std::memcpy(buffer, bytes.data(), bytes.size());
  return err::kSuccess;
}

void SimDevices::removeSubtree(std::uint32_t devInst) {
  auto it = nodes_.find(devInst);
  if (it == nodes_.end()) return;
  const std::vector<std::uint32_t> children = it->second.children;
  for (std::uint32_t child : children) removeSubtree(child);
  it = nodes_.find(devInst);
  removed_.push_back(it->second.instanceId);
  if (auto up = nodes_.find(it->second.parent); up != nodes_.end()) {
    std::vector<std::uint32_t>& siblings = up->second.children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), devInst), siblings.end());
  }
  nodes_.erase(it);
}

Win32Error SimDevices::removeDevice(platform::DeviceListHandle list,
                                    const platform::DeviceInfoData& device) {
  const Node* node = nullptr;
  if (Win32Error e = nodeOf(list, device, node)) return e;
  if (auto injected = faults_.check("SetupDiRemoveDevice", node->instanceId)) return *injected;
  removeSubtree(device.devInst);
  return err::kSuccess;
}

ConfigRet SimDevices::getChild(std::uint32_t devInst, std::uint32_t& child) {
  child = 0;
  auto it = nodes_.find(devInst);
  if (auto injected =
          faults_.check("CM_Get_Child", it != nodes_.end() ? it->second.instanceId : std::string()))
    return *injected;
  if (it == nodes_.end() || it->second.children.empty()) return platform::cr::kNoSuchDevnode;
  child = it->second.children.front();
  return platform::cr::kSuccess;
}

ConfigRet SimDevices::getParent(std::uint32_t devInst, std::uint32_t& parent) {
  parent = 0;
  auto it = nodes_.find(devInst);
  if (auto injected = faults_.check("CM_Get_Parent",
                                    it != nodes_.end() ? it->second.instanceId : std::string()))
    return *injected;
  if (it == nodes_.end() || it->second.parent == 0) return platform::cr::kNoSuchDevnode;
  parent = it->second.parent;
  return platform::cr::kSuccess;
}

ConfigRet SimDevices::getDevNodeRegistryProperty(std::uint32_t devInst, std::uint32_t property,
                                                 std::uint32_t* type, void* buffer,
                                                 std::uint32_t* length) {
  auto it = nodes_.find(devInst);
  if (auto injected = faults_.check("CM_Get_DevNode_Registry_PropertyA",
                                    it != nodes_.end() ? it->second.instanceId : std::string()))
    return *injected;
  if (it == nodes_.end()) return platform::cr::kNoSuchDevnode;
  if (property != platform::kCmDrpHardwareId || it->second.hardwareIds.empty())
    return platform::cr::kNoSuchValue;
  const std::string bytes = HardwareIdBytes(it->second);
  if (type != nullptr) *type = 7;  // REG_MULTI_SZ
  const std::uint32_t room = length != nullptr ? *length : 0;
  if (length != nullptr) *length = Count32(bytes.size());
  if (buffer == nullptr || room < bytes.size()) return platform::cr::kBufferSmall;
  std::memcpy(buffer, bytes.data(), bytes.size());
  return platform::cr::kSuccess;
}

Win32Error SimDevices::getInfFileList(const char* directory, std::uint32_t style, char* buffer,
                                      std::uint32_t size, std::uint32_t* required) {
  if (auto injected = faults_.check("SetupGetInfFileListA", View(directory))) return *injected;
  std::string dir =
      (directory == nullptr || directory[0] == '\0') ? infDirectory() : std::string(directory);
  if (!dir.empty() && dir.back() == '\\') dir.pop_back();
  std::vector<platform::FindData> found;
  const Win32Error findError = files_.findFiles((dir + "\\*.inf").c_str(), found);
  if (findError == err::kPathNotFound) return findError;
  std::string list;
  for (const platform::FindData& file : found) {
    if (file.attributes & platform::file_attr::kDirectory) continue;
    if (style == platform::kInfStyleWin4) {
      const IniDocument document(files_.fileContents(dir + "\\" + file.name).value_or(""));
      const IniSection* version = document.findSection("Version");
      const IniKey* signature = version ? IniDocument::findKey(*version, "Signature") : nullptr;
      if (signature == nullptr || !signature->value || !IsWin4Signature(*signature->value))
        continue;
    }
    list += file.name + '\0';
  }
  list += '\0';
  if (required != nullptr) *required = Count32(list.size());
  if (buffer == nullptr || size < list.size()) return err::kInsufficientBuffer;
  std::memcpy(buffer, list.data(), list.size());
  return err::kSuccess;
}

Win32Error SimDevices::uninstallOemInf(const char* infFileName, std::uint32_t) {
  if (auto injected = faults_.check("SetupUninstallOEMInfA", View(infFileName))) return *injected;
  if (!files_.exists(profile_.systemDirectory + "\\setupapi.dll")) return err::kModNotFound;
  if (!HasUninstallOemInf(profile_)) return err::kProcNotFound;
  const std::string name(View(infFileName));
  if (name.empty() || name.find('\\') != std::string::npos) return err::kInvalidParameter;
  const std::string path = infDirectory() + "\\" + name;
  if (!files_.exists(path)) return err::kFileNotFound;
  files_.removeTree(path);
  const std::string pnf = path.substr(0, path.size() - 3) + "PNF";
  if (path.size() > 4 && files_.exists(pnf)) files_.removeTree(pnf);
  return err::kSuccess;
}

}  // namespace sim

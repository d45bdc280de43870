// The simulated device installation: a tree of device nodes with their
// parents, children and hardware ids, the device-information lists that
// SetupDiGetClassDevsA takes of it, and the OEM INF files of the INF
// directory (real files of the simulated file system).
//
// As on Windows: a device-information list is a snapshot (an element of a
// device removed meanwhile stays in it, and its properties then fail with
// ERROR_NO_SUCH_DEVINST); removing a device removes the nodes below it; the
// tree's root ("HTREE\ROOT\0") has no parent and is in no list;
// SetupUninstallOEMInfA deletes the .inf and its precompiled .pnf, and
// came with Windows XP (127 before it).
//
// Simplified: device classes, drivers and the devices' registry keys are
// not modelled; every node is in every list (DIGCF_ALLCLASSES); an INF file
// is of style INF_STYLE_WIN4 when its [Version] signature is "$Chicago$",
// "$Windows 95$" or "$Windows NT$". Without SUOI_FORCEDELETE the INF is
// deleted as well: no device here is installed from one.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "faults.h"
#include "os_profiles.h"
#include "platform/devices.h"

namespace sim {

class SimFileSystem;

class SimDevices final : public platform::Devices {
 public:
  static constexpr std::uint32_t kRoot = 1;

  SimDevices(SimFileSystem& files, Faults& faults, const OsProfile& profile);

  // A device node below `parent` (the root by default); its devInst.
  std::uint32_t addDevice(std::string_view instanceId, std::vector<std::string> hardwareIds,
                          std::uint32_t parent = kRoot);
  bool exists(std::uint32_t devInst) const;
  // The instance ids of the removed nodes, in the order the program removed them.
  const std::vector<std::string>& removed() const { return removed_; }
  std::size_t openHandleCount() const { return lists_.size(); }

  // platform::Devices
  platform::Win32Error getClassDevs(std::uint32_t flags, platform::DeviceListHandle& list) override;
  platform::Win32Error destroyDeviceInfoList(platform::DeviceListHandle list) override;
  platform::Win32Error enumDeviceInfo(platform::DeviceListHandle list, std::uint32_t index,
                                      platform::DeviceInfoData& device) override;
  platform::Win32Error getDeviceRegistryProperty(platform::DeviceListHandle list,
                                                 const platform::DeviceInfoData& device,
                                                 std::uint32_t property, std::uint32_t* type,
                                                 void* buffer, std::uint32_t size,
                                                 std::uint32_t* required) override;
  platform::Win32Error removeDevice(platform::DeviceListHandle list,
                                    const platform::DeviceInfoData& device) override;
  platform::ConfigRet getChild(std::uint32_t devInst, std::uint32_t& child) override;
  platform::ConfigRet getParent(std::uint32_t devInst, std::uint32_t& parent) override;
  platform::ConfigRet getDevNodeRegistryProperty(std::uint32_t devInst, std::uint32_t property,
                                                 std::uint32_t* type, void* buffer,
                                                 std::uint32_t* length) override;
  platform::Win32Error getInfFileList(const char* directory, std::uint32_t style, char* buffer,
                                      std::uint32_t size, std::uint32_t* required) override;
  platform::Win32Error uninstallOemInf(const char* infFileName, std::uint32_t flags) override;

 private:
  struct Node {
    std::string instanceId;
    std::vector<std::string> hardwareIds;
    std::uint32_t parent = 0;
    std::vector<std::uint32_t> children;
  };

  // The node of a list element; ERROR_INVALID_HANDLE for a list that is not
  // open, ERROR_NO_SUCH_DEVINST for a node that has gone.
  platform::Win32Error nodeOf(platform::DeviceListHandle list,
                              const platform::DeviceInfoData& device, const Node*& node) const;
  void removeSubtree(std::uint32_t devInst);
  // REG_MULTI_SZ bytes of a node's hardware ids.
  static std::string HardwareIdBytes(const Node& node);
  std::string infDirectory() const;

  SimFileSystem& files_;
  Faults& faults_;
  const OsProfile& profile_;
  std::map<std::uint32_t, Node> nodes_;
  std::map<platform::DeviceListHandle, std::vector<std::uint32_t>> lists_;
  std::uint32_t nextDevInst_ = kRoot + 1;
  std::uintptr_t nextList_ = 0x9000;
  std::vector<std::string> removed_;
};

}  // namespace sim

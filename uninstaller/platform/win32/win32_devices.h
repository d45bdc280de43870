// Device installation through SETUPAPI and the configuration manager.
//
// Wine lists its own virtual devices and keeps devices that a program
// creates, but has no device tree: CM_Get_Child succeeds with child 0 and
// CM_Get_Parent fails with CR_NO_SUCH_DEVNODE. SetupGetInfFileListA lists
// nothing for a null directory there (name the INF directory), and its
// size query answers 0. SetupUninstallOEMInfA deletes nothing without
// SUOI_FORCEDELETE and leaves the .pnf behind with it.
#pragma once

#include "platform/devices.h"

namespace win32 {

class Win32Devices final : public platform::Devices {
 public:
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
};

}  // namespace win32

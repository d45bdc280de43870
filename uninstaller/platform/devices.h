// Device installation: the device-information lists of SETUPAPI, the
// configuration manager's device tree (CFGMGR32) and the INF files.
#pragma once

#include <array>
#include <cstdint>

#include "win32_types.h"

namespace platform {

inline constexpr std::uint32_t kDigcfAllClasses = 0x4;  // DIGCF_ALLCLASSES
inline constexpr std::uint32_t kSpdrpHardwareId = 0x1;  // SPDRP_HARDWAREID
inline constexpr std::uint32_t kCmDrpHardwareId = 0x2;  // CM_DRP_HARDWAREID
inline constexpr std::uint32_t kInfStyleWin4 = 0x2;     // INF_STYLE_WIN4
inline constexpr std::uint32_t kSuoiForceDelete = 0x1;  // SUOI_FORCEDELETE

// The configuration manager answers with its own codes (CONFIGRET), not
// Win32 errors.
using ConfigRet = std::uint32_t;
namespace cr {
inline constexpr ConfigRet kSuccess = 0x00;        // CR_SUCCESS
inline constexpr ConfigRet kNoSuchDevnode = 0x0D;  // CR_NO_SUCH_DEVNODE
inline constexpr ConfigRet kBufferSmall = 0x1A;    // CR_BUFFER_SMALL
inline constexpr ConfigRet kNoSuchValue = 0x25;    // CR_NO_SUCH_VALUE
}  // namespace cr

// SP_DEVINFO_DATA: one element of a device-information list. `reserved`
// ties it to its list and is handed back unchanged.
struct DeviceInfoData {
  std::array<std::uint8_t, 16> classGuid{};
  std::uint32_t devInst = 0;  // the device node, for the configuration manager
  std::uintptr_t reserved = 0;
};

// Each operation mirrors the Win32 function named beside it.
class Devices {
 public:
  virtual ~Devices() = default;

  // SetupDiGetClassDevsA(no class, no enumerator, no window, flags).
  virtual Win32Error getClassDevs(std::uint32_t flags, DeviceListHandle& list) = 0;
  // SetupDiDestroyDeviceInfoList.
  virtual Win32Error destroyDeviceInfoList(DeviceListHandle list) = 0;
  // SetupDiEnumDeviceInfo: kNoMoreItems past the last element.
  virtual Win32Error enumDeviceInfo(DeviceListHandle list, std::uint32_t index,
                                    DeviceInfoData& device) = 0;
  // SetupDiGetDeviceRegistryPropertyA: a buffer that is too small gives
  // kInsufficientBuffer with `required` set; `type` and `required` may be null.
  virtual Win32Error getDeviceRegistryProperty(DeviceListHandle list, const DeviceInfoData& device,
                                               std::uint32_t property, std::uint32_t* type,
                                               void* buffer, std::uint32_t size,
                                               std::uint32_t* required) = 0;
  // SetupDiRemoveDevice.
  virtual Win32Error removeDevice(DeviceListHandle list, const DeviceInfoData& device) = 0;

  // CM_Get_Child, CM_Get_Parent (flags 0).
  virtual ConfigRet getChild(std::uint32_t devInst, std::uint32_t& child) = 0;
  virtual ConfigRet getParent(std::uint32_t devInst, std::uint32_t& parent) = 0;
  // CM_Get_DevNode_Registry_PropertyA(devInst, property, type, buffer,
  // length, flags 0): `length` in: buffer size, out: the size of the value.
  virtual ConfigRet getDevNodeRegistryProperty(std::uint32_t devInst, std::uint32_t property,
                                               std::uint32_t* type, void* buffer,
                                               std::uint32_t* length) = 0;

  // SetupGetInfFileListA(directory, style, buffer, size, required): the INF
  // file names (no directory) as a multi-string; `required` in characters.
  virtual Win32Error getInfFileList(const char* directory, std::uint32_t style, char* buffer,
                                    std::uint32_t size, std::uint32_t* required) = 0;
  // LoadLibraryA("setupapi.dll"), GetProcAddress("SetupUninstallOEMInfA"),
  // the call with no reserved value, FreeLibrary: kModNotFound when the
  // library is missing, kProcNotFound when the function is (it came with
  // Windows XP), else the call's error.
  virtual Win32Error uninstallOemInf(const char* infFileName, std::uint32_t flags) = 0;
};

// Owns one device-information list.
using DeviceList = Owner<Devices, DeviceListHandle, &Devices::destroyDeviceInfoList>;

}  // namespace platform

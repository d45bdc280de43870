#include "platform/win32/win32_devices.h"

#include <cstring>

#include "platform/win32/convert.h"
#include "platform/win32/handles.h"
// After windows.h (through convert.h).
#include <cfgmgr32.h>
#include <setupapi.h>

namespace win32 {
namespace {

using platform::Win32Error;

HDEVINFO ToList(platform::DeviceListHandle list) { return NativeOf<HDEVINFO>(list); }

SP_DEVINFO_DATA ToNative(const platform::DeviceInfoData& device) {
  SP_DEVINFO_DATA data{};
  data.cbSize = sizeof data;
  std::memcpy(&data.ClassGuid, device.classGuid.data(), sizeof data.ClassGuid);
  data.DevInst = device.devInst;
  data.Reserved = device.reserved;
  return data;
}

using UninstallOemInfFn = BOOL(WINAPI*)(PCSTR, DWORD, PVOID);

}  // namespace

Win32Error Win32Devices::getClassDevs(std::uint32_t flags, platform::DeviceListHandle& list) {
  const HDEVINFO opened = ::SetupDiGetClassDevsA(nullptr, nullptr, nullptr, flags);
  if (opened == INVALID_HANDLE_VALUE) {
    list = {};
    return ::GetLastError();
  }
  list = HandleOf<platform::DeviceListHandle>(opened);
  return ERROR_SUCCESS;
}

Win32Error Win32Devices::destroyDeviceInfoList(platform::DeviceListHandle list) {
  return ResultOf(::SetupDiDestroyDeviceInfoList(ToList(list)));
}

Win32Error Win32Devices::enumDeviceInfo(platform::DeviceListHandle list, std::uint32_t index,
                                        platform::DeviceInfoData& device) {
  SP_DEVINFO_DATA data{};
  data.cbSize = sizeof data;
  if (!::SetupDiEnumDeviceInfo(ToList(list), index, &data)) return ::GetLastError();
  std::memcpy(device.classGuid.data(), &data.ClassGuid, sizeof data.ClassGuid);
  device.devInst = data.DevInst;
  device.reserved = data.Reserved;
  return ERROR_SUCCESS;
}

Win32Error Win32Devices::getDeviceRegistryProperty(platform::DeviceListHandle list,
                                                   const platform::DeviceInfoData& device,
                                                   std::uint32_t property, std::uint32_t* type,
                                                   void* buffer, std::uint32_t size,
                                                   std::uint32_t* required) {
  SP_DEVINFO_DATA data = ToNative(device);
  DWORD valueType = 0;
  DWORD needed = 0;
  const BOOL ok = ::SetupDiGetDeviceRegistryPropertyA(ToList(list), &data, property, &valueType,
                                                      static_cast<BYTE*>(buffer), size, &needed);
  const Win32Error error = ResultOf(ok);
  if (type != nullptr) *type = valueType;
  if (required != nullptr) *required = needed;
  return error;
}

Win32Error Win32Devices::removeDevice(platform::DeviceListHandle list,
                                      const platform::DeviceInfoData& device) {
  SP_DEVINFO_DATA data = ToNative(device);
  return ResultOf(::SetupDiRemoveDevice(ToList(list), &data));
}

platform::ConfigRet Win32Devices::getChild(std::uint32_t devInst, std::uint32_t& child) {
  DEVINST found = 0;
  const CONFIGRET result = ::CM_Get_Child(&found, devInst, 0);
  child = found;
  return result;
}

platform::ConfigRet Win32Devices::getParent(std::uint32_t devInst, std::uint32_t& parent) {
  DEVINST found = 0;
  const CONFIGRET result = ::CM_Get_Parent(&found, devInst, 0);
  parent = found;
  return result;
}

platform::ConfigRet Win32Devices::getDevNodeRegistryProperty(std::uint32_t devInst,
                                                             std::uint32_t property,
                                                             std::uint32_t* type, void* buffer,
                                                             std::uint32_t* length) {
  ULONG valueType = 0;
  ULONG size = length != nullptr ? *length : 0;
  const CONFIGRET result =
      ::CM_Get_DevNode_Registry_PropertyA(devInst, property, &valueType, buffer, &size, 0);
  if (type != nullptr) *type = valueType;
  if (length != nullptr) *length = size;
  return result;
}

Win32Error Win32Devices::getInfFileList(const char* directory, std::uint32_t style, char* buffer,
                                        std::uint32_t size, std::uint32_t* required) {
  DWORD needed = 0;
  const BOOL ok = ::SetupGetInfFileListA(directory, style, buffer, size, &needed);
  const Win32Error error = ResultOf(ok);
  if (required != nullptr) *required = needed;
  return error;
}

// Looked up at run time: Windows before XP has no SetupUninstallOEMInfA.
Win32Error Win32Devices::uninstallOemInf(const char* infFileName, std::uint32_t flags) {
  Library setupapi(::LoadLibraryA("setupapi.dll"));
  if (!setupapi.valid()) return ::GetLastError();
  const FARPROC proc = ::GetProcAddress(setupapi.get(), "SetupUninstallOEMInfA");
  if (proc == nullptr) return ::GetLastError();
  // Through the generic function pointer type, which converts to any other
  // without a cast-function-type warning.
  const auto uninstall = reinterpret_cast<UninstallOemInfFn>(reinterpret_cast<void (*)()>(proc));
  return ResultOf(uninstall(infFileName, flags, nullptr));
}

}  // namespace win32

// Device installation on the real system: a device the test creates is
// found by its hardware id and removed; the OEM INF uninstall leaves the
// .pnf behind on Wine. Wine has no device tree, so parents and children are
// covered by the simulated machine's tests.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/win32/win32_devices.h"
#include "platform/win32/windows_headers.h"
#include "wine.h"
// After windows.h.
#include <setupapi.h>

namespace {

namespace err = platform::error;

constexpr char kInstanceId[] = "USB\\VID_5357&PID_4C57\\STRIPWELL1";
constexpr char kHardwareIds[] = "USB\\VID_5357&PID_4C57&REV_0100\0USB\\VID_5357&PID_4C57\0";
// GUID_DEVCLASS_PRINTER
constexpr GUID kPrinterClass = {
    0x4d36e979, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};

// Registers a device node with the test's hardware ids; false when it cannot.
bool CreateFakeDevice() {
  const HDEVINFO set = ::SetupDiCreateDeviceInfoList(&kPrinterClass, nullptr);
  if (set == INVALID_HANDLE_VALUE) return false;
  SP_DEVINFO_DATA data{};
  data.cbSize = sizeof data;
  const bool made =
      ::SetupDiCreateDeviceInfoA(set, kInstanceId, &kPrinterClass, nullptr, nullptr, 0, &data) &&
      ::SetupDiSetDeviceRegistryPropertyA(set, &data, SPDRP_HARDWAREID,
                                          reinterpret_cast<const BYTE*>(kHardwareIds),
                                          sizeof kHardwareIds) &&
      ::SetupDiRegisterDeviceInfo(set, &data, 0, nullptr, nullptr, nullptr);
  ::SetupDiDestroyDeviceInfoList(set);
  return made;
}

// The list element whose first hardware id begins with `prefix`; false when none.
bool FindDevice(win32::Win32Devices& api, platform::DeviceListHandle list, const char* prefix,
                platform::DeviceInfoData& found) {
  for (std::uint32_t index = 0;; ++index) {
    platform::DeviceInfoData device;
    if (api.enumDeviceInfo(list, index, device) != err::kSuccess) return false;
    char ids[512] = {};
    if (api.getDeviceRegistryProperty(list, device, platform::kSpdrpHardwareId, nullptr, ids,
                                      sizeof ids - 2, nullptr) != err::kSuccess)
      continue;
    if (std::strncmp(ids, prefix, std::strlen(prefix)) == 0) {
      found = device;
      return true;
    }
  }
}

TEST(Win32Devices, DeviceFoundByItsHardwareIdIsRemoved) {
  ASSERT_TRUE(CreateFakeDevice());
  win32::Win32Devices api;
  platform::DeviceInfoData device;
  {
    platform::DeviceList list(api);
    ASSERT_EQ(api.getClassDevs(platform::kDigcfAllClasses, list.out()), err::kSuccess);
    ASSERT_TRUE(FindDevice(api, list.get(), "USB\\VID_5357&PID_4C57", device));
    std::uint32_t child = 0xFFFF;
    const platform::ConfigRet childResult = api.getChild(device.devInst, child);
    if (RunningOnWine()) {
      // No device tree: success, and no child.
      EXPECT_EQ(childResult, platform::cr::kSuccess);
      EXPECT_EQ(child, 0u);
    }
    EXPECT_EQ(api.removeDevice(list.get(), device), err::kSuccess);
  }
  platform::DeviceList again(api);
  ASSERT_EQ(api.getClassDevs(platform::kDigcfAllClasses, again.out()), err::kSuccess);
  EXPECT_FALSE(FindDevice(api, again.get(), "USB\\VID_5357&PID_4C57", device));
}

TEST(Win32Devices, ForcedOemInfUninstallLeavesThePnfOnWine) {
  char windows[MAX_PATH] = {};
  ::GetWindowsDirectoryA(windows, MAX_PATH);
  const std::string inf = std::string(windows) + "\\INF\\oem9741.inf";
  const std::string pnf = std::string(windows) + "\\INF\\oem9741.PNF";
  for (const std::string* path : {&inf, &pnf}) {
    const HANDLE file =
        ::CreateFileA(path->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const char text[] = "[Version]\r\nSignature=\"$Windows NT$\"\r\n";
    DWORD written = 0;
    ::WriteFile(file, text, sizeof text - 1, &written, nullptr);
    ::CloseHandle(file);
  }
  win32::Win32Devices api;
  EXPECT_EQ(api.uninstallOemInf("oem9741.inf", platform::kSuoiForceDelete), err::kSuccess);
  EXPECT_EQ(::GetFileAttributesA(inf.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(::GetFileAttributesA(pnf.c_str()) != INVALID_FILE_ATTRIBUTES, RunningOnWine());
  ::DeleteFileA(pnf.c_str());
}

}  // namespace

// The INF directory's file list and the forced uninstall of an OEM INF file,
// shared by Windows and the simulated machine. Windows deletes the .pnf
// too; Wine leaves it behind (see the Win32 tests), so it is not compared.
// The device tree has no counterpart under Wine and is covered by the
// simulated machine's own tests.
#include <cstring>
#include <string>

#include "contract.h"
#include "platform/crt.h"
#include "scratch.h"

namespace contract {
namespace {

using namespace platform;

constexpr char kWin4Inf[] =
    "[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=Printer\r\n\r\n"
    "[Strings]\r\nPrinterName2=\"Stripwell Contract\"\r\n";

std::string InfDirectory(System& system) {
  char windows[kMaxPath] = {};
  system.folders.windowsDirectory(windows, sizeof windows);
  return std::string(windows) + "\\INF\\";
}

bool Listed(System& system, const std::string& directory, const std::string& name) {
  // The size query answers 0 on Wine: a large buffer is given at once.
  std::string list(64 * 1024, '\0');
  std::uint32_t required = 0;
  if (system.devices.getInfFileList(directory.c_str(), kInfStyleWin4, list.data(),
                                    static_cast<std::uint32_t>(list.size()), &required) != 0)
    return false;
  for (const char* p = list.c_str(); *p != '\0'; p += std::strlen(p) + 1) {
    if (crt::StrCmpI(p, name.c_str()) == 0) return true;
  }
  return false;
}

TEST_P(DeviceContract, OemInfIsListedAndUninstalledWithForce) {
  const std::string directory = InfDirectory(sys());
  const std::string name = "oem9731.inf";
  ASSERT_EQ(WriteFileText(sys().files, directory + name, kWin4Inf), error::kSuccess);
  ASSERT_EQ(WriteFileText(sys().files, directory + "oem9732.inf", "[Strings]\r\nx=1\r\n"),
            error::kSuccess);

  // A named directory lists on Wine too; its entries are bare names.
  std::string withoutSlash = directory;
  withoutSlash.pop_back();
  EXPECT_TRUE(Listed(sys(), withoutSlash, name));
  EXPECT_FALSE(Listed(sys(), withoutSlash, "oem9732.inf"));

  EXPECT_EQ(sys().devices.uninstallOemInf(name.c_str(), kSuoiForceDelete), error::kSuccess);
  std::uint32_t attributes = 0;
  EXPECT_NE(sys().files.getAttributes((directory + name).c_str(), attributes), error::kSuccess);
  sys().files.deleteFile((directory + "oem9732.inf").c_str());
}

}  // namespace
}  // namespace contract

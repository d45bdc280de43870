// The resources of Huebridge.dll: string 1, which CMGetInfo(CMM_DESCRIPTION)
// names, and the version resource.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"

namespace {

const std::string& DllPath() {
  static const std::string path = testing_support::HostPath(HUEBRIDGE_DLL);
  return path;
}

TEST(DllResources, DescriptionIsStringOne) {
  HMODULE dll = LoadLibraryExA(DllPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(dll, nullptr) << DllPath();
  char text[256] = {};
  EXPECT_GT(LoadStringA(dll, 1, text, sizeof text), 0);
  EXPECT_STREQ(text, "Color Management Module.");
  FreeLibrary(dll);
}

TEST(DllResources, FileAndProductVersionAre2100) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(DllPath().c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoA(DllPath().c_str(), 0, size, info.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00020001u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00020001u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0u);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));
}

TEST(DllResources, ExportsResolveByTheirPlainNames) {
  HMODULE dll = LoadLibraryA(DllPath().c_str());
  ASSERT_NE(dll, nullptr);
  for (const char* name :
       {"CMCheckColors", "CMCheckColorsInGamut", "CMCheckRGBs", "CMCreateMultiProfileTransform",
        "CMCreateTransformA", "CMCreateTransformExt", "CMCreateTransformExtW", "CMCreateTransformW",
        "CMDeleteTransform", "CMGetInfo", "CMTranslateColors", "CMTranslateRGB", "CMTranslateRGBs",
        "CMTranslateRGBsExt", "DllRegisterServer", "DllUnregisterServer"}) {
    EXPECT_NE(GetProcAddress(dll, name), nullptr) << name;
  }
  auto getInfo = reinterpret_cast<DWORD(WINAPI*)(DWORD)>(
      reinterpret_cast<void (*)()>(GetProcAddress(dll, "CMGetInfo")));
  ASSERT_NE(getInfo, nullptr);
  EXPECT_EQ(getInfo(CMM_DESCRIPTION), 1u);
  FreeLibrary(dll);
}

}  // namespace

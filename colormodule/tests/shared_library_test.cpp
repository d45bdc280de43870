// libhuebridge.so as a caller sees it: every export of the Windows module
// (read from huebridge.def) plus GetLastError and SetLastError resolve by
// name, nothing else is exported, and the exports work through dlopen.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "huebridge.h"
#include "icc_writer.h"
#include "test_support.h"

namespace {

std::set<std::string> DefExports() {
  std::ifstream def(HUEBRIDGE_DEF);
  std::set<std::string> names;
  std::string line;
  bool inExports = false;
  while (std::getline(def, line)) {
    std::istringstream words(line);
    std::string first;
    if (!(words >> first)) continue;
    if (first == "EXPORTS") {
      inExports = true;
    } else if (inExports) {
      names.insert(first);
    }
  }
  return names;
}

// Every name the shared object defines in its dynamic symbol table,
// functions or not.
std::set<std::string> DynamicSymbols() {
  const std::string command = std::string("nm -D --defined-only ") + HUEBRIDGE_SO;
  FILE* pipe = popen(command.c_str(), "r");
  std::set<std::string> names;
  if (pipe == nullptr) return names;
  char line[512];
  while (std::fgets(line, sizeof line, pipe) != nullptr) {
    std::istringstream words(line);
    std::string address, type, name;
    if (words >> address >> type >> name) names.insert(name);
  }
  pclose(pipe);
  return names;
}

class SharedLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    handle_ = dlopen(HUEBRIDGE_SO, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle_, nullptr) << dlerror();
  }
  void TearDown() override {
    if (handle_ != nullptr) dlclose(handle_);
  }
  template <typename Fn>
  Fn* Get(const char* name) {
    return reinterpret_cast<Fn*>(dlsym(handle_, name));
  }
  void* handle_ = nullptr;
};

TEST_F(SharedLibrary, ExportsExactlyTheModuleInterface) {
  std::set<std::string> expected = DefExports();
  ASSERT_EQ(expected.size(), 16u);
  for (const std::string& name : expected) EXPECT_NE(dlsym(handle_, name.c_str()), nullptr) << name;
  expected.insert("GetLastError");
  expected.insert("SetLastError");
  EXPECT_EQ(DynamicSymbols(), expected);
}

TEST_F(SharedLibrary, WorksThroughDlopen) {
  auto create = Get<decltype(CMCreateTransformA)>("CMCreateTransformA");
  auto translate = Get<decltype(CMTranslateColors)>("CMTranslateColors");
  auto destroy = Get<decltype(CMDeleteTransform)>("CMDeleteTransform");
  auto lastError = Get<decltype(GetLastError)>("GetLastError");
  ASSERT_TRUE(create && translate && destroy && lastError);

  std::mt19937 rng(3);
  const std::string path =
      testing_support::WriteScratch("so.icc", icc::TypicalProfile(rng).Build());
  LOGCOLORSPACEA cs = testing_support::ColorSpace();
  EXPECT_EQ(
      reinterpret_cast<std::uintptr_t>(create(&cs, const_cast<char*>("/nonexistent.icc"), nullptr)),
      ERROR_OPEN_FAILED);
  // The library keeps its own last error, apart from the one linked into
  // this test program.
  EXPECT_EQ(lastError(), static_cast<DWORD>(ERROR_OPEN_FAILED));
  HCMTRANSFORM h = create(&cs, const_cast<char*>(path.c_str()), nullptr);
  ASSERT_GE(reinterpret_cast<std::uintptr_t>(h), 256u);
  COLOR in = testing_support::Rgb(0x8000, 0x8000, 0x8000), viaSo{}, linked{};
  EXPECT_TRUE(translate(h, &in, 1, COLOR_RGB, &viaSo, COLOR_CMYK));
  EXPECT_TRUE(destroy(h));
  testing_support::Transform t(path);
  ASSERT_TRUE(CMTranslateColors(t.get(), &in, 1, COLOR_RGB, &linked, COLOR_CMYK));
  EXPECT_EQ(std::memcmp(&viaSo, &linked, sizeof viaSo), 0);
}

TEST_F(SharedLibrary, RegistersAndUnregisters) {
  auto registerServer = Get<decltype(DllRegisterServer)>("DllRegisterServer");
  auto unregisterServer = Get<decltype(DllUnregisterServer)>("DllUnregisterServer");
  ASSERT_TRUE(registerServer && unregisterServer);
  // The library's in-memory registry starts empty in this process.
  EXPECT_EQ(unregisterServer(), E_UNEXPECTED);
  EXPECT_EQ(registerServer(), S_OK);
  EXPECT_EQ(unregisterServer(), S_OK);
  EXPECT_EQ(unregisterServer(), E_UNEXPECTED);
}

}  // namespace

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "platform/win_api.h"

namespace {

TEST(Kernel, ModuleFileNameOfTheProgramAndOfALibrary) {
  char path[512];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  ASSERT_GT(length, 0u);
  EXPECT_EQ(std::strlen(path), length);
  EXPECT_NE(std::string(path).find("platform_tests"), std::string::npos) << path;

  // A function of the driver manager's library; not one that a sanitizer
  // intercepts in the program itself.
  HMODULE odbc = ModuleOfAddress(reinterpret_cast<const void*>(&SQLAllocEnv));
  ASSERT_NE(odbc, nullptr);
  ASSERT_GT(GetModuleFileNameA(odbc, path, sizeof path), 0u);
  EXPECT_NE(std::string(path).find("libodbc"), std::string::npos) << path;

  char small[5];
  EXPECT_EQ(GetModuleFileNameA(nullptr, small, sizeof small), 4u);
  EXPECT_EQ(std::strlen(small), 4u);
  EXPECT_EQ(GetModuleFileNameA(nullptr, small, 0), 0u);
}

TEST(Kernel, FullPathNamesResolveAgainstTheWorkingFolder) {
  const std::string cwd = std::filesystem::current_path().string();
  char path[512];
  char* name = nullptr;
  const DWORD length = GetFullPathNameA("a/../b/./datei.bin", sizeof path, path, &name);
  EXPECT_EQ(std::string(path), cwd + "/b/datei.bin");
  EXPECT_EQ(length, std::strlen(path));
  ASSERT_NE(name, nullptr);
  EXPECT_STREQ(name, "datei.bin");
  EXPECT_EQ(GetFullPathNameA("/x/y/../z", sizeof path, path, nullptr), 4u);
  EXPECT_STREQ(path, "/x/z");
  // Too small: the size needed with the zero byte, nothing written.
  char small[4] = "abc";
  EXPECT_EQ(GetFullPathNameA("/x/z", sizeof small, small, nullptr), 5u);
  EXPECT_STREQ(small, "abc");
  EXPECT_EQ(GetFullPathNameA("", sizeof path, path, nullptr), 0u);
}

}  // namespace

#include <gtest/gtest.h>

#include <cstring>
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

}  // namespace

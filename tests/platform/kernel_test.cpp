#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include <sys/mman.h>

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

// Memory the process cannot read is reported, not faulted on: a page
// without access, a range that ends in it, and any process but this one.
TEST(Kernel, ReadProcessMemoryReadsOnlyWhatIsThere) {
  constexpr size_t kPage = 4096;
  auto* pages = static_cast<char*>(mmap(nullptr, 2 * kPage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
  ASSERT_NE(pages, MAP_FAILED);
  ASSERT_EQ(mprotect(pages + kPage, kPage, PROT_NONE), 0);
  std::memset(pages, 'a', kPage);
  struct Case { const char* what; HANDLE process; const char* from; SIZE_T size; BOOL read; };
  const Case cases[] = {
      {"readable", GetCurrentProcess(), pages + kPage - 100, 100, TRUE},
      {"nothing", GetCurrentProcess(), pages + kPage, 0, TRUE},
      {"a page without access", GetCurrentProcess(), pages + kPage, 10, FALSE},
      {"ends in it", GetCurrentProcess(), pages + kPage - 100, 101, FALSE},
      {"another process", reinterpret_cast<HANDLE>(42), pages, 10, FALSE},
  };
  for (const Case& c : cases) {
    std::string buffer(200, '-');
    SIZE_T read = 99;
    EXPECT_EQ(ReadProcessMemory(c.process, c.from, buffer.data(), c.size, &read), c.read) << c.what;
    EXPECT_EQ(read, c.read ? c.size : 0) << c.what;
    if (c.read) {
      EXPECT_EQ(buffer.substr(0, c.size), std::string(c.size, 'a')) << c.what;
    }
  }
  munmap(pages, 2 * kPage);
}

}  // namespace

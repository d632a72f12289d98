// The Windows file calls off Windows: the temp folder, a file deleted when
// its handle closes, positions beyond 4 GiB.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/win_api.h"
#include "support/test_env.h"

namespace {

TEST(FilesTest, TempPathAsWindowsGivesIt) {
  testenv::ScopedEnv tmpdir("TMPDIR", std::string("/var/tmp/x"));
  char path[16] = "unverändert";
  EXPECT_EQ(GetTempPathA(sizeof path, path), 11u);
  EXPECT_STREQ(path, "/var/tmp/x/");
  char small[11] = "unchanged";
  EXPECT_EQ(GetTempPathA(sizeof small, small), 12u) << "the size it needs, zero byte included";
  EXPECT_STREQ(small, "unchanged");
  testenv::ScopedEnv unset("TMPDIR", std::nullopt);
  EXPECT_EQ(GetTempPathA(sizeof path, path), 5u);
  EXPECT_STREQ(path, "/tmp/");
}

TEST(FilesTest, DeletedOnCloseAndPositionsBeyondFourGiB) {
  testenv::TempDir temp;
  const std::string name = (temp.Path() / "spill").string();
  HANDLE file = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(std::filesystem::exists(name));
  LARGE_INTEGER far{};
  far.QuadPart = (int64_t{5} << 30) + 3;
  LARGE_INTEGER at{};
  DWORD done = 0;
  ASSERT_TRUE(SetFilePointerEx(file, far, &at, FILE_BEGIN));
  EXPECT_EQ(at.QuadPart, far.QuadPart);
  ASSERT_TRUE(WriteFile(file, "abcd", 4, &done, nullptr));
  EXPECT_EQ(done, 4u);
  char back[8] = {};
  ASSERT_TRUE(SetFilePointerEx(file, far, nullptr, FILE_BEGIN));
  ASSERT_TRUE(ReadFile(file, back, sizeof back, &done, nullptr));
  EXPECT_EQ(done, 4u) << "a read stops at the end";
  EXPECT_STREQ(back, "abcd");
  EXPECT_TRUE(CloseHandle(file));
  EXPECT_FALSE(CloseHandle(INVALID_HANDLE_VALUE));
  EXPECT_FALSE(ReadFile(INVALID_HANDLE_VALUE, back, 1, &done, nullptr));
  EXPECT_EQ(CreateFileA((temp.Path() / "fehlt" / "x").string().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                        nullptr),
            INVALID_HANDLE_VALUE);
}

}  // namespace

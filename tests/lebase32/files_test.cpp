#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "include/lebase32.h"

namespace {

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = (std::filesystem::temp_directory_path() / UniqName(0)).string();
  }
  void TearDown() override { std::filesystem::remove(path_); }

  void WriteFile(const std::string& content) {
    std::ofstream(path_, std::ios::binary) << content;
  }

  std::vector<std::string> ReadLines(int32_t size) {
    std::vector<std::string> lines;
    const int32_t handle = X_Open(path_.c_str(), 0);
    EXPECT_GE(handle, 0);
    std::vector<char> buffer(static_cast<std::size_t>(size) + 1, '#');
    while (X_Readln(handle, buffer.data(), size)) {
      EXPECT_EQ(buffer[static_cast<std::size_t>(size)], '#');  // never past size
      lines.emplace_back(buffer.data());
    }
    X_Close(handle);
    return lines;
  }

  std::string path_;
};

TEST_F(FilesTest, ReadsLinesWithEitherLineEndAndALastLineWithoutOne) {
  WriteFile("FIELD=a\r\nKEY=b\n\nlast");
  EXPECT_EQ(ReadLines(300), (std::vector<std::string>{"FIELD=a", "KEY=b", "", "last"}));
}

TEST_F(FilesTest, CutsLongLinesAndSkipsTheirRest) {
  // The rest of a cut line must not come back as a line of its own.
  const std::string long_line = std::string(700, 'x') + "FIELD=injected";
  WriteFile(long_line + "\nnext\n");
  const auto lines = ReadLines(300);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], std::string(299, 'x'));
  EXPECT_EQ(lines[1], "next");
}

TEST_F(FilesTest, WritesSeeksAndReads) {
  const int32_t handle = X_Creat(path_.c_str());
  ASSERT_GE(handle, 0);
  EXPECT_EQ(X_Write(handle, "hello world", 11), 11);
  EXPECT_EQ(X_Seek(handle, 0, 1), 11);
  EXPECT_EQ(X_Seek(handle, 0, 2), 11);
  EXPECT_EQ(X_Seek(handle, 6, 0), 6);
  char buffer[8] = {};
  EXPECT_EQ(X_Read(handle, buffer, 7), 5);
  EXPECT_STREQ(buffer, "world");
  EXPECT_EQ(X_Read(handle, buffer, 7), 0);
  EXPECT_EQ(X_Seek(handle, 0, 9), -1);
  EXPECT_EQ(X_Close(handle), 0);
}

TEST_F(FilesTest, FailuresAreMinusOne) {
  EXPECT_EQ(X_Open(path_.c_str(), 0), -1);  // does not exist
  EXPECT_EQ(X_Open(nullptr, 0), -1);
  WriteFile("x");
  EXPECT_EQ(X_Open(path_.c_str(), 3), -1);
  EXPECT_EQ(X_Read(-1, nullptr, 1), -1);
  char buffer[4];
  EXPECT_EQ(X_Read(-1, buffer, 1), -1);
  EXPECT_EQ(X_Readln(-1, buffer, 4), 0);
}

}  // namespace

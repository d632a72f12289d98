#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

#include "include/lebase32.h"
#include "support/test_env.h"

namespace {

class FilesTest : public ::testing::Test {
 protected:
  // The lines X_Readln gives with a buffer of size bytes.
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

  testenv::TempDir dir_;
  const std::string path_ = dir_.File("file.txt");
};

TEST_F(FilesTest, ReadsLinesCuttingLongOnesAndSkippingTheirRestFromFilesAndPipes) {
  struct Case { std::string content; std::vector<std::string> lines; };
  const Case cases[] = {
      {"FIELD=a\r\nKEY=b\n\nlast", {"FIELD=a", "KEY=b", "", "last"}},
      // The rest of a cut line must not come back as a line of its own.
      {std::string(700, 'x') + "FIELD=injected\nnext\n", {std::string(299, 'x'), "next"}},
  };
  for (const Case& c : cases) {
    testenv::WriteText(path_, c.content);
    EXPECT_EQ(ReadLines(300), c.lines);
  }
  // A folder is refused; a pipe is read to its last line.
  std::filesystem::remove(path_);
  EXPECT_EQ(X_Open(dir_.Path().string().c_str(), 0), -1);
#if !defined(_WIN32)
  ASSERT_EQ(mkfifo(path_.c_str(), 0600), 0);
  std::thread writer([&] { testenv::WriteText(path_, "FIELD=a\nKEY=b\r\nlast"); });
  EXPECT_EQ(ReadLines(300), (std::vector<std::string>{"FIELD=a", "KEY=b", "last"}));
  writer.join();
#endif
}

TEST_F(FilesTest, WritesSeeksAndReadsAndFailsWithMinusOne) {
  EXPECT_EQ(X_Open(path_.c_str(), 0), -1);  // does not exist yet
  const int32_t handle = X_Creat(path_.c_str());
  ASSERT_GE(handle, 0);
  EXPECT_EQ(X_Write(handle, "hello world", 11), 11);
  EXPECT_EQ(X_Seek(handle, 2, 0), 2);    // from the start
  EXPECT_EQ(X_Seek(handle, 4, 1), 6);    // from here
  EXPECT_EQ(X_Seek(handle, -5, 2), 6);   // from the end
  EXPECT_EQ(X_Seek(handle, 0, 9), -1);
  char buffer[8] = {};
  EXPECT_EQ(X_Read(handle, buffer, 7), 5);
  EXPECT_STREQ(buffer, "world");
  EXPECT_EQ(X_Read(handle, nullptr, 1), -1);
  EXPECT_EQ(X_Close(handle), 0);
  EXPECT_EQ(X_Open(nullptr, 0), -1);
  EXPECT_EQ(X_Open(path_.c_str(), 3), -1);
  EXPECT_EQ(X_Readln(-1, buffer, 4), 0);
}


TEST(Memory, BlocksAreZeroedAlignedAndCounted) {
  int32_t bytes_before = 0, blocks_before = 0;
  GetGlobalUsage(&bytes_before, &blocks_before);
  auto* first = static_cast<unsigned char*>(AllocGlobal(1000));
  void* empty = AllocGlobal(0);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(empty, nullptr);
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(first[i], 0);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(first) % 8, 0u);

  int32_t bytes = 0, blocks = 0;
  GetGlobalUsage(&bytes, &blocks);
  EXPECT_EQ(bytes - bytes_before, 1000);
  EXPECT_EQ(blocks - blocks_before, 2);

  FreeGlobal(first);
  FreeGlobal(empty);
  FreeGlobal(nullptr);
  // Beyond a 32-bit address space with the block's header: no block at all.
  void* huge = AllocGlobal(UINT32_MAX);
  if (sizeof(void*) == 4) {
    EXPECT_EQ(huge, nullptr);
  }
  FreeGlobal(huge);
  GetGlobalUsage(&bytes, nullptr);
  GetGlobalUsage(nullptr, &blocks);
  EXPECT_EQ(bytes, bytes_before);
  EXPECT_EQ(blocks, blocks_before);
}

}  // namespace

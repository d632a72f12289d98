#include <gtest/gtest.h>

#include <cstdint>

#include "include/lebase32.h"

namespace {

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

// Global memory blocks as hosts and the blob calls use them. The same cases
// run against Windows' own functions under Wine, so that the stand-ins are
// held to what Windows does.
#include <gtest/gtest.h>

#include <cstring>

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include "include/lebase32.h"
#endif

namespace {

TEST(GlobalMemoryTest, MovableBlocksLockByCountAndKeepTheirBytes) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | 0x2000 /* GMEM_DDESHARE: no effect */, 100);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(GlobalSize(block), 100u);
  auto* bytes = static_cast<unsigned char*>(GlobalLock(block));
  ASSERT_NE(bytes, nullptr);
  EXPECT_NE(static_cast<void*>(bytes), block);  // a movable block's handle is not its address
  EXPECT_EQ(bytes[0] + bytes[99], 0);
  std::memcpy(bytes, "abc", 3);
  EXPECT_EQ(GlobalLock(block), bytes);
  EXPECT_NE(GlobalUnlock(block), 0);  // still locked once
  EXPECT_EQ(GlobalUnlock(block), 0);  // unlocked now
  EXPECT_EQ(std::memcmp(GlobalLock(block), "abc", 3), 0);
  GlobalUnlock(block);
  EXPECT_EQ(GlobalFree(block), nullptr);
}

TEST(GlobalMemoryTest, FixedBlocksAreTheirAddress) {
  HGLOBAL block = GlobalAlloc(GPTR, 10);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(GlobalLock(block), block);
  EXPECT_EQ(static_cast<unsigned char*>(block)[9], 0);
  GlobalUnlock(block);
  EXPECT_EQ(GlobalFree(block), nullptr);
  HGLOBAL empty = GlobalAlloc(GMEM_FIXED, 0);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(GlobalLock(empty), empty);
  GlobalUnlock(empty);
  EXPECT_EQ(GlobalFree(empty), nullptr);
}

TEST(GlobalMemoryTest, AnEmptyMovableBlockHasNoAddress) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 0);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(GlobalSize(block), 0u);
  EXPECT_EQ(GlobalLock(block), nullptr);
  EXPECT_EQ(GlobalFree(block), nullptr);
}

#if !defined(_WIN32)
// Windows may crash on such handles; the stand-ins refuse them.
TEST(GlobalMemoryTest, UnknownHandlesAreRefused) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 8);
  ASSERT_EQ(GlobalFree(block), nullptr);
  int on_stack = 0;
  for (HGLOBAL stale : {block, static_cast<HGLOBAL>(&on_stack), HGLOBAL{nullptr}}) {
    EXPECT_EQ(GlobalLock(stale), nullptr);
    EXPECT_EQ(GlobalUnlock(stale), 0);
    EXPECT_EQ(GlobalSize(stale), 0u);
    EXPECT_EQ(GlobalFree(stale), stale);
  }
  EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, 0x80000000u), nullptr);  // beyond a 32-bit block
}
#endif

}  // namespace

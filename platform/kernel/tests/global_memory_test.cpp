// Global memory blocks: moveable handles with a lock count, fixed blocks, stale handles.
#include <gtest/gtest.h>

#include <cstring>

#include "kernel/process.h"
#include "win/errors.h"

namespace {

TEST(GlobalMemory, MoveableBlockLocksAndUnlocksWithACount) {
  HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE, 32);
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(GlobalSize(handle), 32u);
  void* first = GlobalLock(handle);
  ASSERT_NE(first, nullptr);
  EXPECT_NE(first, handle);  // the handle is no address
  std::memcpy(first, "clipboard text", 15);
  EXPECT_EQ(GlobalLock(handle), first);

  struct Step {
    BOOL result;
    DWORD error;
  } steps[] = {
      {TRUE, 777},            // still locked once: the last error is left alone
      {FALSE, ERROR_SUCCESS},  // this unlock released it
      {FALSE, ERROR_NOT_LOCKED},
  };
  for (const Step& step : steps) {
    SetLastError(777);
    EXPECT_EQ(GlobalUnlock(handle), step.result) << (&step - steps);
    EXPECT_EQ(GetLastError(), step.error) << (&step - steps);
  }
  EXPECT_STREQ(static_cast<char*>(GlobalLock(handle)), "clipboard text");
  GlobalUnlock(handle);
  EXPECT_EQ(GlobalFree(handle), nullptr);
}

TEST(GlobalMemory, ZeroInitAndFixedBlocks) {
  HGLOBAL zeroed = GlobalAlloc(GHND, 256);
  auto* bytes = static_cast<unsigned char*>(GlobalLock(zeroed));
  ASSERT_NE(bytes, nullptr);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(bytes[i], 0) << i;
  GlobalUnlock(zeroed);
  GlobalFree(zeroed);

  HGLOBAL fixed = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, 8);
  ASSERT_NE(fixed, nullptr);
  EXPECT_EQ(GlobalLock(fixed), fixed);  // a fixed block's handle is its address
  EXPECT_EQ(GlobalSize(fixed), 8u);
  EXPECT_EQ(GlobalFree(fixed), nullptr);
}

TEST(GlobalMemory, EmptyMoveableBlockHasNoMemory) {
  HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE, 0);
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(GlobalSize(handle), 0u);
  EXPECT_EQ(GlobalLock(handle), nullptr);
  EXPECT_EQ(GlobalFree(handle), nullptr);
}

TEST(GlobalMemory, StaleAndForeignHandlesAreRefused) {
  HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE, 4);
  ASSERT_EQ(GlobalFree(handle), nullptr);
  int foreign = 0;
  for (HGLOBAL bad : {handle, static_cast<HGLOBAL>(&foreign)}) {
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(GlobalLock(bad), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(GlobalUnlock(bad));
    EXPECT_EQ(GlobalSize(bad), 0u);
    EXPECT_EQ(GlobalFree(bad), bad);  // failure gives the handle back
  }
  EXPECT_EQ(GlobalFree(nullptr), nullptr);
}

TEST(GlobalMemory, RefusesBlocksAbove2GiB) {
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, SIZE_T{0x80000000}), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_MEMORY);
  EXPECT_EQ(GlobalAlloc(GMEM_FIXED, SIZE_MAX), nullptr);
}

}  // namespace

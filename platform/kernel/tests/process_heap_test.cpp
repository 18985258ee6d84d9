// The process heap: zeroed blocks, resizing, and refusal of what a 32-bit heap cannot give.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "kernel/process.h"

namespace {

bool AllZero(const void* block, SIZE_T bytes) {
  auto* p = static_cast<const unsigned char*>(block);
  for (SIZE_T i = 0; i < bytes; ++i) {
    if (p[i] != 0) return false;
  }
  return true;
}

TEST(Heap, RefusesBlocksAbove2GiBWithoutTryingThem) {
  HANDLE heap = GetProcessHeap();
  for (SIZE_T bytes : {SIZE_T{0x80000000}, SIZE_T{0xFFFFFFFF}, SIZE_MAX, SIZE_MAX - 8}) {
    EXPECT_EQ(HeapAlloc(heap, 0, bytes), nullptr) << bytes;
    EXPECT_EQ(HeapAlloc(heap, HEAP_ZERO_MEMORY, bytes), nullptr) << bytes;
  }
  void* block = HeapAlloc(heap, 0, 16);
  ASSERT_NE(block, nullptr);
  std::memcpy(block, "fifteen letters", 16);
  EXPECT_EQ(HeapReAlloc(heap, 0, block, SIZE_MAX), nullptr);
  EXPECT_STREQ(static_cast<char*>(block), "fifteen letters");  // the block survives a refusal
  EXPECT_EQ(HeapSize(heap, 0, block), 16u);
  EXPECT_TRUE(HeapFree(heap, 0, block));
}

TEST(Heap, ZeroMemoryOnAllocAndOnGrowth) {
  HANDLE heap = GetProcessHeap();
  // Dirty the heap first so that fresh memory is unlikely to be zero by chance.
  for (int i = 0; i < 8; ++i) {
    void* dirty = HeapAlloc(heap, 0, 4096);
    std::memset(dirty, 0xAB, 4096);
    HeapFree(heap, 0, dirty);
  }
  auto* block = static_cast<unsigned char*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, 4096));
  ASSERT_NE(block, nullptr);
  EXPECT_TRUE(AllZero(block, 4096));
  std::memset(block, 0x5A, 4096);
  block = static_cast<unsigned char*>(HeapReAlloc(heap, HEAP_ZERO_MEMORY, block, 10000));
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(HeapSize(heap, 0, block), 10000u);
  EXPECT_EQ(block[0], 0x5A);
  EXPECT_EQ(block[4095], 0x5A);
  EXPECT_TRUE(AllZero(block + 4096, 10000 - 4096));
  EXPECT_TRUE(HeapFree(heap, 0, block));
}

TEST(Heap, ResizeKeepsContentsAndInPlaceOnlyCannotGrow) {
  HANDLE heap = GetProcessHeap();
  auto* block = static_cast<char*>(HeapAlloc(heap, 0, 8));
  ASSERT_NE(block, nullptr);
  std::memcpy(block, "1234567", 8);
  EXPECT_EQ(HeapReAlloc(heap, HEAP_REALLOC_IN_PLACE_ONLY, block, 64), nullptr);
  EXPECT_EQ(HeapReAlloc(heap, HEAP_REALLOC_IN_PLACE_ONLY, block, 4), block);
  EXPECT_EQ(HeapSize(heap, 0, block), 4u);
  block = static_cast<char*>(HeapReAlloc(heap, 0, block, 100000));
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(std::memcmp(block, "1234", 4), 0);
  EXPECT_TRUE(HeapFree(heap, 0, block));
}

TEST(Heap, EdgeArguments) {
  HANDLE heap = GetProcessHeap();
  void* empty = HeapAlloc(heap, 0, 0);
  EXPECT_NE(empty, nullptr);  // a zero-byte block is still a block
  EXPECT_EQ(HeapSize(heap, 0, empty), 0u);
  EXPECT_TRUE(HeapFree(heap, 0, empty));
  EXPECT_TRUE(HeapFree(heap, 0, nullptr));
  EXPECT_EQ(HeapReAlloc(heap, 0, nullptr, 8), nullptr);
  int other = 0;
  EXPECT_EQ(HeapAlloc(&other, 0, 8), nullptr);  // not a heap
}

}  // namespace

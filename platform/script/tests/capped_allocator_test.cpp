// The engine's memory: a cap that refuses growth beyond it and keeps what exists intact.
#include "capped_allocator.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

using script::detail::CappedAllocator;

TEST(CappedAllocator, CountsAndRefusesBeyondTheLimit) {
  CappedAllocator allocator;
  allocator.SetLimit(1000);
  void* a = allocator.Allocate(600);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(allocator.InUse(), 600u);
  EXPECT_FALSE(allocator.Refused());
  EXPECT_EQ(allocator.Allocate(401), nullptr);
  EXPECT_TRUE(allocator.Refused());
  allocator.ClearRefused();
  void* b = allocator.Allocate(400);  // exactly up to the limit
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(allocator.InUse(), 1000u);
  EXPECT_FALSE(allocator.Refused());
  allocator.Free(a);
  allocator.Free(b);
  EXPECT_EQ(allocator.InUse(), 0u);
}

TEST(CappedAllocator, RefusedGrowthKeepsTheBlock) {
  CappedAllocator allocator;
  allocator.SetLimit(100);
  auto* block = static_cast<char*>(allocator.Allocate(10));
  ASSERT_NE(block, nullptr);
  std::memcpy(block, "0123456789", 10);
  EXPECT_EQ(allocator.Reallocate(block, 101), nullptr);
  EXPECT_TRUE(allocator.Refused());
  EXPECT_EQ(std::memcmp(block, "0123456789", 10), 0);
  EXPECT_EQ(allocator.InUse(), 10u);

  auto* grown = static_cast<char*>(allocator.Reallocate(block, 100));
  ASSERT_NE(grown, nullptr);
  EXPECT_EQ(std::memcmp(grown, "0123456789", 10), 0);
  EXPECT_EQ(allocator.InUse(), 100u);
  auto* shrunk = static_cast<char*>(allocator.Reallocate(grown, 4));
  ASSERT_NE(shrunk, nullptr);
  EXPECT_EQ(std::memcmp(shrunk, "0123", 4), 0);
  EXPECT_EQ(allocator.InUse(), 4u);
  EXPECT_EQ(allocator.Reallocate(shrunk, 0), nullptr);  // frees
  EXPECT_EQ(allocator.InUse(), 0u);
}

TEST(CappedAllocator, LimitBelowWhatIsInUse) {
  CappedAllocator allocator;
  void* big = allocator.Allocate(5000);
  allocator.SetLimit(1000);
  EXPECT_EQ(allocator.Allocate(1), nullptr);
  EXPECT_EQ(allocator.Reallocate(big, 5001), nullptr);
  void* smaller = allocator.Reallocate(big, 3000);  // shrinking is always admitted
  ASSERT_NE(smaller, nullptr);
  allocator.Free(smaller);
  EXPECT_NE(allocator.Allocate(1000), nullptr);  // freed by FreeAll at the end
}

TEST(CappedAllocator, ReallocateOfNullAllocatesAndBlocksAreAligned) {
  CappedAllocator allocator;
  void* block = allocator.Reallocate(nullptr, 24);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % alignof(std::max_align_t), 0u);
  EXPECT_EQ(allocator.InUse(), 24u);
  allocator.Free(nullptr);
  allocator.Free(block);
}

TEST(CappedAllocator, FreeAllReleasesEveryBlock) {
  CappedAllocator allocator;
  void* blocks[5];
  for (void*& b : blocks) b = allocator.Allocate(64);
  blocks[2] = allocator.Reallocate(blocks[2], 4096);  // moved blocks stay linked
  allocator.Free(blocks[0]);
  allocator.FreeAll();
  EXPECT_EQ(allocator.InUse(), 0u);
  // The sanitizer build checks that nothing leaked.
}

}  // namespace

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

#include "error_text.h"
#include "runtime/entry_table.h"
#include "runtime/frame.h"

namespace runtime {
namespace {

using testing::HasSubstr;
using testing::Not;

// Literal data of a program: registered once as its ConstantRange.
const char kConstants[] = "literal text\0second";

void RegisterConstantsOnce() {
  static bool registered = (RegisterConstantRange(kConstants, sizeof kConstants), true);
  (void)registered;
}

TEST(MemoryBlocks, AllocateResizeAndFreeKeepTheContent) {
  const RuntimeEntryTable& entries = EntryTable();
  auto* block = static_cast<char*>(entries.AllocBlock(4));
  std::memcpy(block, "abc", 4);
  block = static_cast<char*>(entries.ResizeBlock(block, 4096));
  EXPECT_STREQ(block, "abc");
  entries.FreeBlock(block);
  entries.FreeBlock(nullptr);  // nothing happens
}

TEST(MemoryBlocks, ResizingNullAllocates) {
  void* block = ResizeBlock(nullptr, 16);
  ASSERT_NE(block, nullptr);
  FreeBlock(block);
}

TEST(ConstantRange, LiteralsAreNeverFreed) {
  RegisterConstantsOnce();
  FreeBlock(const_cast<char*>(kConstants));
  FreeBlock(const_cast<char*>(kConstants + 5));
  EXPECT_STREQ(kConstants, "literal text");  // still readable: nothing was handed to the heap
  EXPECT_TRUE(InConstantRange(kConstants + sizeof kConstants - 1));
  EXPECT_FALSE(InConstantRange(kConstants + sizeof kConstants));
}

TEST(ConstantRange, ResizingALiteralCopiesOnlyUpToTheEndOfTheConstants) {
  RegisterConstantsOnce();
  const char* second = kConstants + 13;  // "second" and its NUL: the last 7 bytes
  auto* copy = static_cast<char*>(ResizeBlock(const_cast<char*>(second), 64));
  ASSERT_NE(copy, second);
  EXPECT_EQ(std::memcmp(copy, "second", 7), 0);
  FreeBlock(copy);

  auto* shorter = static_cast<char*>(ResizeBlock(const_cast<char*>(kConstants), 4));
  EXPECT_EQ(std::memcmp(shorter, "lite", 4), 0);
  FreeBlock(shorter);
}

TEST(ValueBlocks, EmptyValuesAreNull) {
  EXPECT_EQ(NewText("", 0), nullptr);
  EXPECT_EQ(NewText(nullptr), nullptr);
  EXPECT_EQ(NewByteSet("x", 0), nullptr);
}

TEST(ValueBlocks, TextsAreTerminatedAndByteSetsCarryTheirHeader) {
  Text text = NewText("ab\0cd", 5);
  EXPECT_EQ(std::memcmp(text, "ab\0cd\0", 6), 0);
  FreeBlock(text);

  void* bytes = NewByteSet("\x01\x00\x02", 3);
  std::int32_t header[2];
  std::memcpy(header, bytes, sizeof header);
  EXPECT_EQ(header[0], 1);
  EXPECT_EQ(header[1], 3);
  EXPECT_EQ(ByteSetLength(bytes), 3);
  EXPECT_EQ(std::memcmp(ByteSetBytes(bytes), "\x01\x00\x02", 3), 0);
  FreeBlock(bytes);
}

TEST(ValueBlocks, ArraysOfNoElementsStillExist) {
  void* array = NewArray1(0, 8);
  ASSERT_NE(array, nullptr);
  EXPECT_EQ(ArrayDimensions(array), 1);
  EXPECT_EQ(ArrayCount(array), 0);
  FreeBlock(array);

  void* numbers = NewArray1(3, 4);
  EXPECT_EQ(ArrayCount(numbers), 3);
  EXPECT_EQ(ArrayElementAt<std::int32_t>(numbers, 2), 0);
  FreeBlock(numbers);
}

TEST(AllocationFailureDeathTest, ARefusedRequestIsAMessageOnlyError) {
  EXPECT_EXIT(AllocBlock(-1), testing::ExitedWithCode(255),
              testing::AllOf(HasSubstr(MessageErrorBox("分配 -1 字节内存失败!")), Not(HasSubstr("错误代码"))));
  EXPECT_EXIT(ResizeBlock(AllocBlock(8), -5), testing::ExitedWithCode(255),
              HasSubstr(MessageErrorBox("分配 -5 字节内存失败!")));
}

TEST(AllocationFailure, TheQuietRequestGivesNull) {
  EXPECT_EQ(TryAllocBlock(-1), nullptr);
  EXPECT_EQ(RuntimeNotify(notify::Allocate, -1, 1), 0);
  EXPECT_EXIT(RuntimeNotify(notify::Allocate, -1, 0), testing::ExitedWithCode(255), HasSubstr("分配 -1 字节"));
}

}  // namespace
}  // namespace runtime

#include <gtest/gtest.h>

#include <cstring>

#include "app/testing/program_test.h"
#include "app/text/text_primitives.h"

namespace app {
namespace {

TEST(CompareText, RawUnsignedBytesWithNullAsEmpty) {
  struct Case {
    const char* a;
    const char* b;
    std::int32_t order;
  } cases[] = {
      {nullptr, "", 0},    {"", nullptr, 0},      {nullptr, nullptr, 0}, {nullptr, "a", -1}, {"a", nullptr, 1},
      {"a", "b", -1},      {"b", "a", 1},         {"ab", "a", 1},        {"a", "ab", -1},    {"abc", "abc", 0},
      {"\xB0", "a", 1},    {"a\xB0", "a\x7F", 1},  // bytes compare unsigned
      {"A", "a", -1},      // no case folding
  };
  for (const Case& c : cases) EXPECT_EQ(CompareText(c.a, c.b), c.order) << (c.a ? c.a : "null") << " " << (c.b ? c.b : "null");
}

TEST(ConcatTexts, AlwaysANewBlockHoldingThePiecesInOrder) {
  runtime::Text empty = ConcatTexts({nullptr, ""});
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(TextLength(empty), 0);
  EXPECT_EQ(testing::TakeText(empty), "");
  EXPECT_EQ(testing::TakeText(ConcatTexts({"ab", nullptr, "", "c", "\xD6\xD0"})), "abc\xD6\xD0");
  EXPECT_EQ(TextLength(nullptr), 0);
  EXPECT_EQ(TextLength("\xD6\xD0x"), 3);
}

TEST(ArrayHelpers, CountIsTheProductOfTheSizesAndDataFollowsTheHeader) {
  std::int32_t none[] = {0};
  std::int32_t one[] = {1, 3, 7, 8, 9};
  std::int32_t two[] = {2, 2, 3, 0, 0, 0, 0, 0, 0};
  std::int32_t empty[] = {1, 0};
  EXPECT_EQ(ArrayElementCount(none), 0);
  EXPECT_EQ(ArrayElementCount(one), 3);
  EXPECT_EQ(ArrayElementCount(two), 6);
  EXPECT_EQ(ArrayElementCount(empty), 0);

  ArrayDataResult data = ArrayData(one);
  EXPECT_EQ(data.count, 3);
  EXPECT_EQ(data.elements, reinterpret_cast<unsigned char*>(&one[2]));
  EXPECT_EQ(ArrayData(two).elements, reinterpret_cast<unsigned char*>(&two[3]));
  ArrayDataResult null = ArrayData(nullptr);
  EXPECT_EQ(null.count, 0);
  EXPECT_EQ(null.elements, nullptr);
}

}  // namespace
}  // namespace app

// Text commands that slice, change case and drop spaces.
#include <gtest/gtest.h>

#include "core_call.h"

namespace core_test {
namespace {

namespace command = runtime::core::command;
using runtime::IntArg;
using runtime::OmittedArg;

// "中文" in GBK: D6D0 CEC4.
constexpr char kChinese[] = "\xD6\xD0\xCE\xC4";

TEST(TextLength, CountsBytesBeforeTheNul) {
  EXPECT_EQ(CallInt(command::GetTextLength, {Text("")}), 0);
  EXPECT_EQ(CallInt(command::GetTextLength, {Text("abc")}), 3);
  EXPECT_EQ(CallInt(command::GetTextLength, {Text(kChinese)}), 4);
  // A caller that passes null after all reads as the empty text.
  EXPECT_EQ(CallInt(command::GetTextLength, {runtime::PointerArg(nullptr, runtime::types::Text)}), 0);
  EXPECT_EQ(CallInt(command::GetTextLength, {}), 0);
}

struct SliceCase {
  std::int32_t command;
  const char* text;
  std::int32_t a;
  std::int32_t b;  // TextMiddle only
  const char* expected;
};

TEST(TextSlices, CountBytesAndClampToTheText) {
  const SliceCase cases[] = {
      {command::TextLeft, "abcdef", 2, 0, "ab"},
      {command::TextLeft, "abcdef", 0, 0, ""},
      {command::TextLeft, "abcdef", -3, 0, ""},
      {command::TextLeft, "abcdef", 99, 0, "abcdef"},
      {command::TextLeft, "", 3, 0, ""},
      {command::TextLeft, kChinese, 3, 0, "\xD6\xD0\xCE"},  // cuts a character in half
      {command::TextRight, "abcdef", 2, 0, "ef"},
      {command::TextRight, "abcdef", 0, 0, ""},
      {command::TextRight, "abcdef", 99, 0, "abcdef"},
      {command::TextRight, kChinese, 1, 0, "\xC4"},
      {command::TextMiddle, "abcdef", 2, 3, "bcd"},
      {command::TextMiddle, "abcdef", 1, 6, "abcdef"},
      {command::TextMiddle, "abcdef", 5, 99, "ef"},
      {command::TextMiddle, "abcdef", 6, 1, "f"},
      {command::TextMiddle, "abcdef", 7, 1, ""},
      {command::TextMiddle, "abcdef", 0, 3, ""},
      {command::TextMiddle, "abcdef", -1, 3, ""},
      {command::TextMiddle, "abcdef", 2, 0, ""},
      {command::TextMiddle, "abcdef", 2, -1, ""},
      {command::TextMiddle, "abcdef", 2, 2147483647, "bcdef"},
      {command::TextMiddle, kChinese, 2, 2, "\xD0\xCE"},
  };
  for (const SliceCase& c : cases) {
    std::vector<CommandArg> args = {Text(c.text), IntArg(c.a)};
    if (c.command == command::TextMiddle) args.push_back(IntArg(c.b));
    EXPECT_EQ(CallText(c.command, args), c.expected) << "command " << c.command << " on '" << c.text << "' " << c.a
                                                     << ", " << c.b;
  }
}

TEST(TextSlices, LeftOutCountsGiveEmptyTexts) {
  EXPECT_EQ(CallText(command::TextLeft, {Text("abc"), OmittedArg}), "");
  EXPECT_EQ(CallText(command::TextMiddle, {Text("abc"), IntArg(1), OmittedArg}), "");
  EXPECT_EQ(CallText(command::TextRight, {Text("abc")}), "");
}

TEST(CharFromCode, MakesOneByteFromTheLowEightBits) {
  EXPECT_EQ(CallText(command::CharFromCode, {runtime::MakeArg(0x41, runtime::types::Byte)}), "A");
  EXPECT_EQ(CallText(command::CharFromCode, {IntArg(0x1B0)}), "\xB0");
  EXPECT_EQ(CallText(command::CharFromCode, {IntArg(0)}), "");
  EXPECT_EQ(CallText(command::CharFromCode, {IntArg(0x100)}), "");
}

TEST(SpaceText, MakesHalfWidthSpaces) {
  EXPECT_EQ(CallText(command::SpaceText, {IntArg(3)}), "   ");
  EXPECT_EQ(CallText(command::SpaceText, {IntArg(1024)}), std::string(1024, ' '));
  EXPECT_EQ(CallText(command::SpaceText, {IntArg(0)}), "");
  EXPECT_EQ(CallText(command::SpaceText, {IntArg(-5)}), "");
}

struct WalkCase {
  const char* text;
  const char* upper;
  const char* lower;
  const char* withoutSpaces;
};

TEST(CharacterWalks, ChangeOnlySingleByteCharacters) {
  const WalkCase cases[] = {
      {"", "", "", ""},
      {"Hello World", "HELLO WORLD", "hello world", "HelloWorld"},
      // B0 61 and B0 41 are double-byte characters whose trail byte looks like a letter.
      {"\xB0\x61z\xB0\x41Z", "\xB0\x61Z\xB0\x41Z", "\xB0\x61z\xB0\x41z", "\xB0\x61z\xB0\x41Z"},
      // A lead byte before the NUL: kept by the case changes, dropped with the spaces.
      {"a b\xB0", "A B\xB0", "a b\xB0", "ab"},
      // Full-width space A1A1 goes, A1 20 is one character and stays, as do tabs and breaks.
      {"x\xA1\xA1y\tz\r\n", "X\xA1\xA1Y\tZ\r\n", "x\xA1\xA1y\tz\r\n", "xy\tz\r\n"},
      {"\xA1\x20q", "\xA1\x20Q", "\xA1\x20q", "\xA1\x20q"},
      {"   ", "   ", "   ", ""},
      {"\xA1\xA1\xA1\xA1", "\xA1\xA1\xA1\xA1", "\xA1\xA1\xA1\xA1", ""},
      // A1 A1 across a character boundary is not a full-width space: C4 A1, A1 C4.
      {"\xC4\xA1\xA1\xC4", "\xC4\xA1\xA1\xC4", "\xC4\xA1\xA1\xC4", "\xC4\xA1\xA1\xC4"},
  };
  for (const WalkCase& c : cases) {
    EXPECT_EQ(CallText(command::ToUpper, {Text(c.text)}), c.upper) << c.text;
    EXPECT_EQ(CallText(command::ToLower, {Text(c.text)}), c.lower) << c.text;
    EXPECT_EQ(CallText(command::RemoveAllSpaces, {Text(c.text)}), c.withoutSpaces) << c.text;
  }
}

TEST(CharacterWalks, LeaveTheArgumentAsItWas) {
  runtime::Text text = runtime::NewText("Mixed Case");
  EXPECT_EQ(CallText(command::ToUpper, {Text(text)}), "MIXED CASE");
  EXPECT_EQ(CallText(command::RemoveAllSpaces, {Text(text)}), "MixedCase");
  EXPECT_STREQ(text, "Mixed Case");
  runtime::FreeBlock(text);
}

struct RangeCase {
  const char* text;
  std::int32_t start;
  std::int32_t n;
  const char* replacement;  // null: left out
  const char* expected;
};

TEST(ReplaceTextRange, RemovesAndInsertsAtAClampedPlace) {
  const RangeCase cases[] = {
      {"abcdef", 2, 3, "XY", "aXYef"},
      {"abcdef", 2, 3, nullptr, "aef"},
      {"abcdef", 1, 6, nullptr, ""},
      {"abcdef", 1, 99, "Z", "Z"},
      {"abcdef", 3, 0, "__", "ab__cdef"},   // n <= 0 only inserts
      {"abcdef", 3, -2, "__", "ab__cdef"},
      {"abcdef", 0, 1, "<", "<bcdef"},      // a start below 1 counts as 1
      {"abcdef", -7, 0, "<", "<abcdef"},
      {"abcdef", 99, 3, ">", "abcdef>"},    // beyond the end: append
      {"abcdef", 7, 0, ">", "abcdef>"},
      {"", 1, 5, "new", "new"},
      {"", 1, 5, nullptr, ""},
      {"Set-Cookie: a=1", 1, 12, nullptr, "a=1"},
  };
  for (const RangeCase& c : cases) {
    std::vector<CommandArg> args = {Text(c.text), IntArg(c.start), IntArg(c.n)};
    args.push_back(c.replacement ? Text(c.replacement) : OmittedArg);
    EXPECT_EQ(CallText(command::ReplaceTextRange, args), c.expected)
        << c.text << " " << c.start << " " << c.n << " " << (c.replacement ? c.replacement : "(left out)");
  }
}

}  // namespace
}  // namespace core_test

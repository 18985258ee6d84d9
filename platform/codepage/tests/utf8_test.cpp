// UTF-8 against UTF-16, and GBK against UTF-8 through both.
#include <gtest/gtest.h>

#include <string>

#include "codepage/codepage.h"

namespace {

using codepage::Utf16ToUtf8;
using codepage::Utf8ToUtf16;

struct Case {
  std::string utf8;
  std::u16string text;
};

TEST(Utf8, ValidTextBothWays) {
  const Case cases[] = {
      {"", u""},
      {"plain", u"plain"},
      {std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
      {"\xC2\xA9", u"\u00A9"},
      {"\xE4\xB8\xAD\xE6\x96\x87", u"\u4E2D\u6587"},
      {"\xEF\xBB\xBF", u"\uFEFF"},  // a byte-order mark is an ordinary character here
      {"\xED\x9F\xBF", u"\uD7FF"},
      {"\xEE\x80\x80", u"\uE000"},
      {"\xF0\x9F\x98\x80", u"\U0001F600"},
      {"\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8ToUtf16(c.utf8), c.text) << c.utf8;
    EXPECT_EQ(Utf16ToUtf8(c.text), c.utf8) << c.utf8;
  }
}

TEST(Utf8, EachBadSequenceBecomesOneReplacement) {
  const Case cases[] = {
      {"\x80", u"\uFFFD"},                         // a stray continuation byte
      {"\xC0\x80", u"\uFFFD\uFFFD"},                 // overlong: C0 is never a lead
      {"\xE0\x80\x80", u"\uFFFD\uFFFD\uFFFD"},       // overlong three-byte form
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},       // an encoded surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
      {"\xF5\x80", u"\uFFFD\uFFFD"},
      {"\xFF" "a", u"\uFFFDa"},
      {"\xE4\xB8", u"\uFFFD"},                       // truncated: only the bytes present
      {"\xF0\x9F\x98", u"\uFFFD"},
      {"a\xE4\xB8" "b", u"a\uFFFDb"},                 // the breaking byte is read again
      {"\xE4\xB8\xE4\xB8\xAD", u"\uFFFD\u4E2D"},
      {"\xC3", u"\uFFFD"},
  };
  for (const Case& c : cases) EXPECT_EQ(Utf8ToUtf16(c.utf8), c.text) << ::testing::PrintToString(c.utf8);
}

TEST(Utf8, UnpairedSurrogatesBecomeReplacements) {
  const Case cases[] = {
      {"\xEF\xBF\xBD", u"\xD800"},
      {"\xEF\xBF\xBD" "a", u"\xDC00" "a"},
      {"a\xEF\xBF\xBD", u"a\xD83D"},
      {"\xEF\xBF\xBD\xEF\xBF\xBD", u"\xDE00\xD83D"},  // reversed pair
  };
  for (const Case& c : cases) EXPECT_EQ(Utf16ToUtf8(c.text), c.utf8) << ::testing::PrintToString(c.utf8);
}

TEST(Utf8, GbkThroughUtf16) {
  EXPECT_EQ(codepage::GbkToUtf8("\xD6\xD0\xCE\xC4 \x80"), "\xE4\xB8\xAD\xE6\x96\x87 \xE2\x82\xAC");
  EXPECT_EQ(codepage::Utf8ToGbk("\xE4\xB8\xAD\xE6\x96\x87 \xE2\x82\xAC"), "\xD6\xD0\xCE\xC4 \x80");
  EXPECT_EQ(codepage::GbkToUtf8("\xA3\xFF\x81"), "??");
  EXPECT_EQ(codepage::Utf8ToGbk("\xC2\xA5\xE4\xB8"), "??");  // no GBK yen; a broken sequence
}

}  // namespace

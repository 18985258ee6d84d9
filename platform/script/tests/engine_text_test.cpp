// Texts to and from the engine's internal form.
#include "engine_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using script::detail::FromEngineText;
using script::detail::ToEngineText;

TEST(EngineText, EachCodeUnitOnItsOwn) {
  const struct {
    std::u16string text;
    std::string bytes;
  } cases[] = {
      {u"A", "A"},
      {std::u16string(1, u'\0'), std::string(1, '\0')},
      {u"\u00e9", "\xC3\xA9"},
      {u"\u07ff", "\xDF\xBF"},
      {u"\u4e2d", "\xE4\xB8\xAD"},
      {u"\uffff", "\xEF\xBF\xBF"},
      {u"\U0001F600", "\xED\xA0\xBD\xED\xB8\x80"},            // a pair as two units
      {std::u16string(1, char16_t(0xDC00)), "\xED\xB0\x80"},  // a lone surrogate kept
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToEngineText(c.text), c.bytes);
    EXPECT_EQ(FromEngineText(c.bytes), c.text);
  }
}

TEST(EngineText, NeverStartsWithASymbolMarker) {
  // The engine reads a string whose first byte is 0x80..0x82 or 0xFF as a symbol.
  for (unsigned unit = 0; unit <= 0xFFFF; ++unit) {
    const std::string bytes = ToEngineText(std::u16string(1, static_cast<char16_t>(unit)));
    const unsigned char first = static_cast<unsigned char>(bytes[0]);
    ASSERT_FALSE((first >= 0x80 && first <= 0xBF) || first == 0xFF) << unit;
  }
}

TEST(EngineText, ReadingOtherForms) {
  const struct {
    std::string bytes;
    std::u16string text;
  } cases[] = {
      // clang-format off
      {"\xF0\x9F\x98\x80", u"\U0001F600"},  // four-byte UTF-8
      {"\x80", u"\uFFFD"},                  // stray continuation
      {"\xFF" "A", u"\uFFFD" "A"},
      {"\xE4\xB8", u"\uFFFD"},              // cut short at the end
      {"\xE4\xB8" "A", u"\uFFFD" "A"},      // cut short before a character
      {"\xF4\x90\x80\x80", u"\uFFFD"},      // beyond U+10FFFF
      // clang-format on
      {"a\xC3", u"a\uFFFD"},
  };
  for (const auto& c : cases) EXPECT_EQ(FromEngineText(c.bytes), c.text);
}

}  // namespace

// Text in the stream's character sets: names, byte-order marks, and what invalid bytes
// become, the same whether a text is read whole or character by character.
#include "charsets.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using adodb::detail::CharacterLength;
using adodb::detail::Charset;
using adodb::detail::Decode;
using adodb::detail::Encode;
using adodb::detail::FindCharset;

std::span<const BYTE> Bytes(const std::string& s) {
  return {reinterpret_cast<const BYTE*>(s.data()), s.size()};
}

TEST(Charsets, NamesWithoutRegardToCase) {
  const struct {
    const char16_t* name;
    std::optional<Charset> charset;
  } cases[] = {
      {u"Unicode", Charset::Utf16}, {u"UTF-16", Charset::Utf16}, {u"utf-8", Charset::Utf8},
      {u"UTF-8", Charset::Utf8},    {u"GBK", Charset::Gbk},      {u"gb2312", Charset::Gbk},
      {u"GB2312", Charset::Gbk},    {u"cp936", Charset::Gbk},    {u"us-ascii", Charset::Ascii},
      {u"utf8", std::nullopt},      {u"", std::nullopt},         {u"iso-8859-1", std::nullopt},
      {u"utf-8 ", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(FindCharset(c.name), c.charset);
}

TEST(Charsets, Decoding) {
  const struct {
    Charset charset;
    std::string bytes;
    std::u16string text;
  } cases[] = {
      // clang-format off
      {Charset::Utf8, "\xE4\xB8\xAD" "a", u"\u4e2d" "a"},
      {Charset::Utf8, "\xF0\x9F\x98\x80", u"\U0001F600"},
      {Charset::Utf8, "\x80", u"\uFFFD"},
      {Charset::Utf8, "\xE4\xB8", u"\uFFFD"},  // cut short: one mark
      {Charset::Utf8, "\xE4\xB8" "a", u"\uFFFD" "a"},  // the next byte is kept
      {Charset::Utf8, "\xC0\xAF", u"\uFFFD\uFFFD"},  // overlong
      {Charset::Utf8, "\xE0\x80\x80", u"\uFFFD\uFFFD\uFFFD"},
      {Charset::Utf8, "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},  // a surrogate
      {Charset::Utf8, "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {Charset::Utf8, "\xFF\xFE", u"\uFFFD\uFFFD"},
      {Charset::Gbk, "\xD6\xD0" "a", u"\u4e2d" "a"},
      {Charset::Gbk, "\x80", u"\u20ac"},
      {Charset::Gbk, "\xFF", u"\uf8f5"},
      {Charset::Gbk, "a\x81", u"a?"},  // lead byte at the end
      {Charset::Utf16, std::string("t\0e\0", 4), u"te"},
      {Charset::Utf16, std::string("t\0e", 3), u"t\uFFFD"},
      {Charset::Ascii, "a\x80z", u"a?z"},
      // clang-format on
  };
  for (const auto& c : cases) EXPECT_EQ(Decode(c.charset, Bytes(c.bytes)), c.text) << c.bytes;
}

TEST(Charsets, Encoding) {
  const struct {
    Charset charset;
    std::u16string text;
    std::string bytes;
  } cases[] = {
      // clang-format off
      {Charset::Utf8, u"\u4e2d", "\xE4\xB8\xAD"},
      {Charset::Utf8, u"\U0001F600", "\xF0\x9F\x98\x80"},
      {Charset::Utf8, std::u16string(1, char16_t(0xD800)), "\xEF\xBF\xBD"},
      {Charset::Gbk, u"\u4e2d" "a", "\xD6\xD0" "a"},
      {Charset::Gbk, u"\u0e01", "?"},  // Thai: no form in code page 936
      {Charset::Utf16, u"te", std::string("t\0e\0", 4)},
      {Charset::Ascii, u"a\u4e2d", "a?"},
      // clang-format on
  };
  for (const auto& c : cases) EXPECT_EQ(Encode(c.charset, c.text), c.bytes);
}

// Reading character by character (ReadText with a count or by lines) must give what
// reading the whole text gives.
void ExpectPiecewiseDecodingMatches(Charset charset, const std::string& input) {
  std::span<const BYTE> rest = Bytes(input);
  std::u16string piecewise;
  while (!rest.empty()) {
    const std::size_t length = CharacterLength(charset, rest);
    ASSERT_GE(length, 1u);
    ASSERT_LE(length, rest.size());
    piecewise += Decode(charset, rest.first(length));
    rest = rest.subspan(length);
  }
  ASSERT_EQ(piecewise, Decode(charset, Bytes(input))) << static_cast<int>(charset);
}

TEST(Charsets, CharacterByCharacterAgreesWithWhole) {
  for (Charset charset : {Charset::Utf8, Charset::Gbk, Charset::Utf16, Charset::Ascii}) {
    // Every pair of bytes, and each pair behind a lead byte of three- and four-byte forms.
    for (unsigned first = 0; first < 256; ++first) {
      for (unsigned second = 0; second < 256; ++second) {
        const std::string pair{static_cast<char>(first), static_cast<char>(second)};
        ExpectPiecewiseDecodingMatches(charset, pair);
        if (charset == Charset::Utf8 &&
            (first == 0xE0 || first == 0xED || first == 0xF0 || first == 0xF4 || first == 0xE4)) {
          ExpectPiecewiseDecodingMatches(charset, pair + "\x80");
          ExpectPiecewiseDecodingMatches(charset, pair + "\xBF\x80");
        }
      }
    }
  }
}

}  // namespace

// Code page 936 against UTF-16: the places where Windows' table is not glibc's, bad input,
// and a round trip of every code.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "codepage/codepage.h"

namespace {

using codepage::GbkToUtf16;
using codepage::Utf16ToGbk;

std::string Hex(std::string_view bytes) {
  std::string out;
  for (unsigned char b : bytes) {
    char part[4];
    std::snprintf(part, sizeof part, "%02X ", b);
    out += part;
  }
  return out;
}

std::string Hex(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) {
    char part[8];
    std::snprintf(part, sizeof part, "%04X ", static_cast<unsigned>(c));
    out += part;
  }
  return out;
}

struct Pair {
  std::string gbk;
  std::u16string text;
};

// Both ways.
const Pair kFacts[] = {
    {"A z~", u"A z~"},
    {std::string("\0", 1), std::u16string(1, u'\0')},
    {"\x80", u"\u20AC"},
    {"\xFF", u"\uF8F5"},
    {"\xA3\xA4", u"\uFFE5"},  // fullwidth yen, not "$"
    {"\xA1\xE7", u"\uFF04"},  // fullwidth "$"
    {"\xA1\xAB", u"\uFF5E"},  // fullwidth "~"
    {"\xA3\xFE", u"\uFFE3"},  // fullwidth macron, not "~"
    {"\xA3\xA1", u"\uFF01"},
    {"\xA3\xFD", u"\uFF5D"},
    {"\xA1\xA1", u"\u3000"},
    {"\xA1\xA4", u"\u00B7"},
    {"\xA1\xAA", u"\u2014"},
    {"\xD6\xD0\xCE\xC4", u"\u4E2D\u6587"},
    {"\xA1\x40", u"\uE4C6"},  // the user-defined areas
    {"\xA1\x7E", u"\uE504"},
    {"\xA1\x80", u"\uE505"},
    {"\xA7\xA0", u"\uE765"},
    {"\xAA\xA1", u"\uE000"},
    {"\xAF\xFE", u"\uE233"},
    {"\xF8\xA1", u"\uE234"},
    {"\xFE\xFE", u"\uE4C5"},
    {"x\x80\xFF\xA3\xA4y", u"x\u20AC\uF8F5\uFFE5y"},
};

TEST(Gbk, FactsBothWays) {
  for (const Pair& pair : kFacts) {
    EXPECT_EQ(Hex(GbkToUtf16(pair.gbk)), Hex(pair.text)) << Hex(pair.gbk);
    EXPECT_EQ(Hex(Utf16ToGbk(pair.text)), Hex(pair.gbk)) << Hex(pair.text);
  }
}

TEST(Gbk, BadBytesBecomeQuestionMarks) {
  const Pair cases[] = {
      {"\xA3\xFF", u"?"},                  // unassigned pair
      {"\x81\x30", u"?"},                  // a lead byte takes any non-NUL byte with it
      {"\x81\x20" "B", u"?B"},
      {"\x81\x7F" "B", u"?B"},
      {"\x81\xFF" "B", u"?B"},
      {"\xA1\x7F", u"?"},                  // 0x7F is no trail, not even in a user-defined row
      {"\x81", u"?"},                      // a lead byte at the end
      {"A\xD6", u"A?"},
      {std::string("\x81\0B", 3), std::u16string(u"?\0B", 3)},  // NUL is never a trail
      {"\xD6\xD0\x81\x30\xCE\xC4", u"\u4E2D?\u6587"},           // conversion goes on after it
      {"\xA3\xFF\xA3\xFF", u"??"},
      {"\xFF\xFF\x80\x81", u"\uF8F5\uF8F5\u20AC?"},
  };
  for (const Pair& c : cases) EXPECT_EQ(Hex(GbkToUtf16(c.gbk)), Hex(c.text)) << Hex(c.gbk);
}

TEST(Gbk, CharactersWithoutAFormBecomeQuestionMarks) {
  const Pair cases[] = {
      {"?", u"\u00A5"},
      {"?", u"\u0080"},
      {"?", u"\uE766"},  // past the user-defined areas
      {"?", u"\uF8F6"},
      {"??", u"\U0001F600"},  // beyond the BMP: one per UTF-16 unit
      {"?", u"\xD800"},
      {"?A", u"\xDC00" "A"},
      {"A?", u"A\xD83D"},
      {"\xD6\xD0?\xCE\xC4", u"\u4E2D\u00A5\u6587"},
  };
  for (const Pair& c : cases) EXPECT_EQ(Hex(Utf16ToGbk(c.text)), Hex(c.gbk)) << Hex(c.text);
}

TEST(Gbk, EveryAssignedDoubleByteCodeRoundTrips) {
  int assigned = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      const std::string code{static_cast<char>(lead), static_cast<char>(trail)};
      std::u16string text = GbkToUtf16(code);
      ASSERT_EQ(text.size(), 1u) << Hex(code);  // both bytes always go together
      if (text == u"?") continue;
      ++assigned;
      ASSERT_EQ(Hex(Utf16ToGbk(text)), Hex(code)) << Hex(text);
    }
  }
  // glibc's 21791 codes and the 1894 of the user-defined areas.
  EXPECT_EQ(assigned, 21791 + 1894);
}

TEST(Gbk, EveryEncodableCharacterComesBack) {
  for (char32_t c = 0; c < 0x10000; ++c) {
    const std::u16string text(1, static_cast<char16_t>(c));
    std::string code = Utf16ToGbk(text);
    if (code == "?" && c != u'?') continue;
    ASSERT_LE(code.size(), 2u) << Hex(text);
    ASSERT_EQ(Hex(GbkToUtf16(code)), Hex(text)) << Hex(code);
  }
}

TEST(Gbk, LongMixedTextsSurviveAndThreadsDoNotDisturbEachOther) {
  std::string gbk;
  std::u16string text;
  for (int i = 0; i < 2000; ++i) {
    gbk += "ab\xD6\xD0\x80\xA3\xFF\xFF";
    text += u"ab\u4E2D\u20AC?\uF8F5";
  }
  auto work = [&](int* failures) {
    for (int round = 0; round < 50; ++round) {
      if (GbkToUtf16(gbk) != text) ++*failures;
      if (GbkToUtf16(Utf16ToGbk(text)) != text) ++*failures;
    }
  };
  std::vector<int> failures(4, 0);
  std::vector<std::thread> threads;
  for (int& count : failures) threads.emplace_back(work, &count);
  for (std::thread& thread : threads) thread.join();
  for (int count : failures) EXPECT_EQ(count, 0);
}

}  // namespace

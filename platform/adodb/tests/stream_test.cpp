// The stream's rules: what is allowed when, what each call does to the content, the
// position and the size, and the character-set conversion the program runs through it.
#include "adodb/stream.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using namespace adodb;
using Bytes = std::vector<BYTE>;

Bytes B(std::string_view s) { return Bytes(s.begin(), s.end()); }

// The program's conversion, step for step: binary in, text out in one charset, reopened,
// text in in the other, binary out after `skip` bytes. Every call must succeed.
std::optional<Bytes> Convert(const Bytes& input, std::u16string_view from, std::u16string_view to,
                             LONG skip = 0) {
  Stream s;
  EXPECT_EQ(s.SetType(adTypeBinary), S_OK);
  EXPECT_EQ(s.Open(), S_OK);
  EXPECT_EQ(s.Write(input), S_OK);
  EXPECT_EQ(s.SetPosition(0), S_OK);
  EXPECT_EQ(s.SetType(adTypeText), S_OK);
  EXPECT_EQ(s.SetCharset(from), S_OK);
  std::u16string text;
  EXPECT_EQ(s.ReadText(adReadAll, &text), S_OK);
  EXPECT_EQ(s.Close(), S_OK);
  EXPECT_EQ(s.Open(), S_OK);
  EXPECT_EQ(s.SetCharset(to), S_OK);
  EXPECT_EQ(s.WriteText(text, adWriteChar), S_OK);
  EXPECT_EQ(s.SetPosition(0), S_OK);
  EXPECT_EQ(s.SetType(adTypeBinary), S_OK);
  if (skip != 0) {
    EXPECT_EQ(s.SetPosition(skip), S_OK);
  }
  std::optional<Bytes> out;
  EXPECT_EQ(s.Read(adReadAll, &out), S_OK);
  return out;
}

TEST(StreamConversion, TheProgramsSequence) {
  const struct {
    const char* name;
    std::string input;
    const char16_t* from;
    const char16_t* to;
    LONG skip;
    std::optional<std::string> output;
  } cases[] = {
      {"UTF-8 to GBK", "\xE4\xB8\xAD", u"utf-8", u"GBK", 0, "\xD6\xD0"},
      {"GBK to UTF-8, mark skipped", "\xD6\xD0", u"GBK", u"utf-8", 3, "\xE4\xB8\xAD"},
      {"GBK to UTF-8 with its mark", "\xD6\xD0", u"GBK", u"utf-8", 0, "\xEF\xBB\xBF\xE4\xB8\xAD"},
      {"a file name", "a%20\xE6\x96\x87\xE4\xBB\xB6.txt", u"utf-8", u"GBK", 0,
       "a%20\xCE\xC4\xBC\xFE.txt"},
      // clang-format off
      {"invalid UTF-8", "\xE4\xB8" "A\xFF", u"utf-8", u"GBK", 0, "?A?"},
      {"invalid GBK pair", "\x81\x20" "A", u"GBK", u"utf-8", 3, "?A"},
      // clang-format on
      {"charset names in other cases", "\xE4\xB8\xAD", u"UTF-8", u"gb2312", 0, "\xD6\xD0"},
      {"to Unicode", "ab", u"us-ascii", u"unicode", 0, std::string("\xFF\xFE\x61\0b\0", 6)},
      {"nothing in, nothing out", "", u"utf-8", u"GBK", 0, std::nullopt},
      {"only the mark, skipped", "", u"GBK", u"utf-8", 3, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::optional<Bytes> out = Convert(B(c.input), c.from, c.to, c.skip);
    if (c.output) {
      ASSERT_TRUE(out.has_value());
      EXPECT_EQ(*out, B(*c.output));
    } else {
      EXPECT_FALSE(out.has_value());
    }
  }
}

TEST(Stream, Defaults) {
  Stream s;
  EXPECT_EQ(s.Type(), adTypeText);
  EXPECT_EQ(s.Charset(), u"Unicode");
  EXPECT_EQ(s.LineSeparator(), adCRLF);
  EXPECT_EQ(s.Mode(), adModeUnknown);
  EXPECT_EQ(s.State(), adStateClosed);
}

TEST(Stream, ClosedStreamAllowsOnlyItsSettings) {
  Stream s;
  LONG n = 0;
  bool eos = false;
  std::optional<Bytes> bytes;
  std::u16string text;
  const Bytes some = B("x");
  EXPECT_EQ(s.GetSize(&n), kObjectClosed);
  EXPECT_EQ(s.GetPosition(&n), kObjectClosed);
  EXPECT_EQ(s.SetPosition(0), kObjectClosed);
  EXPECT_EQ(s.GetEOS(&eos), kObjectClosed);
  EXPECT_EQ(s.SetEOS(), kObjectClosed);
  EXPECT_EQ(s.Read(adReadAll, &bytes), kObjectClosed);
  EXPECT_EQ(s.Write(some), kObjectClosed);
  EXPECT_EQ(s.ReadText(adReadAll, &text), kObjectClosed);
  EXPECT_EQ(s.WriteText(u"x", adWriteChar), kObjectClosed);
  EXPECT_EQ(s.Flush(), kObjectClosed);
  EXPECT_EQ(s.Close(), kObjectClosed);
  EXPECT_EQ(s.SetType(adTypeBinary), S_OK);
  EXPECT_EQ(s.SetCharset(u"utf-8"), S_OK);
  EXPECT_EQ(s.SetMode(adModeReadWrite), S_OK);
  EXPECT_EQ(s.SetLineSeparator(adLF), S_OK);
}

TEST(Stream, OpenAndClose) {
  Stream s;
  EXPECT_EQ(s.Open(), S_OK);
  EXPECT_EQ(s.State(), adStateOpen);
  EXPECT_EQ(s.Open(), kObjectOpen);
  EXPECT_EQ(s.SetMode(adModeRead), kObjectOpen);
  EXPECT_EQ(s.SetCharset(u"utf-8"), S_OK);
  EXPECT_EQ(s.WriteText(u"abc", adWriteChar), S_OK);
  EXPECT_EQ(s.Close(), S_OK);
  // Reopened empty; the settings stay.
  EXPECT_EQ(s.Open(), S_OK);
  LONG size = -1;
  EXPECT_EQ(s.GetSize(&size), S_OK);
  EXPECT_EQ(size, 0);
  EXPECT_EQ(s.Charset(), u"utf-8");
  EXPECT_EQ(s.Type(), adTypeText);
}

TEST(Stream, BinaryReadsAndWrites) {
  Stream s;
  ASSERT_EQ(s.SetType(adTypeBinary), S_OK);
  ASSERT_EQ(s.Open(), S_OK);
  std::optional<Bytes> out = B("stale");
  EXPECT_EQ(s.Read(adReadAll, &out), S_OK);
  EXPECT_FALSE(out.has_value());  // nothing to read: no bytes at all

  ASSERT_EQ(s.Write(B("abcd")), S_OK);
  LONG position = -1;
  ASSERT_EQ(s.GetPosition(&position), S_OK);
  EXPECT_EQ(position, 4);
  ASSERT_EQ(s.SetPosition(1), S_OK);
  EXPECT_EQ(s.Read(2, &out), S_OK);
  EXPECT_EQ(out, B("bc"));
  EXPECT_EQ(s.Read(10, &out), S_OK);
  EXPECT_EQ(out, B("d"));
  bool eos = false;
  EXPECT_EQ(s.GetEOS(&eos), S_OK);
  EXPECT_TRUE(eos);
  EXPECT_EQ(s.Read(adReadAll, &out), S_OK);
  EXPECT_FALSE(out.has_value());
  EXPECT_EQ(s.Read(-3, &out), kInvalidArgument);

  // Writing overwrites, and grows only past the end.
  ASSERT_EQ(s.SetPosition(2), S_OK);
  ASSERT_EQ(s.Write(B("XYZ")), S_OK);
  EXPECT_EQ(s.Bytes(), B("abXYZ"));
  ASSERT_EQ(s.SetPosition(0), S_OK);
  EXPECT_EQ(s.Read(0, &out), S_OK);
  EXPECT_FALSE(out.has_value());
}

TEST(Stream, PositionRules) {
  Stream s;
  ASSERT_EQ(s.SetType(adTypeBinary), S_OK);
  ASSERT_EQ(s.Open(), S_OK);
  ASSERT_EQ(s.Write(B("ab")), S_OK);
  EXPECT_EQ(s.SetPosition(-1), kInvalidArgument);
  // Past the end the stream grows with zero bytes.
  ASSERT_EQ(s.SetPosition(4), S_OK);
  EXPECT_EQ(s.Bytes(), B(std::string("ab\0\0", 4)));
  ASSERT_EQ(s.SetPosition(1), S_OK);
  ASSERT_EQ(s.SetEOS(), S_OK);
  LONG size = -1;
  ASSERT_EQ(s.GetSize(&size), S_OK);
  EXPECT_EQ(size, 1);
}

TEST(Stream, TypeAndCharsetChangeOnlyAtTheStart) {
  Stream s;
  ASSERT_EQ(s.Open(), S_OK);
  ASSERT_EQ(s.WriteText(u"x", adWriteChar), S_OK);
  EXPECT_EQ(s.SetType(adTypeBinary), kIllegalOperation);
  EXPECT_EQ(s.SetCharset(u"utf-8"), kIllegalOperation);
  ASSERT_EQ(s.SetPosition(0), S_OK);
  EXPECT_EQ(s.SetType(3), kInvalidArgument);
  EXPECT_EQ(s.SetCharset(u"latin-9"), kInvalidArgument);
  EXPECT_EQ(s.Charset(), u"Unicode");
  EXPECT_EQ(s.SetCharset(u"UTF-8"), S_OK);
  EXPECT_EQ(s.Charset(), u"UTF-8");  // kept as given
  EXPECT_EQ(s.SetType(adTypeBinary), S_OK);
  EXPECT_EQ(s.SetLineSeparator(5), kInvalidArgument);
}

TEST(Stream, OperationsOfTheOtherType) {
  Stream text;
  ASSERT_EQ(text.Open(), S_OK);
  std::optional<Bytes> bytes;
  EXPECT_EQ(text.Read(adReadAll, &bytes), kIllegalOperation);
  ASSERT_EQ(text.WriteText(u"x", adWriteChar), S_OK);
  EXPECT_EQ(text.Write(B("y")), kIllegalOperation);  // a text stream with text in it

  // Binary data written into a new, empty text stream makes it binary.
  Stream fresh;
  ASSERT_EQ(fresh.Open(), S_OK);
  ASSERT_EQ(fresh.Write(B("y")), S_OK);
  EXPECT_EQ(fresh.Type(), adTypeBinary);
  std::u16string out;
  EXPECT_EQ(fresh.ReadText(adReadAll, &out), kIllegalOperation);
  EXPECT_EQ(fresh.WriteText(u"x", adWriteChar), kIllegalOperation);
}

TEST(Stream, UnicodeTextWithItsMark) {
  Stream s;
  ASSERT_EQ(s.Open(), S_OK);
  ASSERT_EQ(s.WriteText(u"test", adWriteChar), S_OK);
  LONG size = 0;
  ASSERT_EQ(s.GetSize(&size), S_OK);
  EXPECT_EQ(size, 10);
  EXPECT_EQ(s.Bytes(), B(std::string("\xFF\xFEt\0e\0s\0t\0", 10)));
  ASSERT_EQ(s.SetPosition(0), S_OK);
  std::u16string text;
  ASSERT_EQ(s.ReadText(adReadAll, &text), S_OK);
  EXPECT_EQ(text, u"test");
  bool eos = false;
  ASSERT_EQ(s.GetEOS(&eos), S_OK);
  EXPECT_TRUE(eos);
  ASSERT_EQ(s.ReadText(adReadAll, &text), S_OK);
  EXPECT_EQ(text, u"");
  ASSERT_EQ(s.SetPosition(2), S_OK);
  ASSERT_EQ(s.SetEOS(), S_OK);
  ASSERT_EQ(s.GetSize(&size), S_OK);
  EXPECT_EQ(size, 2);
}

TEST(Stream, MarksOnlyAtTheStartAndOnlyTheirOwn) {
  Stream s;
  ASSERT_EQ(s.SetCharset(u"utf-8"), S_OK);
  ASSERT_EQ(s.Open(), S_OK);
  ASSERT_EQ(s.WriteText(u"a", adWriteChar), S_OK);
  ASSERT_EQ(s.WriteText(u"b", adWriteChar), S_OK);
  EXPECT_EQ(s.Bytes(), B("\xEF\xBB\xBF\x61\x62"));  // the mark, then "ab"

  Stream gbk;
  ASSERT_EQ(gbk.SetCharset(u"GBK"), S_OK);
  ASSERT_EQ(gbk.Open(), S_OK);
  ASSERT_EQ(gbk.WriteText(u"\u4e2d", adWriteChar), S_OK);
  EXPECT_EQ(gbk.Bytes(), B("\xD6\xD0"));

  // A UTF-16 mark in a UTF-8 stream is just two bad bytes.
  Stream other;
  ASSERT_EQ(other.SetType(adTypeBinary), S_OK);
  ASSERT_EQ(other.Open(), S_OK);
  ASSERT_EQ(other.Write(B("\xFF\xFEx")), S_OK);
  ASSERT_EQ(other.SetPosition(0), S_OK);
  ASSERT_EQ(other.SetType(adTypeText), S_OK);
  ASSERT_EQ(other.SetCharset(u"utf-8"), S_OK);
  std::u16string text;
  ASSERT_EQ(other.ReadText(adReadAll, &text), S_OK);
  EXPECT_EQ(text, u"\uFFFD\uFFFDx");
}

// A text stream holding `bytes` in `charset`, at position 0.
void Fill(Stream& s, std::u16string_view charset, std::string_view bytes) {
  ASSERT_EQ(s.SetType(adTypeBinary), S_OK);
  ASSERT_EQ(s.Open(), S_OK);
  ASSERT_EQ(s.Write(B(bytes)), S_OK);
  ASSERT_EQ(s.SetPosition(0), S_OK);
  ASSERT_EQ(s.SetType(adTypeText), S_OK);
  ASSERT_EQ(s.SetCharset(charset), S_OK);
}

TEST(Stream, ReadTextByCount) {
  Stream s;
  Fill(s, u"utf-8", "\xEF\xBB\xBF\xE4\xB8\xAD\xE6\x96\x87\x61\x62\xF0\x9F\x98\x80z");
  std::u16string text;
  ASSERT_EQ(s.ReadText(2, &text), S_OK);
  EXPECT_EQ(text, u"\u4e2d\u6587");
  LONG position = 0;
  ASSERT_EQ(s.GetPosition(&position), S_OK);
  EXPECT_EQ(position, 9);  // mark and two characters
  ASSERT_EQ(s.ReadText(3, &text), S_OK);
  EXPECT_EQ(text, u"ab");  // a pair does not split: it waits
  ASSERT_EQ(s.ReadText(1, &text), S_OK);
  EXPECT_EQ(text, u"\U0001F600");  // but is not refused for ever
  ASSERT_EQ(s.ReadText(0, &text), S_OK);
  EXPECT_EQ(text, u"");
  ASSERT_EQ(s.ReadText(5, &text), S_OK);
  EXPECT_EQ(text, u"z");
  EXPECT_EQ(s.ReadText(-3, &text), kInvalidArgument);
}

TEST(Stream, ReadTextByLines) {
  const struct {
    LONG separator;
    std::vector<std::u16string> lines;
  } cases[] = {
      {adCRLF, {u"one", u"two\nthree\rfour"}},
      {adLF, {u"one\r", u"two", u"three\rfour"}},
      {adCR, {u"one", u"\ntwo\nthree", u"four"}},
  };
  for (const auto& c : cases) {
    Stream s;
    Fill(s, u"GBK", "one\r\ntwo\nthree\rfour");
    ASSERT_EQ(s.SetLineSeparator(c.separator), S_OK);
    std::vector<std::u16string> lines;
    bool eos = false;
    while (s.GetEOS(&eos) == S_OK && !eos) {
      std::u16string line;
      ASSERT_EQ(s.ReadText(adReadLine, &line), S_OK);
      lines.push_back(line);
    }
    EXPECT_EQ(lines, c.lines) << c.separator;
  }
}

TEST(Stream, WriteLineAddsTheSeparator) {
  Stream s;
  ASSERT_EQ(s.SetCharset(u"us-ascii"), S_OK);
  ASSERT_EQ(s.Open(), S_OK);
  ASSERT_EQ(s.WriteText(u"a", adWriteLine), S_OK);
  ASSERT_EQ(s.SetLineSeparator(adLF), S_OK);
  ASSERT_EQ(s.WriteText(u"b", adWriteLine), S_OK);
  EXPECT_EQ(s.Bytes(), B("a\r\nb\n"));
  EXPECT_EQ(s.WriteText(u"c", 2), kInvalidArgument);
}

}  // namespace

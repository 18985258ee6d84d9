// MultiByteToWideChar and WideCharToMultiByte: lengths, buffers, flags and errors.
#include <gtest/gtest.h>

#include <string>

#include "codepage/codepage.h"
#include "kernel/process.h"
#include "win/errors.h"

namespace {

const char kChinese[] = "\xD6\xD0\xCE\xC4";  // two characters in GBK
const char16_t kChineseText[] = u"\u4E2D\u6587";

TEST(MultiByteToWideChar, LengthsAndBuffers) {
  WCHAR buffer[8];
  struct Case {
    UINT codePage;
    const char* source;
    int sourceLength;
    int targetLength;
    int result;
    DWORD error;
  } cases[] = {
      {CP_ACP, kChinese, -1, 0, 3, ERROR_SUCCESS},  // a query; -1 counts the NUL
      {CP_GBK, kChinese, 4, 0, 2, ERROR_SUCCESS},
      {CP_ACP, kChinese, -1, 3, 3, ERROR_SUCCESS},  // exactly enough
      {CP_ACP, kChinese, -1, 2, 0, ERROR_INSUFFICIENT_BUFFER},
      {CP_ACP, kChinese, 3, 8, 2, ERROR_SUCCESS},  // a lead byte cut off by the length
      {CP_UTF8, "\xE4\xB8\xAD", -1, 8, 2, ERROR_SUCCESS},
      {CP_UTF8, "\xE4\xB8\xAD", 2, 8, 1, ERROR_SUCCESS},
      {CP_UTF8, "\xF0\x9F\x98\x80", 4, 1, 0, ERROR_INSUFFICIENT_BUFFER},  // a pair needs two units
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(MultiByteToWideChar(c.codePage, 0, c.source, c.sourceLength, c.targetLength ? buffer : nullptr,
                                  c.targetLength),
              c.result);
    EXPECT_EQ(GetLastError(), c.error);
  }
}

TEST(MultiByteToWideChar, WritesTheCharactersAndTheNul) {
  WCHAR buffer[4] = {u'#', u'#', u'#', u'#'};
  ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, kChinese, -1, buffer, 4), 3);
  EXPECT_EQ(std::u16string(buffer, 3), std::u16string(kChineseText, 3));
  EXPECT_EQ(buffer[3], u'#');
  ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, "\x80\xFF", 2, buffer, 4), 2);
  EXPECT_EQ(std::u16string(buffer, 2), u"\u20AC\uF8F5");
}

TEST(MultiByteToWideChar, InvalidCharactersFailOnlyWhenAskedTo) {
  WCHAR buffer[8];
  struct Case {
    UINT codePage;
    const char* source;
    int result;  // with MB_ERR_INVALID_CHARS
  } cases[] = {
      {CP_ACP, "\x81\x30", 0},
      {CP_ACP, "\xA3\xFF", 0},
      {CP_ACP, "ab\x81", 0},
      {CP_ACP, "\x80\xFF\xA1\x40", 3},  // all assigned
      {CP_UTF8, "\xC0\x80", 0},
      {CP_UTF8, "\xE4\xB8", 0},
      {CP_UTF8, "\xE4\xB8\xAD", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    int length = static_cast<int>(std::char_traits<char>::length(c.source));
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(MultiByteToWideChar(c.codePage, MB_ERR_INVALID_CHARS, c.source, length, buffer, 8), c.result);
    EXPECT_EQ(GetLastError(), c.result ? ERROR_SUCCESS : ERROR_NO_UNICODE_TRANSLATION);
    EXPECT_GT(MultiByteToWideChar(c.codePage, 0, c.source, length, buffer, 8), 0);
  }
}

TEST(MultiByteToWideChar, BadArguments) {
  WCHAR buffer[4];
  struct Case {
    UINT codePage;
    DWORD flags;
    const char* source;
    int sourceLength;
    WCHAR* target;
    int targetLength;
    DWORD error;
  } cases[] = {
      {1252, 0, "a", 1, buffer, 4, ERROR_INVALID_PARAMETER},
      {CP_ACP, 0, nullptr, 1, buffer, 4, ERROR_INVALID_PARAMETER},
      {CP_ACP, 0, "a", 0, buffer, 4, ERROR_INVALID_PARAMETER},
      {CP_ACP, 0, "a", -2, buffer, 4, ERROR_INVALID_PARAMETER},
      {CP_ACP, 0, "a", 1, buffer, -1, ERROR_INVALID_PARAMETER},
      {CP_ACP, 0, "a", 1, nullptr, 4, ERROR_INVALID_PARAMETER},
      {CP_UTF8, MB_PRECOMPOSED, "a", 1, buffer, 4, ERROR_INVALID_FLAGS},
      {CP_ACP, 0x100, "a", 1, buffer, 4, ERROR_INVALID_FLAGS},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(MultiByteToWideChar(c.codePage, c.flags, c.source, c.sourceLength, c.target, c.targetLength), 0);
    EXPECT_EQ(GetLastError(), c.error);
  }
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, "a", 1, buffer, 4), 1);
}

TEST(WideCharToMultiByte, LengthsAndBuffers) {
  char buffer[8];
  struct Case {
    UINT codePage;
    const char16_t* source;
    int sourceLength;
    int targetLength;
    int result;
    DWORD error;
  } cases[] = {
      {CP_ACP, kChineseText, -1, 0, 5, ERROR_SUCCESS},
      {CP_GBK, kChineseText, 2, 0, 4, ERROR_SUCCESS},
      {CP_ACP, kChineseText, -1, 5, 5, ERROR_SUCCESS},
      {CP_ACP, kChineseText, -1, 4, 0, ERROR_INSUFFICIENT_BUFFER},
      {CP_ACP, kChineseText, 1, 1, 0, ERROR_INSUFFICIENT_BUFFER},  // a character is never split
      {CP_UTF8, kChineseText, -1, 0, 7, ERROR_SUCCESS},
      {CP_UTF8, kChineseText, 1, 3, 3, ERROR_SUCCESS},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(WideCharToMultiByte(c.codePage, 0, c.source, c.sourceLength, c.targetLength ? buffer : nullptr,
                                  c.targetLength, nullptr, nullptr),
              c.result);
    EXPECT_EQ(GetLastError(), c.error);
  }
  char out[8] = "#######";
  ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, kChineseText, -1, out, 8, nullptr, nullptr), 5);
  EXPECT_STREQ(out, kChinese);
  EXPECT_EQ(out[5], '#');
}

TEST(WideCharToMultiByte, DefaultCharacterAndItsUse) {
  struct Case {
    const char16_t* source;
    const char* defaultChar;
    std::string expected;
    BOOL used;
  } cases[] = {
      {u"AB", nullptr, "AB", FALSE},
      {u"A\u00A5", nullptr, "A?", TRUE},
      {u"A\u00A5", "*", "A*", TRUE},
      {u"A\u00A5", "*+", "A*", TRUE},                  // only the first character
      {u"A\u00A5", "\xA1\xA1", "A\xA1\xA1", TRUE},     // which may be a double-byte one
      {u"\xD800", nullptr, "?", TRUE},
      {u"\u20AC\uF8F5", "*", "\x80\xFF", FALSE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    char buffer[16] = {};
    BOOL used = 77;
    int length = static_cast<int>(std::char_traits<char16_t>::length(c.source));
    int written = WideCharToMultiByte(CP_ACP, 0, c.source, length, buffer, sizeof buffer, c.defaultChar, &used);
    EXPECT_EQ(std::string(buffer, written > 0 ? written : 0), c.expected);
    EXPECT_EQ(used, c.used);
  }
}

TEST(WideCharToMultiByte, Utf8RulesAndBadArguments) {
  char buffer[8];
  BOOL used = FALSE;
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"\xD800", 1, buffer, 8, nullptr, nullptr), 3);
  EXPECT_EQ(std::string(buffer, 3), "\xEF\xBF\xBD");
  struct Case {
    UINT codePage;
    DWORD flags;
    const char16_t* source;
    int sourceLength;
    const char* defaultChar;
    BOOL* usedDefault;
    DWORD error;
  } cases[] = {
      {CP_UTF8, WC_ERR_INVALID_CHARS, u"\xD800", 1, nullptr, nullptr, ERROR_NO_UNICODE_TRANSLATION},
      {CP_UTF8, 0, u"a", 1, "?", nullptr, ERROR_INVALID_PARAMETER},  // UTF-8 has no default character
      {CP_UTF8, 0, u"a", 1, nullptr, &used, ERROR_INVALID_PARAMETER},
      {CP_UTF8, WC_NO_BEST_FIT_CHARS, u"a", 1, nullptr, nullptr, ERROR_INVALID_FLAGS},
      {CP_ACP, WC_ERR_INVALID_CHARS, u"a", 1, nullptr, nullptr, ERROR_INVALID_FLAGS},
      {437, 0, u"a", 1, nullptr, nullptr, ERROR_INVALID_PARAMETER},
      {CP_ACP, 0, nullptr, 1, nullptr, nullptr, ERROR_INVALID_PARAMETER},
      {CP_ACP, 0, u"a", 0, nullptr, nullptr, ERROR_INVALID_PARAMETER},
      {CP_ACP, 0, u"a", -5, nullptr, nullptr, ERROR_INVALID_PARAMETER},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(WideCharToMultiByte(c.codePage, c.flags, c.source, c.sourceLength, buffer, 8, c.defaultChar,
                                  c.usedDefault),
              0);
    EXPECT_EQ(GetLastError(), c.error);
  }
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, u"a", 1, buffer, 8, nullptr, nullptr), 1);
}

}  // namespace

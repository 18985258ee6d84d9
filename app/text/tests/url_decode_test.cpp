#include <gtest/gtest.h>

#include <string>

#include "app/testing/program_test.h"
#include "app/text/url_decode.h"

namespace app {
namespace {

using testing::Gbk;
using testing::TakeText;

TEST(UrlDecode, EscapesToUtf8BytesToGbk) {
  struct Case {
    const char* text;
    std::string decoded;
  } cases[] = {
      {"%E4%B8%AD", "\xD6\xD0"},
      {"%e4%b8%ad", "\xD6\xD0"},
      {"a+b%20c", "a+b c"},  // "+" is no space
      {"", ""},
      {"%", ""},     // both digits missing: code 0 adds nothing
      {"%4", "@"},   // a missing digit counts 0
      {"x%00y", "xy"},
      {"%4G", ">"},      // "G" is no digit and counts -2: 0x3E
      {"%GG%41", "?A"},  // -34: its low byte 0xDE, no UTF-8 before "A", comes back as "?"
      {"%C3%28", "?("},        // invalid UTF-8: the stream's replacement, which GBK shows as "?"
      {"%E4%B8", "?"},         // a sequence cut short
  };
  for (const Case& c : cases) EXPECT_EQ(TakeText(UrlDecode(c.text)), c.decoded) << c.text;
}

TEST(UrlDecode, ALongChineseFileName) {
  std::string name = "%E6%B5%8B%E8%AF%95";  // 测试
  std::string expected = Gbk("测试");
  for (int i = 0; i < 7; ++i) {
    name += name;
    expected += expected;
  }
  name += ".rar";
  expected += ".rar";
  EXPECT_EQ(TakeText(UrlDecode(name.c_str())), expected);
}

}  // namespace
}  // namespace app

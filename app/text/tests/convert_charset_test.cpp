#include <gtest/gtest.h>

#include <string>

#include "app/testing/program_test.h"
#include "app/text/convert_charset.h"

namespace app {
namespace {

using testing::Gbk;
using testing::NewByteSet;
using testing::TakeByteSet;

std::string Convert(const std::string& bytes, const char* from, const char* to, std::int32_t skip = 0) {
  void* input = NewByteSet(bytes);
  std::string converted = TakeByteSet(ConvertCharset(input, from, to, skip));
  testing::TakeByteSet(input);
  return converted;
}

TEST(ConvertCharset, BothWaysAndPastTheByteOrderMark) {
  const std::string utf8 = "\xE4\xB8\xAD\xE6\x96\x87 ok";  // 中文 ok
  const std::string gbk = Gbk("中文 ok");
  EXPECT_EQ(Convert(utf8, "utf-8", "GBK"), gbk);
  EXPECT_EQ(Convert(gbk, "GBK", "utf-8"), "\xEF\xBB\xBF" + utf8);
  EXPECT_EQ(Convert(gbk, "GBK", "utf-8", 3), utf8);
  EXPECT_EQ(Convert(utf8, "utf-8", "GBK", 2), gbk.substr(2));
  EXPECT_EQ(Convert("", "utf-8", "GBK"), "");
  EXPECT_EQ(TakeByteSet(ConvertCharset(nullptr, "utf-8", "GBK")), "");
}

}  // namespace
}  // namespace app

// The program's patterns are the ones the regular-expression library's tests check over
// the sample pages, byte for byte.
#include <gtest/gtest.h>

#include <cstring>

#include "app/program_texts.h"
#include "service_patterns.h"

namespace app {
namespace {

TEST(ResolverPatterns, AreTheCheckedOnesWithTheirLengths) {
  namespace checked = regexlib::testing;
  struct Case {
    const char* program;
    const char* expected;
    std::size_t length;
  };
  for (const Case& c : {Case{kTexts.XunleiKeyPattern, checked::XunleiKeyPattern, 24},
                        Case{kTexts.XunleiFilePattern, checked::XunleiFilePattern, 85},
                        Case{kTexts.XunleiExtensionPattern, checked::XunleiExtensionPattern, 178},
                        Case{kTexts.BaiduDlinkPattern, checked::BaiduDlinkPattern, 34},
                        Case{kTexts.BaiduFilenamePattern, checked::BaiduFilenamePattern, 23},
                        Case{kTexts.BaiduSizePattern, checked::BaiduSizePattern, 33},
                        Case{kTexts.BaiduMd5Pattern, checked::BaiduMd5Pattern, 32}}) {
    EXPECT_STREQ(c.program, c.expected);
    EXPECT_EQ(std::strlen(c.program), c.length) << c.program;
  }
}

}  // namespace
}  // namespace app

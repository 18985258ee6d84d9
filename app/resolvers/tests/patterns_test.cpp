// The resolvers' seven patterns: the program's texts are these, byte for byte, and over
// sample share pages of each service they compile and pick the right sub-matches, in page
// order, searched as the resolvers search.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/program_texts.h"
#include "app/testing/program_test.h"
#include "pattern_search.h"
#include "service_patterns.h"
#include "share_server.h"

namespace app::testing {
namespace {

using namespace patterns;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::StartsWith;

TEST(ResolverPatterns, AreTheCheckedOnesWithTheirLengths) {
  struct Case {
    const char* program;
    const char* expected;
    std::size_t length;
  };
  for (const Case& c : {Case{kTexts.XunleiKeyPattern, XunleiKeyPattern, 24},
                        Case{kTexts.XunleiFilePattern, XunleiFilePattern, 85},
                        Case{kTexts.XunleiExtensionPattern, XunleiExtensionPattern, 178},
                        Case{kTexts.BaiduDlinkPattern, BaiduDlinkPattern, 34},
                        Case{kTexts.BaiduFilenamePattern, BaiduFilenamePattern, 23},
                        Case{kTexts.BaiduSizePattern, BaiduSizePattern, 33},
                        Case{kTexts.BaiduMd5Pattern, BaiduMd5Pattern, 32}}) {
    EXPECT_STREQ(c.program, c.expected);
    EXPECT_EQ(std::strlen(c.program), c.length) << c.program;
  }
}

// Sub-match `group` of every match of `pattern` in `page`.
std::vector<std::string> Groups(const char* pattern, const std::string& page, int group) {
  PatternSearch search = StartPatternSearch();
  SearchPattern(search, pattern, page.c_str());
  std::vector<std::string> texts;
  for (std::int32_t i = 0; i < MatchCount(search); ++i) texts.push_back(TakeText(MatchText(search, i, page.c_str(), group)));
  EndPatternSearch(search);
  return texts;
}

TEST(ServicePatterns, XunleiPageGivesKeyAndBothEntries) {
  const std::string page = ReadFixture("xunlei_share.html");
  ASSERT_FALSE(page.empty());
  EXPECT_THAT(Groups(XunleiKeyPattern, page, 1), ElementsAre("1f0c6e8a93b24d57"));
  EXPECT_THAT(Groups(XunleiFilePattern, page, 1),
              ElementsAre("%E6%B5%8B%E8%AF%95%E6%96%87%E6%A1%A3.part1.rar",
                          "%E5%85%83%E5%AE%B5%E7%87%88%E7%B1%A0.rmvb"));
  const auto urls = Groups(XunleiFilePattern, page, 2);
  ASSERT_EQ(urls.size(), 2u);
  for (const std::string& url : urls) {
    EXPECT_THAT(url, StartsWith("http://dl.f.xunlei.com/download?fid="));
    EXPECT_EQ(url.find('"'), std::string::npos);
  }
  EXPECT_THAT(urls[0], EndsWith("&n=013A8C07A3706172740E5F8F2E72617200000000"));
  EXPECT_THAT(urls[1], EndsWith("&n=0152C4E57D30F6C5DD0E726D76620000000000"));
  EXPECT_THAT(Groups(XunleiFilePattern, page, 3), ElementsAre("734003200", "356515840"));
  EXPECT_THAT(Groups(XunleiExtensionPattern, page, 2), ElementsAre("rar", "rmvb"));
}

TEST(ServicePatterns, BaiduPageGivesTheEscapedFields) {
  const std::string page = ReadFixture("baidu_share.html");
  ASSERT_FALSE(page.empty());
  const auto dlinks = Groups(BaiduDlinkPattern, page, 1);
  ASSERT_EQ(dlinks.size(), 1u);
  EXPECT_THAT(dlinks[0], StartsWith(R"(http:\\/\\/d.pcs.baidu.com\\/file\\/3f7a9c2e5b8d104f6a2e9c7b1d0f5e84?fid=)"));
  EXPECT_THAT(dlinks[0], EndsWith("&filename=%E6%97%85%E8%A1%8C%E6%97%A5%E8%AE%B0.7z"));
  EXPECT_THAT(Groups(BaiduDlinkPattern, page, 2), ElementsAre(R"(\"})"));
  EXPECT_THAT(Groups(BaiduFilenamePattern, page, 1), ElementsAre("%E6%97%85%E8%A1%8C%E6%97%A5%E8%AE%B0.7z"));
  EXPECT_THAT(Groups(BaiduSizePattern, page, 1), ElementsAre("52428800"));
  EXPECT_THAT(Groups(BaiduMd5Pattern, page, 1), ElementsAre("3f7a9c2e5b8d104f6a2e9c7b1d0f5e84"));
}

struct SnippetCase {
  const char* name;
  const char* pattern;
  const char* text;
  int group;
  std::vector<std::string> texts;
};

void PrintTo(const SnippetCase& c, std::ostream* os) { *os << c.name; }

class SnippetTable : public ::testing::TestWithParam<SnippetCase> {};

TEST_P(SnippetTable, PicksTheSubMatch) {
  const SnippetCase& c = GetParam();
  EXPECT_EQ(Groups(c.pattern, c.text, c.group), c.texts);
}

#define ENTRY(name) "<input checked=\"checked\"   file_name=\"" name "\" file_url=\"u\" file_size=\"1\" />"

INSTANTIATE_TEST_SUITE_P(
    Fields, SnippetTable,
    ::testing::Values(
        // The extension is the first listed one after a dot, in the order of the list.
        SnippetCase{"ExtensionLongBeforeShort", XunleiExtensionPattern, ENTRY("a.rmvb"), 2, {"rmvb"}},
        SnippetCase{"ExtensionShort", XunleiExtensionPattern, ENTRY("a.rm"), 2, {"rm"}},
        SnippetCase{"ExtensionAfterAnUnlistedDot", XunleiExtensionPattern, ENTRY("x.part1.rar"), 2, {"rar"}},
        SnippetCase{"ExtensionPrefixOfALongerOne", XunleiExtensionPattern, ENTRY("a.docx"), 2, {"doc"}},
        SnippetCase{"ExtensionMpegAfterMpg", XunleiExtensionPattern, ENTRY("a.mpeg"), 2, {"mpeg"}},
        SnippetCase{"ExtensionUpperCaseIsNotListed", XunleiExtensionPattern, ENTRY("a.GHO"), 2, {}},
        SnippetCase{"FileEntriesInOrder", XunleiFilePattern, ENTRY("one.zip") ENTRY("two.zip"), 1,
                    {"one.zip", "two.zip"}},
        SnippetCase{"KeyUpToTheFirstClose", XunleiKeyPattern, "name=\"key\" value='k1'>x'>", 1, {"k1"}},
        // Any number of backslashes before each quote.
        SnippetCase{"Md5DoubleEscaped", BaiduMd5Pattern, R"({\\\"md5\\\":\\\"abc\\\"})", 1, {"abc"}},
        SnippetCase{"SizeOnceEscaped", BaiduSizePattern, R"({\"size\":\"42\",\"md5\":\"m\"})", 1, {"42"}},
        SnippetCase{"DlinkUpToTheClosingBrace", BaiduDlinkPattern, R"({\"dlink\":\"http:\\/\\/h\\/f?a\"}\"})", 1,
                    {R"(http:\\/\\/h\\/f?a)"}},
        SnippetCase{"DlinkNeedsItsBrace", BaiduDlinkPattern, R"({\"dlink\":\"http:\\/\\/h\",\"x\":1)", 1, {}},
        SnippetCase{"FilenameUpToTheEscapedQuote", BaiduFilenamePattern, R"(&filename=a%20b.txt\"})", 1,
                    {"a%20b.txt"}}),
    [](const auto& info) { return std::string(info.param.name); });

#undef ENTRY

}  // namespace
}  // namespace app::testing

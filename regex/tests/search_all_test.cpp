// SearchAll: pass by pass through the text, offsets from its start, line handling, and
// the end of the loop for patterns that match the empty string.
#include "test_runtime.h"

namespace regexlib::testing {
namespace {

using Span = std::pair<std::int32_t, std::int32_t>;

struct SearchCase {
  const char* name;
  const char* pattern;
  std::string text;
  std::vector<Span> spans;
  std::vector<std::optional<std::string>> group1 = {};  // per result, when checked
  bool multiLine = true;
};

void PrintTo(const SearchCase& c, std::ostream* os) { *os << c.name; }

class SearchTable : public LibraryTest, public ::testing::WithParamInterface<SearchCase> {};

TEST_P(SearchTable, FindsEachMatchInOrder) {
  const SearchCase& c = GetParam();
  Regex re;
  ASSERT_TRUE(re.Create(c.pattern)) << c.pattern;
  re.block()->MultiLine = c.multiLine ? 1 : 0;
  const Results found = re.SearchAll(c.text);
  EXPECT_EQ(found.Spans(), c.spans);
  if (c.group1.empty()) return;
  ASSERT_EQ(found.size(), static_cast<std::int32_t>(c.group1.size()));
  for (std::int32_t i = 0; i < found.size(); ++i) {
    EXPECT_EQ(found.Text(i, 1, c.text.c_str()), c.group1[static_cast<std::size_t>(i)]) << "result " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Passes, SearchTable,
    ::testing::Values(
        SearchCase{"EmptyTextEvenForAnEmptyMatch", "a*", "", {}},
        SearchCase{"EmptyPatternOnce", "", "abc", {{0, 0}}},
        SearchCase{"EmptyMatchAtTheStartEnds", "b*", "abc", {{0, 0}}},
        SearchCase{"OffsetsFromTheTextStart", "b", "abcb", {{1, 1}, {3, 1}}},
        SearchCase{"LazyGroupPerMatch", "x(.*?)y", "x1yx2y", {{0, 3}, {3, 3}}, {"1", "2"}},
        SearchCase{"LazyStopsAtFirst", "a(.*?)b", "a1b2b", {{0, 3}}, {"1"}},
        SearchCase{"GreedyTakesAll", "a(.*)b", "a1b2b", {{0, 5}}, {"1b2"}},
        SearchCase{"DotCrossesCrLf", "a(.*?)b", "a\r\nb", {{0, 4}}, {"\r\n"}},
        SearchCase{"EachPassIsATextStart", "^x", "xx", {{0, 1}, {1, 1}}},
        SearchCase{"LookBehindSeesNothingBeforeThePass", "(?<=a)a", "aaa", {{1, 1}}},
        SearchCase{"WordBoundaryAtThePassStart", "\\ba", "aaa", {{0, 1}, {1, 1}, {2, 1}}},
        SearchCase{"AlternationBacktracksToTheSecond", "(rm|rmvb)x", "rmvbx", {{0, 5}}, {"rmvb"}},
        SearchCase{"AlternationTakesTheFirst", "(rm|rmvb)", "rmvb", {{0, 2}}, {"rm"}},
        SearchCase{"UnmatchedGroupIsNoText", "a(b)?c", "acabc", {{0, 2}, {2, 3}}, {std::nullopt, "b"}},
        // Line separators: LF, CR and FF, but not between CR and LF.
        SearchCase{"CaretAfterLf", "^b", "a\nb", {{2, 1}}},
        SearchCase{"CaretAfterCr", "^b", "a\rb", {{2, 1}}},
        SearchCase{"CaretAfterFf", "^b", "a\fb", {{2, 1}}},
        SearchCase{"CaretAfterCrLf", "^b", "a\r\nb", {{3, 1}}},
        SearchCase{"NoCaretInsideCrLf", "^\\n", "a\r\nb", {}},
        SearchCase{"DollarBeforeCr", "a$", "a\r\nb", {{0, 1}}},
        SearchCase{"SingleLineCaret", "^b", "a\nb", {}, {}, false},
        SearchCase{"SingleLineDollar", "a$", "a\nb", {}, {}, false},
        SearchCase{"SingleLineDotStillCrossesLf", "a.b", "a\nb", {{0, 3}}, {}, false},
        // Matching is byte by byte: "." takes one byte of a GBK character.
        SearchCase{"DotTakesOneByte", "\xC4(.)", "\xC4\xE3\xC4\xE3", {{0, 2}, {2, 2}}, {"\xE3", "\xE3"}},
        SearchCase{"TrailByteIsABackslash", "\\\\", "\xBB\x5C", {{1, 1}}}),
    [](const auto& info) { return std::string(info.param.name); });

// Patterns that match the empty string after the start: the loop must end, find every
// non-empty match once, and never start a pass on the trail byte of a GBK character.
INSTANTIATE_TEST_SUITE_P(
    EmptyMatches, SearchTable,
    ::testing::Values(
        SearchCase{"LookAheadOnly", "(?=c)", "abcbc", {{2, 0}, {4, 0}}},
        SearchCase{"DollarAtTheEnd", "$", "abc", {{3, 0}}},
        SearchCase{"NonEmptyMatchesBetween", "b|(?=c)", "abcbc", {{1, 1}, {2, 0}, {3, 1}, {4, 0}}},
        SearchCase{"EmptyMatchAtTheTextEndAfterAMatch", "a|$", "ba", {{1, 1}, {2, 0}}},
        SearchCase{"GreedyThenEmptyAtTheEnd", "b|a*", "baa", {{0, 1}, {1, 2}, {3, 0}}},
        SearchCase{"NonEmptyMatchAtTheSamePlace", "(?=ab)|ab", "zab", {{1, 0}, {1, 2}}},
        SearchCase{"LazyEmptyThenNonEmpty", "x(?=a)|a??", "xa", {{0, 1}, {1, 0}, {1, 1}, {2, 0}}},
        SearchCase{"StepsAWholeCharacter", "(?=\\x81)|^\\\\", "z\x81\x5Cz", {{1, 0}}},
        SearchCase{"StepsFromInsideACharacter", "(?=A)", "\x81" "A\x81" "A", {{1, 0}, {3, 0}}},
        SearchCase{"LoneLeadByteAtTheEnd", "(?=\\x81)", "a\x81", {{1, 0}}},
        SearchCase{"AsciiStepsOneByte", "(?=a)", "xaaa", {{1, 0}, {2, 0}, {3, 0}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LibraryTest, ManyEmptyMatchesEndAndCountOnce) {
  Regex re;
  ASSERT_TRUE(re.Create("(?=a)|b+"));
  std::string text = "x";
  for (int i = 0; i < 20000; ++i) text += (i % 100 == 99) ? "bb" : "a";
  const Results found = re.SearchAll(text);
  std::int32_t empty = 0, nonEmpty = 0;
  for (auto [offset, length] : found.Spans()) (length == 0 ? empty : nonEmpty)++;
  EXPECT_EQ(empty, 20000 - 200);
  EXPECT_EQ(nonEmpty, 200);
}

TEST_F(LibraryTest, EachResultHasOneEntryPerGroupAndTheWholeMatch) {
  Regex re;
  ASSERT_TRUE(re.Create("(a)(b)?(?:c)(d|(e))"));
  const Results found = re.SearchAll("acd");
  ASSERT_EQ(found.size(), 1);
  const auto& e = found.at(0)->result->entries;
  ASSERT_EQ(e.size(), 5u);
  EXPECT_TRUE(e[0].matched && e[1].matched && !e[2].matched && e[3].matched && !e[4].matched);
  EXPECT_EQ(e[2].length, 0);
  EXPECT_EQ(e[3].offset, 2);
}

TEST_F(LibraryTest, SearchingLeavesTheCallersTextAlone) {
  Regex re;
  ASSERT_TRUE(re.Create("b"));
  char text[] = "abcb";
  const Results found = re.SearchAll(text);
  EXPECT_STREQ(text, "abcb");
  text[1] = 'X';  // the results are offsets: the caller passes the text again
  EXPECT_EQ(found.Text(1, 0, text), "b");
}

}  // namespace
}  // namespace regexlib::testing

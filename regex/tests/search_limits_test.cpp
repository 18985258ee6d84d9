// Bad input: a huge page, binary bytes, and patterns that make Boost give up midway. The
// call ends with what it found and the library stays usable.
#include <boost/regex.hpp>

#include "test_runtime.h"

namespace regexlib::testing {
namespace {

using Span = std::pair<std::int32_t, std::int32_t>;
using ::testing::ElementsAre;

class SearchLimitsTest : public LibraryTest {};

TEST_F(SearchLimitsTest, HugePageKeepsOffsetsFromItsStart) {
  constexpr std::size_t Size = 40u << 20;
  std::string page(Size, 'x');
  for (std::size_t i = 0; i < Size; i += 4096) page[i] = '\n';
  const std::string entry = "file_size=\"123\" ";
  const std::size_t at[] = {10, Size / 2, Size - entry.size()};
  for (std::size_t pos : at) page.replace(pos, entry.size(), entry);

  Regex re;
  ASSERT_TRUE(re.Create("file_size=\\x22(.*?)\\x22 "));
  const Results found = re.SearchAll(page);
  ASSERT_EQ(found.size(), 3);
  for (std::int32_t i = 0; i < 3; ++i) {
    EXPECT_EQ(SubMatchOffset(found.at(i), 1), static_cast<std::int32_t>(at[i] + 11)) << i;
    EXPECT_EQ(found.Text(i, 1, page.c_str()), "123");
  }
}

TEST_F(SearchLimitsTest, BinaryBytesAreSearchedAndNulEndsTheText) {
  std::string bytes;
  for (int b = 1; b < 256; ++b) bytes += static_cast<char>(b);
  Regex re;
  ASSERT_TRUE(re.Create("."));
  EXPECT_EQ(re.SearchAll(bytes).size(), 255);
  ASSERT_TRUE(re.Create("[\\x80-\\xFF]+"));
  EXPECT_THAT(re.SearchAll(bytes).Spans(), ElementsAre(Span{127, 128}));

  const std::string withNul("ab\0cb", 5);
  ASSERT_TRUE(re.Create("b"));
  EXPECT_THAT(re.SearchAll(withNul).Spans(), ElementsAre(Span{1, 1}));
  ASSERT_TRUE(re.Create("c"));
  EXPECT_EQ(re.SearchAll(withNul).size(), 0);
}

struct LimitCase {
  const char* name;
  const char* pattern;
  std::string text;
  std::vector<Span> spansBeforeTheLimit;
};

void PrintTo(const LimitCase& c, std::ostream* os) { *os << c.name; }

class LimitTable : public LibraryTest, public ::testing::WithParamInterface<LimitCase> {};

TEST_P(LimitTable, EndsWithTheResultsSoFar) {
  const LimitCase& c = GetParam();
  // Boost itself gives up on what follows the last match.
  const std::size_t rest = c.spansBeforeTheLimit.empty()
                               ? 0
                               : static_cast<std::size_t>(c.spansBeforeTheLimit.back().first +
                                                          c.spansBeforeTheLimit.back().second);
  const std::string tail = c.text.substr(rest);
  EXPECT_THROW(boost::regex_search(tail, boost::regex(c.pattern)), std::runtime_error);

  Regex re;
  ASSERT_TRUE(re.Create(c.pattern));
  EXPECT_EQ(re.SearchAll(c.text).Spans(), c.spansBeforeTheLimit);
  // The same regex still searches afterwards.
  EXPECT_THAT(re.SearchAll("aab").Spans(), ElementsAre(Span{0, 3}));
}

INSTANTIATE_TEST_SUITE_P(
    Boost, LimitTable,
    ::testing::Values(
        // Exponential backtracking: Boost's complexity limit.
        LimitCase{"ComplexityFromTheStart", "(a*)*b", std::string(40, 'a'), {}},
        LimitCase{"ComplexityAfterAMatch", "(a*)*b", "aab" + std::string(40, 'a'), {{0, 3}}},
        // Deep recursion of the alternation: Boost's stack limit.
        LimitCase{"StackAfterTwoMatches", "(a|aa)*b", "ab" "aab" + std::string(200000, 'a'), {{0, 2}, {2, 3}}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace regexlib::testing

// The `regex` variable: construction, Create with its flags and failures, recompiling,
// destruction, and SearchResult values that outlive their regex.
#include <boost/regex.hpp>

#include "test_runtime.h"

namespace regexlib::testing {
namespace {

using ::testing::ElementsAre;
using Span = std::pair<std::int32_t, std::int32_t>;

class RegexVariableTest : public LibraryTest {};

TEST_F(RegexVariableTest, ConstructionGivesAnEmptyExpressionAndMultiLine) {
  Regex re;
  ASSERT_NE(re.block()->expression, nullptr);
  EXPECT_TRUE(re.block()->expression->empty());
  EXPECT_EQ(re.block()->MultiLine, 1);
  EXPECT_EQ(re.SearchAll("abc").size(), 0) << "a never-compiled regex finds nothing";
}

struct CreateCase {
  const char* name;
  const char* pattern;
  std::optional<bool> caseSensitive;
  bool compiles;
  const char* text;
  std::vector<Span> spans;
};

void PrintTo(const CreateCase& c, std::ostream* os) { *os << c.name; }

class CreateTable : public LibraryTest, public ::testing::WithParamInterface<CreateCase> {};

TEST_P(CreateTable, CompilesWithItsFlagsAndFinds) {
  const CreateCase& c = GetParam();
  Regex re;
  ASSERT_EQ(re.Create(c.pattern, c.caseSensitive), c.compiles);
  EXPECT_EQ(re.SearchAll(c.text).Spans(), c.spans);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, CreateTable,
    ::testing::Values(
        CreateCase{"CaseSensitiveByDefault", "ABC", std::nullopt, true, "xabcABC", {{4, 3}}},
        CreateCase{"CaseSensitive", "ABC", true, true, "xabcABC", {{4, 3}}},
        CreateCase{"CaseFolded", "ABC", false, true, "xabcABC", {{1, 3}, {4, 3}}},
        CreateCase{"CaseFoldedClass", "[a-c]+", false, true, "ABCd", {{0, 3}}},
        // Case folding leaves GBK bytes alone (0xC4 0xE3 is one character).
        CreateCase{"CaseFoldingLeavesGbk", "\xC4\xE3", false, true, "\xE4\xC3\xC4\xE3", {{2, 2}}},
        CreateCase{"EmptyPattern", "", std::nullopt, true, "abc", {{0, 0}}},
        CreateCase{"UnmatchedOpen", "(", std::nullopt, false, "(", {}},
        CreateCase{"UnmatchedClose", "a)", std::nullopt, false, "a)", {}},
        CreateCase{"OpenSet", "[a-", std::nullopt, false, "a", {}},
        CreateCase{"BadRepeat", "a{2,1}", std::nullopt, false, "aa", {}},
        CreateCase{"TrailingBackslash", "\\", std::nullopt, false, "\\", {}},
        CreateCase{"RepeatFirst", "*a", std::nullopt, false, "a", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RegexVariableTest, RejectedPatternKeepsTheExpressionHeld) {
  Regex re;
  ASSERT_TRUE(re.Create("a"));
  EXPECT_FALSE(re.Create("("));
  EXPECT_THAT(re.SearchAll("bab").Spans(), ElementsAre(Span{1, 1}));
}

TEST_F(RegexVariableTest, RecompilingReplacesTheExpression) {
  Regex re;
  ASSERT_TRUE(re.Create("a"));
  ASSERT_TRUE(re.Create("b(c)"));
  const Results found = re.SearchAll("abcab");
  EXPECT_THAT(found.Spans(), ElementsAre(Span{1, 2}));
  EXPECT_EQ(found.at(0)->result->entries.size(), 2u);
}

TEST_F(RegexVariableTest, DestructionAfterAFailedCreateOrTwiceIsClean) {
  Regex re;
  EXPECT_FALSE(re.Create("(("));
  Call(DestroyRegex, {runtime::PointerArg(re.block(), RegexType)});
  EXPECT_EQ(re.block()->expression, nullptr);
  // ~Regex destroys once more.
}

TEST_F(RegexVariableTest, CreateSuppliesAnExpressionThatConstructionCouldNotAllocate) {
  Regex re;
  delete re.block()->expression;
  re.block()->expression = nullptr;  // as construction leaves it without memory
  EXPECT_EQ(re.SearchAll("a").size(), 0);
  ASSERT_TRUE(re.Create("a"));
  EXPECT_EQ(re.SearchAll("aa").size(), 2);
}

TEST_F(RegexVariableTest, SearchResultsOutliveRecompilingAndDestroyingTheirRegex) {
  const char* text = "key=1;key=22;";
  auto re = std::make_unique<Regex>();
  ASSERT_TRUE(re->Create("key=(\\d+);"));
  const Results found = re->SearchAll(text);
  ASSERT_TRUE(re->Create("nothing"));
  EXPECT_EQ(found.Text(1, 1, text), "22");
  re.reset();
  EXPECT_EQ(found.Text(0, 1, text), "1");
  EXPECT_EQ(found.Text(1, 0, text), "key=22;");
}

TEST_F(RegexVariableTest, MissingArgumentsAreHarmless) {
  runtime::CommandResult r = Call(regexlib::Create, {});
  EXPECT_EQ(r.type, runtime::types::Bool);
  EXPECT_EQ(r.dataLow, 0u);
  Call(ConstructRegex, {});
  Call(DestroyRegex, {runtime::PointerArg(nullptr, RegexType)});
  Results none(runtime::ArgPointer(Call(regexlib::SearchAll, {})));
  EXPECT_EQ(none.size(), 0);
}

}  // namespace
}  // namespace regexlib::testing

// GetSubMatchText: the text of one entry, its out-argument, and staying inside the list
// and the text whatever index and text the caller passes.
#include <limits>

#include "test_runtime.h"

namespace regexlib::testing {
namespace {

class GetSubMatchTextTest : public LibraryTest {};

struct IndexCase {
  const char* name;
  runtime::CommandArg index;
  std::optional<std::string> text;
  std::int32_t offset;  // what the out-argument holds afterwards (-77: not written)
};

void PrintTo(const IndexCase& c, std::ostream* os) { *os << c.name; }

class IndexTable : public LibraryTest, public ::testing::WithParamInterface<IndexCase> {};

// "a(b)?c(d)" over "xacd": entry 0 "acd" at 1, entry 1 unmatched, entry 2 "d" at 3.
TEST_P(IndexTable, TakesTheEntryOrNothing) {
  const IndexCase& c = GetParam();
  const char* text = "xacd";
  Regex re;
  ASSERT_TRUE(re.Create("a(b)?c(d)"));
  const Results found = re.SearchAll(text);
  ASSERT_EQ(found.size(), 1);
  std::int32_t offset = -77;
  EXPECT_EQ(SubMatchText(found.at(0), text, c.index, IntVariableArg(&offset)), c.text);
  EXPECT_EQ(offset, c.offset);
}

INSTANTIATE_TEST_SUITE_P(
    Indexes, IndexTable,
    ::testing::Values(
        IndexCase{"WholeMatch", runtime::IntArg(0), "acd", 1},
        IndexCase{"UnmatchedGroupWritesNothing", runtime::IntArg(1), std::nullopt, -77},
        IndexCase{"LastGroup", runtime::IntArg(2), "d", 3},
        IndexCase{"PastTheLastGroup", runtime::IntArg(3), std::nullopt, -77},
        IndexCase{"Negative", runtime::IntArg(-1), std::nullopt, -77},
        IndexCase{"Largest", runtime::IntArg(std::numeric_limits<std::int32_t>::max()), std::nullopt, -77},
        IndexCase{"LongBeyondInt32", runtime::LongArg(std::int64_t{1} << 32), std::nullopt, -77},
        IndexCase{"Double", runtime::DoubleArg(2.0), "d", 3},
        IndexCase{"DoubleNaN", runtime::DoubleArg(std::numeric_limits<double>::quiet_NaN()), std::nullopt, -77},
        IndexCase{"Short", runtime::MakeArg(0xFFFF, runtime::types::Short), std::nullopt, -77},
        IndexCase{"NotANumber", runtime::TextArg("0"), std::nullopt, -77},
        IndexCase{"Omitted", runtime::OmittedArg, std::nullopt, -77}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GetSubMatchTextTest, OutArgumentReceivesTheOffsetFromTheTextStart) {
  Regex re;
  ASSERT_TRUE(re.Create("b"));
  const Results found = re.SearchAll("abcb");
  EXPECT_EQ(SubMatchOffset(found.at(0), 0), 1);
  EXPECT_EQ(SubMatchOffset(found.at(1), 0), 3);
}

TEST_F(GetSubMatchTextTest, EmptyMatchGivesNoTextButItsOffset) {
  Regex re;
  ASSERT_TRUE(re.Create("(?=c)"));
  const Results found = re.SearchAll("abc");
  ASSERT_EQ(found.size(), 1);
  std::int32_t offset = -77;
  EXPECT_EQ(SubMatchText(found.at(0), "abc", runtime::IntArg(0), IntVariableArg(&offset)), std::nullopt);
  EXPECT_EQ(offset, 2);
}

TEST_F(GetSubMatchTextTest, StaysInsideAShorterOrDifferentText) {
  Regex re;
  ASSERT_TRUE(re.Create("c(d+)"));
  const Results found = re.SearchAll("abcdd");  // "cdd" at 2, group "dd" at 3
  ASSERT_EQ(found.size(), 1);
  struct Case {
    const char* text;
    std::optional<std::string> whole;
  };
  for (const Case& c : {Case{"abcdd", "cdd"}, Case{"ABCDD", "CDD"}, Case{"abcdd and more", "cdd"},
                        Case{"abcd", std::nullopt}, Case{"ab", std::nullopt}, Case{"", std::nullopt}}) {
    EXPECT_EQ(SubMatchText(found.at(0), c.text, 0), c.whole) << c.text;
  }
  // A NUL inside the range ends the text there.
  const char withNul[] = "abc\0d";
  EXPECT_EQ(SubMatchText(found.at(0), withNul, 0), std::nullopt);
  EXPECT_EQ(SubMatchText(found.at(0), withNul, 1), std::nullopt);
}

TEST_F(GetSubMatchTextTest, ReadsNoByteBeyondTheTextsNul) {
  Regex re;
  ASSERT_TRUE(re.Create("d"));
  const Results found = re.SearchAll("abcd");
  // A heap text of exactly "ab": the sanitizer build reports any read past its end.
  auto* shortText = static_cast<char*>(TestHeap::Allocate(3));
  std::memcpy(shortText, "ab", 3);
  EXPECT_EQ(SubMatchText(found.at(0), shortText, 0), std::nullopt);
  TestHeap::Free(shortText);
}

TEST_F(GetSubMatchTextTest, EmptyOrMissingSearchResultGivesNothing) {
  SearchResultBlock fresh;
  ASSERT_NE(fresh.block()->result, nullptr);
  EXPECT_TRUE(fresh.block()->result->entries.empty());
  EXPECT_EQ(SubMatchText(fresh.block(), "abc", 0), std::nullopt);
  EXPECT_EQ(SubMatchOffset(fresh.block(), 0), -77);

  SearchResultVariable none{nullptr};
  EXPECT_EQ(SubMatchText(&none, "abc", 0), std::nullopt);
  EXPECT_EQ(SubMatchText(nullptr, "abc", 0), std::nullopt);

  const runtime::CommandResult r = Call(GetSubMatchText, {});
  EXPECT_EQ(r.type, runtime::types::Text);
  EXPECT_EQ(runtime::ArgPointer(r), nullptr);
}

TEST_F(GetSubMatchTextTest, OutArgumentOnlyThroughAnIntegerReference) {
  Regex re;
  ASSERT_TRUE(re.Create("b"));
  const Results found = re.SearchAll("ab");
  std::int32_t offset = -77;
  // An integer passed by value is no variable to write to.
  EXPECT_EQ(SubMatchText(found.at(0), "ab", runtime::IntArg(0), runtime::IntArg(12345)), "b");
  EXPECT_EQ(SubMatchText(found.at(0), "ab", runtime::IntArg(0),
                         runtime::PointerArg(&offset, runtime::types::Double | runtime::types::HeldElsewhere)),
            "b");
  EXPECT_EQ(SubMatchText(found.at(0), "ab", runtime::IntArg(0),
                         runtime::PointerArg(nullptr, runtime::types::Int | runtime::types::HeldElsewhere)),
            "b");
  EXPECT_EQ(offset, -77);
}

TEST_F(GetSubMatchTextTest, DestroyedSearchResultGivesNothing) {
  Regex re;
  ASSERT_TRUE(re.Create("b"));
  const Results found = re.SearchAll("ab");
  Call(DestroySearchResult, {runtime::PointerArg(found.at(0), SearchResultType)});
  EXPECT_EQ(found.at(0)->result, nullptr);
  EXPECT_EQ(SubMatchText(found.at(0), "ab", 0), std::nullopt);
  // Results destroys it once more on the way out.
}

}  // namespace
}  // namespace regexlib::testing

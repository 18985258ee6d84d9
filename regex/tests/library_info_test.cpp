// The library's constant record as the runtime reads it, its notification entry, and
// what happens when the runtime heap gives nothing.
#include <regex>

#include "test_runtime.h"

namespace regexlib::testing {
namespace {

TEST(RegexLibraryInfo, DescribesTheTypesAndCommands) {
  const runtime::LibraryInfo& info = RegexLibraryInfo();
  EXPECT_EQ(info.format, 20000101);
  EXPECT_TRUE(std::regex_match(info.guid, std::regex(R"(\{[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}\})")))
      << info.guid;
  EXPECT_GT(info.version, 0);
  EXPECT_STRNE(info.name, "");
  EXPECT_EQ(info.notify, &LibraryNotify);

  const runtime::Command expected[] = {ConstructRegex, DestroyRegex, Create, SearchAll,
                                       ConstructSearchResult, DestroySearchResult, GetSubMatchText};
  ASSERT_EQ(info.commandCount, 7);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(info.commands[i], expected[i]) << "command " << i;

  ASSERT_EQ(info.typeCount, 2);
  const runtime::LibraryDataType& regex = info.types[0];
  EXPECT_EQ(runtime::LibraryType(LibraryNumber, regex.number), 0x00040001u);
  EXPECT_STREQ(regex.name, "regex");
  EXPECT_EQ(regex.blockSize, static_cast<std::int32_t>(sizeof(void*) + 4 + (sizeof(void*) == 8 ? 4 : 0)));
  EXPECT_EQ(info.commands[regex.constructCommand], &ConstructRegex);
  EXPECT_EQ(info.commands[regex.destructCommand], &DestroyRegex);

  const runtime::LibraryDataType& result = info.types[1];
  EXPECT_EQ(runtime::LibraryType(LibraryNumber, result.number), 0x00040002u);
  EXPECT_STREQ(result.name, "SearchResult");
  EXPECT_EQ(result.blockSize, static_cast<std::int32_t>(sizeof(void*)));
  EXPECT_EQ(info.commands[result.constructCommand], &ConstructSearchResult);
  EXPECT_EQ(info.commands[result.destructCommand], &DestroySearchResult);
}

class RuntimeHeapTest : public LibraryTest {};

TEST_F(RuntimeHeapTest, BeforeTheRuntimeHandsOverItsNotifyNothingIsAllocated) {
  Regex re;
  ASSERT_TRUE(re.Create("b"));
  {
    const Results kept = re.SearchAll("abc");  // made while the heap is there
    LibraryNotify(runtime::library_notify::Start, 0, 0);
    const std::int64_t before = TestHeap::Allocations();
    const Results none = re.SearchAll("abc");
    EXPECT_EQ(none.array(), nullptr);
    EXPECT_EQ(SubMatchText(kept.at(0), "abc", 0), std::nullopt);
    EXPECT_EQ(TestHeap::Allocations(), before);
    LibraryNotify(runtime::library_notify::Start, reinterpret_cast<std::intptr_t>(&TestHeap::Notify), 0);
    EXPECT_EQ(SubMatchText(kept.at(0), "abc", 0), "b");
  }
}

TEST_F(RuntimeHeapTest, OtherNotificationsAreAnsweredWithZero) {
  for (std::int32_t code : {runtime::library_notify::Shutdown, runtime::library_notify::ReadObjectProperty,
                            runtime::library_notify::WriteObjectProperty, 12345}) {
    EXPECT_EQ(LibraryNotify(code, 0, 0), 0) << code;
  }
  Regex re;  // and the heap is still the one handed over
  ASSERT_TRUE(re.Create("a"));
  EXPECT_EQ(re.SearchAll("a").size(), 1);
}

struct RefusalCase {
  const char* name;
  std::set<std::int64_t> refused;  // request numbers within SearchAll (1 = the array)
  bool array;
  std::int32_t count;
};

void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }

class RefusalTable : public LibraryTest, public ::testing::WithParamInterface<RefusalCase> {};

// Three matches: SearchAll asks for the array, then one block per match.
TEST_P(RefusalTable, KeepsWhatItCouldHandOver) {
  const RefusalCase& c = GetParam();
  Regex re;
  ASSERT_TRUE(re.Create("(b)"));
  TestHeap::Refuse(c.refused);
  const Results found = re.SearchAll("abbcb");
  ASSERT_EQ(found.array() != nullptr, c.array);
  ASSERT_EQ(found.size(), c.count);
  TestHeap::Refuse({});
  for (std::int32_t i = 0; i < found.size(); ++i) EXPECT_EQ(found.Text(i, 1, "abbcb"), "b");
}

INSTANTIATE_TEST_SUITE_P(
    Requests, RefusalTable,
    ::testing::Values(RefusalCase{"Nothing", {}, true, 3},
                      RefusalCase{"TheArrayButNotAnEmptyOne", {1}, true, 0},
                      RefusalCase{"TheSecondBlock", {3}, true, 1},
                      RefusalCase{"TheLastBlock", {4}, true, 2},
                      RefusalCase{"Everything", {1, 2, 3, 4, 5}, false, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RuntimeHeapTest, RefusedTextIsTheEmptyText) {
  Regex re;
  ASSERT_TRUE(re.Create("b"));
  const Results found = re.SearchAll("ab");
  TestHeap::RefuseAll();
  EXPECT_EQ(SubMatchText(found.at(0), "ab", 0), std::nullopt);
  TestHeap::RefuseAll(false);
  EXPECT_EQ(SubMatchText(found.at(0), "ab", 0), "b");
}

}  // namespace
}  // namespace regexlib::testing

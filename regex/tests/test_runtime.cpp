#include "test_runtime.h"

#include <cstdlib>
#include <cstring>
#include <map>

namespace regexlib::testing {
namespace {

std::map<void*, std::size_t> g_live;
std::int64_t g_allocations = 0;
std::int64_t g_foreignFrees = 0;
std::set<std::int64_t> g_refused;
bool g_refuseAll = false;

runtime::CommandArg BlockArg(const void* block, runtime::TypeWord type) {
  return runtime::PointerArg(block, type);
}

}  // namespace

std::int64_t TestHeap::Live() { return static_cast<std::int64_t>(g_live.size()); }
std::int64_t TestHeap::Allocations() { return g_allocations; }
std::int64_t TestHeap::ForeignFrees() { return g_foreignFrees; }
void TestHeap::Refuse(std::set<std::int64_t> requestNumbers) {
  g_refused.clear();
  for (std::int64_t n : requestNumbers) g_refused.insert(g_allocations + n);
}
void TestHeap::RefuseAll(bool refuse) { g_refuseAll = refuse; }
void TestHeap::Reset() {
  for (auto& [block, size] : g_live) std::free(block);
  g_live.clear();
  g_allocations = 0;
  g_foreignFrees = 0;
  g_refused.clear();
  g_refuseAll = false;
}

void* TestHeap::Allocate(std::size_t bytes) {
  ++g_allocations;
  if (g_refuseAll || g_refused.count(g_allocations)) return nullptr;
  void* block = std::malloc(bytes ? bytes : 1);
  if (block) g_live[block] = bytes;
  return block;
}

void TestHeap::Free(void* block) {
  if (!block) return;
  auto it = g_live.find(block);
  if (it == g_live.end()) {
    ++g_foreignFrees;
    return;
  }
  g_live.erase(it);
  std::free(block);
}

std::intptr_t TestHeap::Notify(std::int32_t code, std::intptr_t p1, std::intptr_t p2) {
  switch (code) {
    case runtime::notify::Allocate: {
      void* block = Allocate(static_cast<std::size_t>(p1));
      // Without the "null on failure" flag the runtime would end the program: fail loudly.
      if (!block && p2 == 0) ADD_FAILURE() << "allocation without the null-on-failure flag was refused";
      return reinterpret_cast<std::intptr_t>(block);
    }
    case runtime::notify::Free: Free(reinterpret_cast<void*>(p1)); return 0;
    default: ADD_FAILURE() << "unexpected RuntimeNotify code " << code; return 0;
  }
}

runtime::CommandResult Call(runtime::Command command, std::vector<runtime::CommandArg> args) {
  runtime::CommandResult result{};
  command(&result, static_cast<std::int32_t>(args.size()), args.data());
  return result;
}

SearchResultBlock::SearchResultBlock()
    : block_(static_cast<SearchResultVariable*>(TestHeap::Allocate(sizeof(SearchResultVariable)))) {
  std::memset(block_, 0, sizeof *block_);
  Call(ConstructSearchResult, {BlockArg(block_, SearchResultType)});
}

SearchResultBlock::~SearchResultBlock() {
  Call(DestroySearchResult, {BlockArg(block_, SearchResultType)});
  TestHeap::Free(block_);
}

std::optional<std::string> SubMatchText(SearchResultVariable* block, const char* text,
                                        runtime::CommandArg index, runtime::CommandArg offsetVariable) {
  const runtime::CommandResult r = Call(
      GetSubMatchText, {BlockArg(block, SearchResultType), runtime::TextArg(text), index, offsetVariable});
  EXPECT_EQ(r.type, runtime::types::Text);
  const char* got = runtime::ArgText(r);
  if (!got) return std::nullopt;
  std::string copy(got);
  EXPECT_FALSE(copy.empty()) << "an empty text is null, never a block";
  TestHeap::Free(const_cast<char*>(got));
  return copy;
}

std::optional<std::string> SubMatchText(SearchResultVariable* block, const char* text, int index) {
  return SubMatchText(block, text, runtime::IntArg(index));
}

runtime::CommandArg IntVariableArg(std::int32_t* variable) {
  return runtime::PointerArg(variable, runtime::types::Int | runtime::types::HeldElsewhere);
}

std::int32_t SubMatchOffset(SearchResultVariable* block, int index, std::int32_t unchanged) {
  std::int32_t offset = unchanged;
  // A long enough text that the copy itself never fails for lack of bytes.
  const std::string text(4096, 'z');
  SubMatchText(block, text.c_str(), runtime::IntArg(index), IntVariableArg(&offset));
  return offset;
}

Results::~Results() {
  if (!array_) return;
  for (std::int32_t i = 0; i < size(); ++i) {
    SearchResultVariable* block = at(i);
    Call(DestroySearchResult, {BlockArg(block, SearchResultType)});
    TestHeap::Free(block);
  }
  TestHeap::Free(array_);
}

std::int32_t Results::size() const {
  if (!array_) return 0;
  EXPECT_EQ(runtime::ArrayDimensions(array_), 1);
  return runtime::ArrayDimensionSize(array_, 0);
}

SearchResultVariable* Results::at(std::int32_t i) const {
  return static_cast<SearchResultVariable*>(runtime::ArrayElementAt<void*>(array_, i));
}

std::vector<std::pair<std::int32_t, std::int32_t>> Results::Spans() const {
  std::vector<std::pair<std::int32_t, std::int32_t>> spans;
  for (std::int32_t i = 0; i < size(); ++i) {
    const SubMatch& whole = at(i)->result->entries.at(0);
    spans.emplace_back(whole.offset, whole.length);
  }
  return spans;
}

std::optional<std::string> Results::Text(std::int32_t i, int index, const char* searched) const {
  return SubMatchText(at(i), searched, index);
}

Regex::Regex() : block_(static_cast<RegexVariable*>(TestHeap::Allocate(sizeof(RegexVariable)))) {
  std::memset(block_, 0, sizeof *block_);
  Call(ConstructRegex, {BlockArg(block_, RegexType)});
}

Regex::~Regex() {
  Call(DestroyRegex, {BlockArg(block_, RegexType)});
  TestHeap::Free(block_);
}

bool Regex::Create(const char* pattern, std::optional<bool> caseSensitive) {
  const runtime::CommandResult r =
      Call(regexlib::Create, {BlockArg(block_, RegexType), runtime::TextArg(pattern),
                              caseSensitive ? runtime::BoolArg(*caseSensitive) : runtime::OmittedArg});
  EXPECT_EQ(r.type, runtime::types::Bool);
  return runtime::ArgBool(r);
}

Results Regex::SearchAll(const char* text) const {
  const runtime::CommandResult r = Call(regexlib::SearchAll, {BlockArg(block_, RegexType), runtime::TextArg(text)});
  EXPECT_EQ(r.type, runtime::ArrayOf(SearchResultType));
  return Results(runtime::ArgPointer(r));
}

void LibraryTest::SetUp() {
  TestHeap::Reset();
  LibraryNotify(runtime::library_notify::Start, reinterpret_cast<std::intptr_t>(&TestHeap::Notify), 0);
}

void LibraryTest::TearDown() {
  EXPECT_EQ(TestHeap::Live(), 0) << "blocks left on the runtime heap";
  EXPECT_EQ(TestHeap::ForeignFrees(), 0) << "blocks freed that the runtime heap never handed out";
  TestHeap::Reset();
}

}  // namespace regexlib::testing

#include "pattern_search.h"

#include <cstring>

#include "app/base/libraries.h"
#include "app/base/runtime_calls.h"
#include "app/text/text_primitives.h"
#include "regex/regex_library.h"

namespace app {
namespace {

using regexlib::CommandIndex;

runtime::CommandResult CallRegex(CommandIndex command, std::initializer_list<runtime::CommandArg> args) {
  return CallLibrary(kRegexLibrary, static_cast<std::int32_t>(command), args);
}

// A variable block of the library's type: allocated, zeroed and constructed.
void* NewVariable(std::int32_t bytes, CommandIndex construct, runtime::TypeWord type) {
  void* block = Runtime().AllocBlock(bytes);
  std::memset(block, 0, static_cast<std::size_t>(bytes));
  CallRegex(construct, {runtime::PointerArg(block, type)});
  return block;
}

void* ResultElement(void* array, std::int32_t i) {
  return runtime::ArrayElementAt<void*>(array, i);
}

void ReleaseResults(void* array) {
  if (!array) return;
  const std::int32_t count = ArrayElementCount(array);
  for (std::int32_t i = 0; i < count; ++i) {
    void* block = ResultElement(array, i);
    CallRegex(CommandIndex::DestroySearchResult, {runtime::PointerArg(block, regexlib::SearchResultType)});
    FreeBlock(block);
  }
  FreeBlock(array);
}

}  // namespace

PatternSearch StartPatternSearch() {
  PatternSearch search{};
  search.regex = NewVariable(sizeof(regexlib::RegexVariable), CommandIndex::ConstructRegex, regexlib::RegexType);
  // A one-dimensional array of one element: {1, 1, pointer}.
  constexpr std::int32_t kHeader[2] = {1, 1};
  search.results = Runtime().AllocBlock(static_cast<std::int32_t>(sizeof kHeader + sizeof(void*)));
  std::memcpy(search.results, kHeader, sizeof kHeader);
  void* empty = NewVariable(sizeof(regexlib::SearchResultVariable), CommandIndex::ConstructSearchResult,
                            regexlib::SearchResultType);
  runtime::SetArrayElementAt<void*>(search.results, 0, empty);
  return search;
}

void SearchPattern(PatternSearch& search, const char* pattern, const char* text) {
  const runtime::CommandArg regex = runtime::PointerArg(search.regex, regexlib::RegexType);
  CallRegex(CommandIndex::Create, {regex, runtime::TextArg(pattern)});
  void* found = ResultBlock(CallRegex(CommandIndex::SearchAll, {regex, runtime::TextArg(text)}));
  ReleaseResults(search.results);
  search.results = found;
}

std::int32_t MatchCount(const PatternSearch& search) {
  return search.results ? ArrayElementCount(search.results) : 0;
}

runtime::Text MatchText(const PatternSearch& search, std::int32_t match, const char* text, std::int32_t group) {
  void* block = ResultElement(search.results, match);
  return ResultText(CallRegex(CommandIndex::GetSubMatchText,
                              {runtime::PointerArg(block, regexlib::SearchResultType), runtime::TextArg(text),
                               runtime::IntArg(group), runtime::OmittedArg}));
}

void EndPatternSearch(PatternSearch& search) {
  ReleaseResults(search.results);
  search.results = nullptr;
  CallRegex(CommandIndex::DestroyRegex, {runtime::PointerArg(search.regex, regexlib::RegexType)});
  FreeBlock(search.regex);
  search.regex = nullptr;
}

}  // namespace app

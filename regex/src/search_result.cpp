// The `SearchResult` variable: construction, destruction and GetSubMatchText.
#include <cstring>
#include <new>

#include "command_args.h"
#include "regex/regex_library.h"
#include "runtime_heap.h"

namespace regexlib {

void ConstructSearchResult(runtime::CommandResult*, std::int32_t argc, runtime::CommandArg* args) {
  SearchResultVariable* var = BlockArg<SearchResultVariable>(argc, args, 0);
  if (var) var->result = new (std::nothrow) SearchResult();
}

void DestroySearchResult(runtime::CommandResult*, std::int32_t argc, runtime::CommandArg* args) {
  SearchResultVariable* var = BlockArg<SearchResultVariable>(argc, args, 0);
  if (!var) return;
  delete var->result;
  var->result = nullptr;  // a second destruction is then harmless; the caller frees the block
}

void GetSubMatchText(runtime::CommandResult* result, std::int32_t argc, runtime::CommandArg* args) {
  runtime::SetPointerResult(result, nullptr, runtime::types::Text);
  const SearchResultVariable* var = BlockArg<SearchResultVariable>(argc, args, 0);
  if (!var || !var->result) return;
  const auto& entries = var->result->entries;
  const std::optional<std::int64_t> index = IntegerArgAt(argc, args, 2);
  if (!index || *index < 0 || *index >= static_cast<std::int64_t>(entries.size())) return;
  const SubMatch& entry = entries[static_cast<std::size_t>(*index)];
  if (!entry.matched) return;

  if (void* offsetVariable = IntVariableArgAt(argc, args, 3)) {
    std::memcpy(offsetVariable, &entry.offset, sizeof entry.offset);
  }
  if (entry.length < 1 || entry.offset < 0) return;

  // The text passed need not be the one searched: copy only what lies inside it. The
  // searched text itself (the same address) is as long as SearchAll found it; any other is
  // measured, no further than the sub-match's end. Measuring the searched text too would make
  // reading every match of a long page quadratic.
  const char* text = TextArgAt(argc, args, 1);
  const SearchResult& found = *var->result;
  const std::size_t start = static_cast<std::size_t>(entry.offset);
  const std::size_t stop = start + static_cast<std::size_t>(entry.length);
  const bool searched = text == found.searchedText && stop <= found.searchedLength;
  if (!searched && strnlen(text, stop) < stop) return;

  auto* copy = static_cast<char*>(heap::Allocate(static_cast<std::size_t>(entry.length) + 1));
  if (!copy) return;
  std::memcpy(copy, text + start, static_cast<std::size_t>(entry.length));
  copy[entry.length] = '\0';
  runtime::SetPointerResult(result, copy, runtime::types::Text);
}

}  // namespace regexlib

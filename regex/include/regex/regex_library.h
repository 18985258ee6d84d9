// The regular-expression support library: the `regex` and `SearchResult` data types and
// their commands, over Boost.Regex. The runtime finds everything through RegexLibraryInfo();
// every value handed back to a caller is allocated on the runtime heap through the
// RuntimeNotify that LibraryNotify code 1 delivers (before that, allocations yield null).
#pragma once

#include <boost/regex_fwd.hpp>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "runtime/library.h"
#include "runtime/values.h"

namespace regexlib {

// Place of this library in the program's library table (from 1).
inline constexpr std::uint16_t LibraryNumber = 4;
inline constexpr runtime::TypeWord RegexType = runtime::LibraryType(LibraryNumber, 1);
inline constexpr runtime::TypeWord SearchResultType = runtime::LibraryType(LibraryNumber, 2);
static_assert(RegexType == 0x00040001 && SearchResultType == 0x00040002);

// Indexes into the command table of the LibraryInfo.
enum class CommandIndex : std::int32_t {
  ConstructRegex,
  DestroyRegex,
  Create,
  SearchAll,
  ConstructSearchResult,
  DestroySearchResult,
  GetSubMatchText,
};
inline constexpr std::int32_t CommandCount = 7;

// A `regex` variable block. The caller allocates it (16 bytes on a 64-bit build), zeroes it
// and runs the construction; destruction releases the expression.
struct RegexVariable {
  boost::regex* expression;  // general heap, owned; null when construction found no memory
  std::int32_t MultiLine;    // 1 from construction; while 0, ^ and $ ignore line separators
};

// One sub-match: offsets count bytes from the start of the searched text.
struct SubMatch {
  std::int32_t offset;
  std::int32_t length;
  bool matched;  // false when the group took no part in the match (length 0)
};

// Entry 0 is the whole match, entry k capture group k. General heap, owned by its variable.
// SearchAll also notes the text it searched and that text's length, so that
// GetSubMatchText, given that text again, need not measure it.
struct SearchResult {
  std::vector<SubMatch> entries;
  const char* searchedText = nullptr;
  std::size_t searchedLength = 0;
};

// A `SearchResult` variable block: one pointer.
struct SearchResultVariable {
  SearchResult* result;
};

// The library's constant record for the runtime's library table.
const runtime::LibraryInfo& RegexLibraryInfo();
std::intptr_t LibraryNotify(std::int32_t code, std::intptr_t p1, std::intptr_t p2);

// The commands of the table, in CommandIndex order. Each takes the variable block's address
// as its first argument.
void ConstructRegex(runtime::CommandResult* result, std::int32_t argc, runtime::CommandArg* args);
void DestroyRegex(runtime::CommandResult* result, std::int32_t argc, runtime::CommandArg* args);
// (regex, pattern text, optional bool case-sensitive = true) -> bool compiled
void Create(runtime::CommandResult* result, std::int32_t argc, runtime::CommandArg* args);
// (regex, text) -> array of SearchResult variables, in the order found
void SearchAll(runtime::CommandResult* result, std::int32_t argc, runtime::CommandArg* args);
void ConstructSearchResult(runtime::CommandResult* result, std::int32_t argc, runtime::CommandArg* args);
void DestroySearchResult(runtime::CommandResult* result, std::int32_t argc, runtime::CommandArg* args);
// (SearchResult, searched text, index, optional int by reference <- offset) -> text
void GetSubMatchText(runtime::CommandResult* result, std::int32_t argc, runtime::CommandArg* args);

}  // namespace regexlib

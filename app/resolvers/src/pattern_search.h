// The regular-expression library as the resolvers use it: one `regex` variable compiled in
// turn with each pattern, and the array of `SearchResult` variables of the latest search,
// which each search replaces.
#pragma once

#include <cstdint>

#include "runtime/values.h"

namespace app {

struct PatternSearch {
  void* regex;    // the `regex` variable block (runtime heap), constructed
  void* results;  // the latest array of `SearchResult` variables (runtime heap)
};

// The variable constructed and a result array holding one empty `SearchResult`.
PatternSearch StartPatternSearch();
// Compiles `pattern` and searches `text` for all its matches; the new array replaces
// (and releases) the one before.
void SearchPattern(PatternSearch& search, const char* pattern, const char* text);
// Matches of the latest search, in the order found.
std::int32_t MatchCount(const PatternSearch& search);
// Sub-match `group` of match `match` in `text` (the searched text); a new Text.
runtime::Text MatchText(const PatternSearch& search, std::int32_t match, const char* text, std::int32_t group);
// Destroys the variable and every result, and frees their blocks.
void EndPatternSearch(PatternSearch& search);

}  // namespace app

// Handing found matches to the caller: a runtime array of SearchResult variable blocks.
#pragma once

#include <memory>
#include <vector>

#include "regex/regex_library.h"

namespace regexlib {

using FoundResults = std::vector<std::unique_ptr<SearchResult>>;

// A new one-dimensional RuntimeArray {1, count, block pointers} on the runtime heap; each
// element points to a new SearchResultVariable block that takes over one result, in order.
// If a block cannot be had, the array ends before it; if the whole array cannot be had, an
// empty one is returned. Null only when the runtime heap gives nothing at all. Results not
// taken over are released with `found`.
void* MakeResultArray(FoundResults& found);

}  // namespace regexlib

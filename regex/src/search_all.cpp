// SearchAll: every successive match of a `regex` in a text, as offsets into the text.
#include <boost/regex.hpp>
#include <cstdint>
#include <cstring>
#include <limits>

#include "char_boundary.h"
#include "command_args.h"
#include "regex/regex_library.h"
#include "result_array.h"

namespace regexlib {
namespace {

using Match = boost::match_results<const char*>;
constexpr std::ptrdiff_t MaxOffset = std::numeric_limits<std::int32_t>::max();

// The text searched, from its first byte to its NUL.
struct Searched {
  const char* begin;
  const char* end;
};

// Appends the match as offsets from the start of the text. False when an offset would not
// fit the int32 fields (a text beyond 2 GiB): the search stops there.
bool Record(const Match& m, const Searched& text, FoundResults& found) {
  if (found.size() >= static_cast<std::size_t>(MaxOffset)) return false;
  const char* const begin = text.begin;
  auto result = std::make_unique<SearchResult>();
  result->searchedText = text.begin;
  result->searchedLength = static_cast<std::size_t>(text.end - text.begin);
  result->entries.reserve(m.size());
  for (std::size_t i = 0; i < m.size(); ++i) {
    const auto& sub = m[static_cast<int>(i)];
    if (!sub.matched) {
      result->entries.push_back({0, 0, false});
      continue;
    }
    // Checked one by one: a group inside a look-ahead may end after the whole match.
    if (sub.second - begin > MaxOffset) return false;
    result->entries.push_back(
        {static_cast<std::int32_t>(sub.first - begin), static_cast<std::int32_t>(sub.length()), true});
  }
  found.push_back(std::move(result));
  return true;
}

// Each pass starts where the previous match ended and is also the base of its search, so
// ^, \A, \b and look-behind see nothing before it.
//
// An empty match at the very start ends the search. An empty match further on would be
// found again by a pass starting where it ends, so after it the search first tries for a
// non-empty match at that same place, and failing that the next pass starts at the next
// character boundary. Stepping a whole GBK character rather than one byte keeps a pass
// from starting on a trail byte, where ^ would match inside a character and "\" or "}"
// would stand for themselves. Every pass starts further on than the one before, so the
// search ends, and no non-empty match is found twice.
void SearchText(const boost::regex& expression, bool multiLine, const Searched& text, FoundResults& found) {
  const char* const begin = text.begin;
  const char* const end = text.end;
  boost::match_flag_type flags = boost::match_default;
  if (!multiLine) flags |= boost::match_single_line;
  const boost::match_flag_type nonEmptyHere = flags | boost::match_not_null | boost::match_continuous;

  CharBoundaryWalker boundaries(begin, end);
  Match m;
  const char* pos = begin;
  while (boost::regex_search(pos, end, m, expression, flags, pos)) {
    if (!Record(m, text, found)) return;
    const char* const matchEnd = m[0].second;
    if (matchEnd == begin) return;
    if (m[0].first != matchEnd) {
      pos = matchEnd;
      continue;
    }
    if (matchEnd == end) return;
    if (boost::regex_search(matchEnd, end, m, expression, nonEmptyHere, matchEnd)) {
      if (!Record(m, text, found)) return;
      pos = m[0].second;
      continue;
    }
    pos = boundaries.NextAfter(matchEnd);
  }
}

}  // namespace

void SearchAll(runtime::CommandResult* result, std::int32_t argc, runtime::CommandArg* args) {
  FoundResults found;
  const RegexVariable* var = BlockArg<RegexVariable>(argc, args, 0);
  const char* text = TextArgAt(argc, args, 1);
  // A never-compiled expression is checked here: Boost 1.74 crashes on it rather than
  // throwing.
  if (var && var->expression && !var->expression->empty() && *text) {
    try {
      // The caller's text is searched where it lies, up to its NUL: nothing changes it during
      // the search, and a copy would only add a page's size to a resolve's memory and time.
      const Searched searched{text, text + std::strlen(text)};
      SearchText(*var->expression, var->MultiLine != 0, searched, found);
    } catch (...) {
      // Boost's complexity or stack limits (std::runtime_error) or an exhausted heap: the
      // results so far stand.
    }
  }
  runtime::SetPointerResult(result, MakeResultArray(found), runtime::ArrayOf(SearchResultType));
}

}  // namespace regexlib

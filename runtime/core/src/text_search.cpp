#include "text_search.h"

#include <cstring>

#include "text_leads.h"
#include "win/ascii_case.h"

namespace runtime::core {

WalkSearch::WalkSearch(std::string_view text, std::string_view needle, bool ignoreCase)
    : text_(text), needle_(needle), ignoreCase_(ignoreCase) {}

std::size_t WalkSearch::Next(std::size_t from) const {
  if (needle_.empty() || from > text_.size() || needle_.size() > text_.size() - from) return npos;
  return ignoreCase_ ? NextIgnoringCase(from) : NextExact(from);
}

// Candidates come from the library's substring search; each is kept only when the walk
// reaches it. A rejected candidate sits on a trail byte, so the walk resumes after it.
std::size_t WalkSearch::NextExact(std::size_t from) const {
  std::size_t walk = from;
  for (std::size_t at = text_.find(needle_, from); at != npos; at = text_.find(needle_, walk)) {
    if (codepage::GbkWalkReaches(text_, walk, at, kTextLeads)) return at;
    walk = at + 1;
  }
  return npos;
}

std::size_t WalkSearch::NextIgnoringCase(std::size_t from) const {
  const char first = ascii::Lower(needle_[0]);
  const std::size_t last = text_.size() - needle_.size();
  std::size_t walk = from;
  for (std::size_t at = from; at <= last; ++at) {
    if (ascii::Lower(text_[at]) != first || !MatchesIgnoringCase(at)) continue;
    if (codepage::GbkWalkReaches(text_, walk, at, kTextLeads)) return at;
    walk = at + 1;
  }
  return npos;
}

bool WalkSearch::MatchesIgnoringCase(std::size_t at) const {
  for (std::size_t i = 0; i < needle_.size(); ++i) {
    const char n = needle_[i];
    const char t = text_[at + i];
    if (codepage::IsGbkLeadByte(static_cast<unsigned char>(n), kTextLeads)) {
      // A double-byte character: both of its bytes exactly (its trail byte may look like a
      // letter, but it names a different character).
      if (t != n) return false;
      if (++i < needle_.size() && text_[at + i] != needle_[i]) return false;
    } else if (ascii::Lower(t) != ascii::Lower(n)) {
      return false;
    }
  }
  return true;
}

std::size_t FindInTerminatedText(const char* text, std::size_t from, const char* needle) {
  std::size_t walk = from;
  for (;;) {
    // strchr runs at memchr's pace over a stretch without the needle's first byte, where
    // the substring search is slower; the substring search takes over from the first one.
    const char* candidate = std::strchr(text + walk, needle[0]);
    const char* hit = candidate ? std::strstr(candidate, needle) : nullptr;
    if (!hit) return WalkSearch::npos;
    const auto at = static_cast<std::size_t>(hit - text);
    if (codepage::GbkWalkReaches(std::string_view(text, at), walk, at, kTextLeads)) return at;
    walk = at + 1;
  }
}

}  // namespace runtime::core

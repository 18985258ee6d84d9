// Finding a needle in a text at the places the character walk reaches, so that a match
// never starts on the second byte of a double-byte character.
#pragma once

#include <cstddef>
#include <string_view>

namespace runtime::core {

class WalkSearch {
 public:
  // ignoreCase: ASCII letters of single-byte characters match either case; the bytes of a
  // double-byte character always match exactly.
  WalkSearch(std::string_view text, std::string_view needle, bool ignoreCase);

  // The first place at or after `from` where the needle matches; `from` must be a place
  // the walk reaches (0, or the end of a previous match). npos when there is none.
  std::size_t Next(std::size_t from) const;

  static constexpr std::size_t npos = std::string_view::npos;

 private:
  std::size_t NextExact(std::size_t from) const;
  std::size_t NextIgnoringCase(std::size_t from) const;
  bool MatchesIgnoringCase(std::size_t at) const;

  std::string_view text_;
  std::string_view needle_;
  bool ignoreCase_;
};

// The exact search straight over a NUL-terminated text, which need not be measured first:
// the first place at or after `from` (inside the text, a place the walk reaches) where the
// NUL-terminated needle matches; npos when there is none.
std::size_t FindInTerminatedText(const char* text, std::size_t from, const char* needle);

}  // namespace runtime::core

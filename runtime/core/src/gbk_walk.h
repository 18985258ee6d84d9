// The character walk over GBK texts that every command stepping through characters uses:
// a byte of 0x80 or above leads a double-byte character and takes the byte after it along;
// a lead byte with nothing after it (the end of the text, or a NUL) ends the walk.
#pragma once

#include <cstddef>
#include <string_view>

namespace runtime::core::gbk {

inline bool IsLeadByte(char c) { return static_cast<unsigned char>(c) >= 0x80; }

// Bytes of the character at offset i (i < text.size()): 1 for a single byte, 2 for a
// double-byte character, 0 for a lead byte that ends the walk.
inline std::size_t CharWidth(std::string_view text, std::size_t i) {
  if (!IsLeadByte(text[i])) return 1;
  return i + 1 < text.size() && text[i + 1] != '\0' ? 2 : 0;
}

// Whether a walk that is at offset `from` steps onto offset `at` (from <= at). A byte below
// 0x80 always ends a character (alone or as a trail byte), so the walk stands right after
// it; what lies between is a run of bytes of 0x80 and above, which the walk takes in pairs.
// Looks back only to the last byte below 0x80, so the search loops that call it with a
// rising `from` stay linear.
inline bool WalkReaches(std::string_view text, std::size_t from, std::size_t at) {
  std::size_t runStart = at;
  while (runStart > from && IsLeadByte(text[runStart - 1])) --runStart;
  return (at - runStart) % 2 == 0;
}

}  // namespace runtime::core::gbk

// Character boundaries of a GBK text, found by walking from its start. A byte in the middle
// of a text cannot tell by itself whether it is a trail byte (trail bytes 0x40 to 0x7E
// include "\", "}" and letters), so the walk starts at a known boundary and only ever moves
// forward: all queries of one search cost one pass over the text.
#pragma once

#include <string_view>

#include "codepage/gbk_walk.h"

namespace regexlib {

class CharBoundaryWalker {
 public:
  // The text holds no NUL (it is the runtime's text up to its NUL).
  CharBoundaryWalker(const char* begin, const char* end) : at_(begin), end_(end) {}

  // The first character boundary after p (queries must not go backwards); end at the last.
  const char* NextAfter(const char* p) {
    // Every byte from 0x80 leads, as in the runtime's own text commands, so that a pass
    // starts only where their walk would; a lead byte at the end stands alone.
    const std::string_view text(at_, static_cast<std::size_t>(end_ - at_));
    std::size_t i = 0;
    while (at_ + i <= p && i < text.size()) {
      const std::size_t width = codepage::GbkCharWidth(text, i, codepage::GbkLeads::HighBit);
      i += width == 0 ? 1 : width;
    }
    at_ += i;
    return at_;
  }

 private:
  const char* at_;  // always a boundary
  const char* end_;
};

}  // namespace regexlib

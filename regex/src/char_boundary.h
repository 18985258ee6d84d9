// Character boundaries of a GBK text, found by walking from its start: a byte of 0x80 or
// above is a lead byte that takes the next byte with it; any other byte stands alone.
// A byte in the middle of a text cannot tell by itself whether it is a trail byte (trail
// bytes 0x40 to 0x7E include "\", "}" and letters), so the walk starts at a known boundary
// and only ever moves forward: all queries of one search cost one pass over the text.
#pragma once

namespace regexlib {

class CharBoundaryWalker {
 public:
  CharBoundaryWalker(const char* begin, const char* end) : at_(begin), end_(end) {}

  // The first character boundary after p (queries must not go backwards); end at the last.
  const char* NextAfter(const char* p) {
    while (at_ <= p && at_ < end_) {
      const bool lead = static_cast<unsigned char>(*at_) >= 0x80 && end_ - at_ >= 2;
      at_ += lead ? 2 : 1;
    }
    return at_;
  }

 private:
  const char* at_;  // always a boundary
  const char* end_;
};

}  // namespace regexlib

// Reading little-endian fields from a byte range that must never be overrun: every read
// checks what is left first and throws FormatError (with the offset) when it is short.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>

namespace runtime::format {

struct FormatError : std::runtime_error {
  FormatError(const std::string& what, std::size_t offset) : std::runtime_error(what), offset(offset) {}
  std::size_t offset;
};

class ByteReader {
 public:
  // base is the offset of begin within the whole block, for error messages.
  ByteReader(const std::uint8_t* begin, std::size_t size, std::size_t base = 0)
      : begin_(begin), size_(size), base_(base) {}

  std::size_t Position() const { return pos_; }
  std::size_t Remaining() const { return size_ - pos_; }
  std::size_t Offset() const { return base_ + pos_; }  // in the whole block
  bool AtEnd() const { return pos_ == size_; }

  std::uint32_t Word(const char* what) {
    Need(4, what);
    std::uint32_t v = static_cast<std::uint32_t>(begin_[pos_]) | static_cast<std::uint32_t>(begin_[pos_ + 1]) << 8 |
                      static_cast<std::uint32_t>(begin_[pos_ + 2]) << 16 |
                      static_cast<std::uint32_t>(begin_[pos_ + 3]) << 24;
    pos_ += 4;
    return v;
  }
  std::int32_t SignedWord(const char* what) { return static_cast<std::int32_t>(Word(what)); }

  const std::uint8_t* Bytes(std::size_t n, const char* what) {
    Need(n, what);
    const std::uint8_t* p = begin_ + pos_;
    pos_ += n;
    return p;
  }
  template <std::size_t N>
  void Fixed(std::uint8_t (&out)[N], const char* what) {
    std::memcpy(out, Bytes(N, what), N);
  }
  void Fixed(std::uint8_t* out, std::size_t n, const char* what) { std::memcpy(out, Bytes(n, what), n); }

  // A word holding the byte length, then the bytes.
  std::string Counted(const char* what) {
    std::size_t start = Offset();
    std::uint32_t length = Word(what);
    if (length > Remaining()) throw FormatError(std::string(what) + ": length " + std::to_string(length) +
                                                    " runs past the end", start);
    const std::uint8_t* p = Bytes(length, what);
    return length ? std::string(reinterpret_cast<const char*>(p), length) : std::string();
  }

  // Bytes up to and including a NUL, which must lie inside the range.
  std::string Terminated(const char* what) {
    const void* nul = Remaining() ? std::memchr(begin_ + pos_, 0, Remaining()) : nullptr;
    if (!nul) throw FormatError(std::string(what) + ": no terminating NUL", Offset());
    std::size_t length = static_cast<const std::uint8_t*>(nul) - (begin_ + pos_);
    std::string text(reinterpret_cast<const char*>(begin_ + pos_), length);
    pos_ += length + 1;
    return text;
  }

  // A reader for the next n bytes, which this one skips.
  ByteReader Sub(std::size_t n, const char* what) {
    std::size_t start = Offset();
    const std::uint8_t* p = Bytes(n, what);
    return ByteReader(p, n, start);
  }

  [[noreturn]] void Fail(const std::string& what) const { throw FormatError(what, Offset()); }

 private:
  void Need(std::size_t n, const char* what) const {
    if (n > Remaining()) throw FormatError(std::string(what) + ": needs " + std::to_string(n) + " bytes, " +
                                               std::to_string(Remaining()) + " left", Offset());
  }

  const std::uint8_t* begin_;
  std::size_t size_;
  std::size_t base_;
  std::size_t pos_ = 0;
};

}  // namespace runtime::format

// Reading a fuzz input as the pieces a target needs: a few leading bytes as small numbers,
// and the rest as texts separated by a marker line, so that seeds stay readable.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : rest_(reinterpret_cast<const char*>(data), size) {}

  // The next byte (0 when none is left).
  std::uint8_t Byte() {
    if (rest_.empty()) return 0;
    auto b = static_cast<std::uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return b;
  }
  // A small signed number around zero, with the edges that texts' positions meet.
  std::int32_t Position() {
    const std::uint8_t b = Byte();
    switch (b) {
      case 0xFF: return 2147483647;
      case 0xFE: return -2147483647 - 1;
      default: return static_cast<std::int32_t>(b) - 16;
    }
  }
  // The rest split at `marker` into at most `count` pieces (missing ones empty).
  std::vector<std::string> Pieces(std::size_t count, std::string_view marker = "\n@@\n") {
    std::vector<std::string> pieces;
    std::string_view rest = rest_;
    while (pieces.size() + 1 < count) {
      std::size_t at = rest.find(marker);
      if (at == std::string_view::npos) break;
      pieces.emplace_back(rest.substr(0, at));
      rest.remove_prefix(at + marker.size());
    }
    pieces.emplace_back(rest);
    pieces.resize(count);
    return pieces;
  }
  std::string_view Rest() const { return rest_; }

 private:
  std::string_view rest_;
};

// A text as the runtime sees it: up to its first NUL.
inline std::string AsText(std::string_view bytes) { return std::string(bytes.substr(0, bytes.find('\0'))); }

[[noreturn]] inline void Fail(const char* what) {
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}
#define FUZZ_CHECK(condition) ((condition) ? void(0) : ::fuzz::Fail(#condition " (" __FILE__ ")"))

}  // namespace fuzz

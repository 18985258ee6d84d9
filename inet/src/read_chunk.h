// How much HttpReadFile asks InternetReadFile for at a time: a little more than the declared
// length, so a body whose length is known arrives in one read, within bounds.
#pragma once

#include <cstdint>
#include <optional>

namespace inet {

inline constexpr std::int32_t DefaultChunk = 10240;
inline constexpr std::int32_t MaxChunk = 102400;

// contentLength: the Content-Length header read as a number, nullopt when there is none.
inline std::int32_t ReadChunkSize(std::optional<long long> contentLength) {
  if (!contentLength || *contentLength <= 0) return DefaultChunk;
  return *contentLength >= MaxChunk ? MaxChunk : static_cast<std::int32_t>(*contentLength + 1);
}

}  // namespace inet

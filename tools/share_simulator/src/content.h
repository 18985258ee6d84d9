// The bytes of a simulated file: a deterministic stream, a function of a seed text and the
// size, that any part can be produced on its own (for streaming and for range requests).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace share_simulator {

// Files up to this size are served; larger ones appear on their pages but are refused.
inline constexpr std::uint64_t kServableLimit = 64ull * 1024 * 1024;

// Writes bytes [offset, offset + length) of the file's contents into out.
void FillContent(std::string_view seed, std::uint64_t size, std::uint64_t offset, char* out, std::size_t length);

// The lower-case hex MD5 of the whole contents, computed by streaming them. For a file above
// kServableLimit (never served) it is instead the MD5 of the text "<seed>:<size>".
std::string ContentMd5(std::string_view seed, std::uint64_t size);

}  // namespace share_simulator

// The character sets a stream reads and writes text in.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "win/types.h"

namespace adodb::detail {

enum class Charset { Utf16, Utf8, Gbk, Ascii };

// By name, without regard to case; nullopt for a name the stream does not know.
std::optional<Charset> FindCharset(std::u16string_view name);

std::string_view ByteOrderMark(Charset charset);

std::string Encode(Charset charset, std::u16string_view text);
std::u16string Decode(Charset charset, std::span<const BYTE> bytes);
// The number of bytes of the one character that begins at bytes[0] (never 0 for a
// non-empty span): the bytes that Decode turns into one character or one replacement.
std::size_t CharacterLength(Charset charset, std::span<const BYTE> bytes);

}  // namespace adodb::detail

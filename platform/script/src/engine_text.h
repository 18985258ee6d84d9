// The engine keeps strings as CESU-8: every UTF-16 code unit, surrogates included, is
// encoded on its own in one to three bytes. Converting through it (rather than UTF-8)
// keeps lone surrogates and string lengths exactly as the script sees them.
#pragma once

#include <string>
#include <string_view>

namespace script::detail {

std::string ToEngineText(std::u16string_view text);
// Also accepts four-byte UTF-8 (as a surrogate pair); a malformed sequence becomes U+FFFD.
std::u16string FromEngineText(std::string_view bytes);

}  // namespace script::detail

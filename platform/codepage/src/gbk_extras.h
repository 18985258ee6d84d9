// Code page 936 as Windows has it, where glibc's table differs: the single byte 0xFF is
// U+F8F5, and the three user-defined areas map to the private-use range U+E000-U+E765.
#pragma once

#include <optional>

namespace codepage {

// The private-use character of a user-defined double-byte code.
std::optional<char16_t> UserDefinedToUnicode(unsigned char lead, unsigned char trail);
// The user-defined double-byte code of a private-use character (lead in the high byte).
std::optional<unsigned> UnicodeToUserDefined(char16_t c);

inline constexpr unsigned char kSingleFF = 0xFF;
inline constexpr char16_t kSingleFFCharacter = u'\uF8F5';

}  // namespace codepage

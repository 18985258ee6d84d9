// Reading the number at the start of a text, as the conversions do after folding
// full-width forms: leading white space is skipped, reading stops at the first character
// that cannot continue the number, and a text without one reads as 0. Independent of the
// C library's locale.
#pragma once

#include <cstdint>
#include <string_view>

namespace runtime::core {

// A decimal number: sign, digits, a fraction, an exponent ("-1.5e3"). Beyond the range of
// a double: infinity of its sign, or 0.
double ReadLeadingNumber(std::string_view text);
// A decimal integer: sign and digits; beyond 32 bits the nearest 32-bit value.
std::int32_t ReadLeadingInteger(std::string_view text);

}  // namespace runtime::core

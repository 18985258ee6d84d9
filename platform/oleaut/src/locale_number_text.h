// Numbers as texts, the way VariantChangeType writes and reads them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "locale_info.h"

namespace oleaut::detail {

// "%.<digits>G", except that a small number whose fixed form needs no more than `digits`
// decimals is written in fixed form (5.6789E-11 -> 0.000000000056789); negative zero is
// "0". The decimal separator is the locale's.
std::u16string FormatReal(double value, int digits, const LocaleInfo& locale);
// A currency value (scaled by 10000) with its decimals, trailing zeros dropped.
std::u16string FormatCurrency(std::int64_t scaled, const LocaleInfo& locale);

// A decimal number text: spaces around it, a sign, digits with the locale's thousands
// separators, the decimal separator, an exponent. The value is digits * 10^exponent.
struct ParsedNumber {
  bool negative = false;
  std::string digits;  // no leading zeros; empty for zero
  long exponent = 0;
};
bool ParseNumberText(std::u16string_view text, const LocaleInfo& locale, ParsedNumber* number);

// Rounded half to even. False when the magnitude exceeds 64 bits.
bool RoundToInteger(const ParsedNumber& number, bool* negative, std::uint64_t* magnitude);
// Nearest double; infinity when it is out of range.
double ToDouble(const ParsedNumber& number);

}  // namespace oleaut::detail

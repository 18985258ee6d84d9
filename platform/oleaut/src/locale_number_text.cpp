#include "locale_number_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace oleaut::detail {

namespace {

std::u16string Widen(std::string_view text, char16_t decimalSeparator) {
  std::u16string out;
  out.reserve(text.size());
  for (char c : text) out.push_back(c == '.' ? decimalSeparator : static_cast<char16_t>(c));
  return out;
}

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

}  // namespace

std::u16string FormatReal(double value, int digits, const LocaleInfo& locale) {
  if (value == 0) return u"0";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*G", digits, value);
  std::string text = buffer;
  const auto e = text.find('E');
  if (e != std::string::npos && std::isfinite(value)) {
    const long exponent = std::strtol(text.c_str() + e + 1, nullptr, 10);
    std::string mantissa;
    for (std::size_t i = 0; i < e; ++i) {
      if (text[i] >= '0' && text[i] <= '9') mantissa.push_back(text[i]);
    }
    if (exponent < 0 && (-exponent - 1) + static_cast<long>(mantissa.size()) <= digits) {
      std::string fixed = value < 0 ? "-0." : "0.";
      fixed.append(static_cast<std::size_t>(-exponent - 1), '0');
      fixed += mantissa;
      text = fixed;
    }
  }
  return Widen(text, locale.decimalSeparator);
}

std::u16string FormatCurrency(std::int64_t scaled, const LocaleInfo& locale) {
  const bool negative = scaled < 0;
  // The magnitude in unsigned arithmetic, so that the smallest value has one too.
  const std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(scaled) : static_cast<std::uint64_t>(scaled);
  std::string text = negative ? "-" : "";
  text += std::to_string(magnitude / 10000);
  std::uint64_t fraction = magnitude % 10000;
  if (fraction) {
    std::string decimals = std::to_string(fraction + 10000).substr(1);
    while (decimals.back() == '0') decimals.pop_back();
    text += "." + decimals;
  }
  return Widen(text, locale.decimalSeparator);
}

bool ParseNumberText(std::u16string_view text, const LocaleInfo& locale, ParsedNumber* number) {
  *number = ParsedNumber{};
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && IsSpace(text[i])) ++i;
  if (i < n && (text[i] == u'+' || text[i] == u'-')) number->negative = text[i++] == u'-';

  std::string digits;
  long fractionDigits = 0;
  bool anyDigit = false;
  bool lastWasDigit = false;
  for (; i < n; ++i) {
    if (IsDigit(text[i])) {
      digits.push_back(static_cast<char>(text[i]));
      anyDigit = lastWasDigit = true;
    } else if (text[i] == locale.thousandsSeparator && lastWasDigit) {
      lastWasDigit = false;  // a separator between digits
    } else {
      break;
    }
  }
  if (!digits.empty() && !lastWasDigit) return false;  // "12," ends in a separator
  if (i < n && text[i] == locale.decimalSeparator) {
    ++i;
    for (; i < n && IsDigit(text[i]); ++i) {
      digits.push_back(static_cast<char>(text[i]));
      ++fractionDigits;
      anyDigit = true;
    }
  }
  if (!anyDigit) return false;

  long exponent = 0;
  if (i < n && (text[i] == u'e' || text[i] == u'E')) {
    ++i;
    bool negativeExponent = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) negativeExponent = text[i++] == u'-';
    if (i >= n || !IsDigit(text[i])) return false;
    for (; i < n && IsDigit(text[i]); ++i) {
      if (exponent < 100000) exponent = exponent * 10 + (text[i] - u'0');
    }
    if (negativeExponent) exponent = -exponent;
  }
  while (i < n && IsSpace(text[i])) ++i;
  if (i != n) return false;

  const std::size_t firstNonZero = digits.find_first_not_of('0');
  digits.erase(0, firstNonZero == std::string::npos ? digits.size() : firstNonZero);
  number->digits = digits;
  number->exponent = exponent - fractionDigits;
  return true;
}

bool RoundToInteger(const ParsedNumber& number, bool* negative, std::uint64_t* magnitude) {
  *negative = number.negative;
  *magnitude = 0;
  const std::string& d = number.digits;
  const long size = static_cast<long>(d.size());
  const long integerDigits = size + number.exponent;  // may be negative or beyond size
  if (integerDigits > 20) return d.empty();
  std::uint64_t value = 0;
  for (long k = 0; k < integerDigits; ++k) {
    const unsigned digit = k < size ? static_cast<unsigned>(d[k] - '0') : 0;
    if (value > (UINT64_MAX - digit) / 10) return false;
    value = value * 10 + digit;
  }
  // Half to even on the dropped digits.
  bool roundUp = false;
  if (integerDigits < size) {
    const long first = integerDigits < 0 ? -1 : integerDigits;
    const char firstDropped = first < 0 ? '0' : d[first];
    if (firstDropped > '5') {
      roundUp = true;
    } else if (firstDropped == '5') {
      bool moreAfter = false;
      for (long k = first + 1; k < size; ++k) moreAfter = moreAfter || d[k] != '0';
      roundUp = moreAfter || (value & 1);
    }
  }
  if (roundUp) {
    if (value == UINT64_MAX) return false;
    ++value;
  }
  *magnitude = value;
  return true;
}

double ToDouble(const ParsedNumber& number) {
  if (number.digits.empty()) return 0.0;
  std::string text = number.digits + "e" + std::to_string(number.exponent);
  double value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // Too large gives infinity, too small gives zero.
    value = number.exponent > 0 ? HUGE_VAL : 0.0;
  }
  return number.negative ? -value : value;
}

}  // namespace oleaut::detail

#include "leading_number.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>

namespace runtime::core {
namespace {

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Skips white space and a sign; true when the sign was "-".
bool SkipSpaceAndSign(std::string_view text, std::size_t& i) {
  while (i < text.size() && IsSpace(text[i])) ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) return text[i++] == '-';
  return false;
}

std::size_t SkipDigits(std::string_view text, std::size_t i) {
  while (i < text.size() && IsDigit(text[i])) ++i;
  return i;
}

// Decimal position of the leading non-zero digit of a mantissa ("0.05e3" -> 1), for
// telling an overflow from an underflow.
long LeadingDigitMagnitude(std::string_view mantissa, long exponent) {
  const std::size_t point = mantissa.find('.');
  const std::size_t integerDigits = point == std::string_view::npos ? mantissa.size() : point;
  for (std::size_t i = 0; i < mantissa.size(); ++i) {
    if (mantissa[i] == '.' || mantissa[i] == '0') continue;
    const long position = i < integerDigits ? static_cast<long>(integerDigits - i - 1)
                                            : -static_cast<long>(i - integerDigits);
    return position + exponent;
  }
  return 0;
}

}  // namespace

double ReadLeadingNumber(std::string_view text) {
  std::size_t i = 0;
  const bool negative = SkipSpaceAndSign(text, i);
  const std::size_t start = i;
  std::size_t end = SkipDigits(text, i);
  std::size_t digits = end - start;
  if (end < text.size() && text[end] == '.') {
    const std::size_t fractionEnd = SkipDigits(text, end + 1);
    digits += fractionEnd - end - 1;
    end = fractionEnd;
  }
  if (digits == 0) return 0;
  const std::size_t mantissaEnd = end;
  long exponent = 0;
  if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
    std::size_t j = end + 1;
    bool negativeExponent = false;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) negativeExponent = text[j++] == '-';
    if (j < text.size() && IsDigit(text[j])) {
      for (; j < text.size() && IsDigit(text[j]); ++j) {
        if (exponent < 100000) exponent = exponent * 10 + (text[j] - '0');
      }
      if (negativeExponent) exponent = -exponent;
      end = j;
    }
  }
  double value = 0;
  const auto [ptr, error] = std::from_chars(text.data() + start, text.data() + end, value);
  (void)ptr;
  if (error == std::errc::result_out_of_range) {
    value = LeadingDigitMagnitude(text.substr(start, mantissaEnd - start), exponent) > 0
                ? std::numeric_limits<double>::infinity()
                : 0.0;
  }
  return negative ? -value : value;
}

std::int32_t ReadLeadingInteger(std::string_view text) {
  std::size_t i = 0;
  const bool negative = SkipSpaceAndSign(text, i);
  constexpr std::int64_t kLimit = std::int64_t{1} << 32;
  std::int64_t magnitude = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    if (magnitude < kLimit) magnitude = magnitude * 10 + (text[i] - '0');
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

}  // namespace runtime::core

#include "value_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "gbk_texts.h"

namespace runtime::core {
namespace {

template <typename T>
void AppendDecimal(T value, std::string& out) {
  char buffer[32];
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
  (void)error;  // 32 bytes hold every 64-bit integer
  out.append(buffer, end);
}

// printf's "%.<precision>g", without the locale's decimal separator.
void AppendGeneral(double value, int precision, std::string& out) {
  char buffer[64];
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, precision);
  (void)error;  // 64 bytes hold every double at these precisions
  out.append(buffer, end);
}

double PowerOfTen(int exponent) {
  static constexpr double kExact[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                      1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  return exponent >= 0 && exponent <= 22 ? kExact[exponent] : std::pow(10.0, exponent);
}

struct CivilDate {
  std::int64_t year;
  int month;
  int day;
};

// The calendar date of a day count from 1970-01-01 (proleptic Gregorian calendar).
CivilDate CivilFromDays(std::int64_t days) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const std::int64_t dayOfEra = days - era * 146097;
  const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;  // March is 0
  const int day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  const int month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  return {yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

}  // namespace

double RoundToSignificantDigits(double value, int digits) {
  if (value == 0 || !std::isfinite(value)) return value;
  // Scaling by an exact power of ten keeps a tie a tie, so that it rounds away from zero.
  const int scale = digits - 1 - static_cast<int>(std::floor(std::log10(std::fabs(value))));
  if (scale >= 0) return std::round(value * PowerOfTen(scale)) / PowerOfTen(scale);
  return std::round(value / PowerOfTen(-scale)) * PowerOfTen(-scale);
}

void AppendDateTimeText(double date, std::string& out) {
  constexpr double kFirstDay = -657434.0;   // 100-01-01
  constexpr double kLastDay = 2958465.0;    // 9999-12-31
  constexpr std::int64_t kDaysTo1970 = 25569;  // from 1899-12-30
  if (std::isnan(date)) date = 0;
  date = std::clamp(date, kFirstDay, kLastDay);
  // Before 1899-12-30 the fraction still counts forward from midnight (-1.25 is 6 o'clock
  // on 1899-12-29).
  const double wholeDays = std::trunc(date);
  std::int64_t day = static_cast<std::int64_t>(wholeDays);
  std::int64_t seconds = std::llround(std::fabs(date - wholeDays) * 86400.0);
  if (seconds >= 86400) {
    seconds -= 86400;
    ++day;
  }
  const CivilDate civil = CivilFromDays(day - kDaysTo1970);
  AppendDecimal(civil.year, out);
  out += gbk_texts::kYear;
  AppendDecimal(civil.month, out);
  out += gbk_texts::kMonth;
  AppendDecimal(civil.day, out);
  out += gbk_texts::kDay;

  const std::int64_t hour = seconds / 3600;
  const std::int64_t minute = seconds / 60 % 60;
  const std::int64_t second = seconds % 60;
  if (hour == 0 && minute == 0 && second == 0) return;
  AppendDecimal(hour, out);
  out += gbk_texts::kHour;
  if (minute == 0 && second == 0) return;
  AppendDecimal(minute, out);
  out += gbk_texts::kMinute;
  if (second == 0) return;
  AppendDecimal(second, out);
  out += gbk_texts::kSecond;
}

bool AppendScalarText(const CommandArg& value, std::string& out) {
  switch (value.type) {
    case types::Byte: AppendDecimal(static_cast<std::uint8_t>(value.dataLow), out); return true;
    case types::Short: AppendDecimal(static_cast<std::int16_t>(value.dataLow), out); return true;
    case types::Int: AppendDecimal(ArgInt(value), out); return true;
    case types::Long: AppendDecimal(ArgLong(value), out); return true;
    case types::Float: AppendGeneral(RoundToSignificantDigits(ArgFloat(value), 6), 6, out); return true;
    case types::Double: AppendGeneral(ArgDouble(value), 13, out); return true;
    case types::Bool: out += ArgBool(value) ? gbk_texts::kTrue : gbk_texts::kFalse; return true;
    case types::DateTime: AppendDateTimeText(ArgDouble(value), out); return true;
    default: return false;
  }
}

}  // namespace runtime::core

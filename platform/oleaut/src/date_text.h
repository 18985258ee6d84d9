// OLE dates as texts, in the United States form for every locale: "12/30/1900",
// "6:00:00 AM", "12/30/1900 6:00:00 AM".
#pragma once

#include <string>
#include <string_view>

#include "oleaut/variant.h"

namespace oleaut::detail {

// The valid OLE dates: 1 January 100 to 31 December 9999.
inline constexpr double kMinDate = -657434.0;
inline constexpr double kMaxDate = 2958465.999988426;
bool IsValidDate(double date);

// The date alone at midnight, the time alone on day 0 (30 December 1899), otherwise both.
bool FormatDate(DATE date, std::u16string* text);
// Month/day/year (or year-month-day, with "/" or "-"), a time h:mm[:ss] with an optional
// AM/PM, or both; two-digit years 0-29 are 2000-2029, 30-99 are 1930-1999.
bool ParseDate(std::u16string_view text, DATE* date);

}  // namespace oleaut::detail

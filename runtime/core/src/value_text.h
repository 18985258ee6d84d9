// The text form of a single value, as ToText and WriteText write it.
#pragma once

#include <string>

#include "runtime/values.h"

namespace runtime::core {

// Numbers, bools and date-times: appends the value's text and answers true. Any other type
// appends nothing and answers false.
bool AppendScalarText(const CommandArg& value, std::string& out);

// An OLE Automation date (days since 1899-12-30, the fraction the time of day), limited to
// the years 100 to 9999: "2024年3月5日" and then "7时8分9秒", "7时8分" or "7时" as far as
// the time is not zero.
void AppendDateTimeText(double date, std::string& out);

// To `digits` significant decimal digits, halves away from zero.
double RoundToSignificantDigits(double value, int digits);

}  // namespace runtime::core

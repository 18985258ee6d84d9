#include "value_numbers.h"

#include <cfloat>
#include <cmath>
#include <limits>

#include "core_command_args.h"
#include "full_width.h"
#include "leading_number.h"

namespace runtime::core {

std::int32_t TruncateToInt32(double value) {
  constexpr double kTwoTo63 = 9223372036854775808.0;
  if (!(value > -kTwoTo63 && value < kTwoTo63)) return 0;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(static_cast<std::int64_t>(value))));
}

float NarrowToFloat(double value) {
  if (std::isnan(value)) return std::numeric_limits<float>::quiet_NaN();
  constexpr float kInfinity = std::numeric_limits<float>::infinity();
  if (std::fabs(value) > FLT_MAX) return value > 0 ? kInfinity : -kInfinity;
  return static_cast<float>(value);
}

double NumberOf(const CommandArg& value) {
  switch (value.type) {
    case types::Bool: return ArgInt(value);
    case types::Text: return ReadLeadingNumber(FoldFullWidth(TextOf(value)));
    case types::SubroutinePointer: return static_cast<double>(ArgBits(value));
    case types::Byte: return static_cast<std::uint8_t>(value.dataLow);
    case types::Short: return static_cast<std::int16_t>(value.dataLow);
    case types::Int: return ArgInt(value);
    case types::Long: return static_cast<double>(ArgLong(value));
    case types::Float: return ArgFloat(value);
    case types::Double: return ArgDouble(value);
    default: return 0;
  }
}

std::int32_t IntegerOf(const CommandArg& value) {
  switch (value.type) {
    case types::Bool: return ArgInt(value);
    case types::Text: return ReadLeadingInteger(FoldFullWidth(TextOf(value)));
    case types::SubroutinePointer: return static_cast<std::int32_t>(value.dataLow);
    case types::Byte: return static_cast<std::uint8_t>(value.dataLow);
    case types::Short: return static_cast<std::int16_t>(value.dataLow);
    case types::Int: return ArgInt(value);
    case types::Long: return static_cast<std::int32_t>(value.dataLow);
    case types::Float: return TruncateToInt32(ArgFloat(value));
    case types::Double: return TruncateToInt32(ArgDouble(value));
    default: return 0;
  }
}

float FloatOf(const CommandArg& value) {
  switch (value.type) {
    case types::SubroutinePointer: return static_cast<float>(ArgBits(value));
    case types::Long: return static_cast<float>(ArgLong(value));
    case types::Float: return ArgFloat(value);
    default: return NarrowToFloat(NumberOf(value));
  }
}

}  // namespace runtime::core

// A value record read as a number, by its type word: numbers and bools by value, texts by
// the number at their start (full-width forms folded), a subroutine pointer as its address;
// everything else reads as 0.
#pragma once

#include <cstdint>

#include "runtime/values.h"

namespace runtime::core {

double NumberOf(const CommandArg& value);
std::int32_t IntegerOf(const CommandArg& value);
float FloatOf(const CommandArg& value);

// Toward zero; outside the 32-bit range the low 32 bits of the 64-bit truncation, and 0
// where even that has no value (NaN, beyond 64 bits: the processor's "integer indefinite",
// whose low half is 0).
std::int32_t TruncateToInt32(double value);
// To single precision; beyond its range the infinity of the sign.
float NarrowToFloat(double value);

}  // namespace runtime::core

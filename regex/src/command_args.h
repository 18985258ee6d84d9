// Reading the argument records of a command defensively: a missing record, a null block
// address or an unexpected type gives a neutral value, never a crash.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>

#include "runtime/values.h"

namespace regexlib {

// Record i, or null when the caller passed fewer.
inline const runtime::CommandArg* ArgAt(std::int32_t argc, const runtime::CommandArg* args, int i) {
  return (args && i >= 0 && i < argc) ? &args[i] : nullptr;
}

// A variable block passed by address.
template <typename Block>
Block* BlockArg(std::int32_t argc, const runtime::CommandArg* args, int i) {
  const runtime::CommandArg* a = ArgAt(argc, args, i);
  return a ? static_cast<Block*>(runtime::ArgPointer(*a)) : nullptr;
}

// A text argument; a missing or null one reads as the empty text.
inline const char* TextArgAt(std::int32_t argc, const runtime::CommandArg* args, int i) {
  const runtime::CommandArg* a = ArgAt(argc, args, i);
  const char* t = a ? runtime::ArgText(*a) : nullptr;
  return t ? t : "";
}

// A numeric argument as a whole number; nothing for a missing or non-numeric record.
inline std::optional<std::int64_t> IntegerArgAt(std::int32_t argc, const runtime::CommandArg* args,
                                                int i) {
  const runtime::CommandArg* a = ArgAt(argc, args, i);
  if (!a) return std::nullopt;
  switch (a->type) {
    case runtime::types::Byte: return static_cast<std::uint8_t>(a->dataLow);
    case runtime::types::Short: return static_cast<std::int16_t>(a->dataLow);
    case runtime::types::Int: return runtime::ArgInt(*a);
    case runtime::types::Long: return runtime::ArgLong(*a);
    case runtime::types::Float:
    case runtime::types::Double: {
      const double d = a->type == runtime::types::Float ? runtime::ArgFloat(*a) : runtime::ArgDouble(*a);
      // Out of range or NaN is no index at all.
      if (!(d > -2147483649.0 && d < 2147483648.0)) return std::nullopt;
      return static_cast<std::int64_t>(std::trunc(d));
    }
    default: return std::nullopt;
  }
}

// The int32 variable named by a by-reference integer argument, or null. It may be
// unaligned: write it with memcpy.
inline void* IntVariableArgAt(std::int32_t argc, const runtime::CommandArg* args, int i) {
  const runtime::CommandArg* a = ArgAt(argc, args, i);
  if (!a || a->type != (runtime::types::Int | runtime::types::HeldElsewhere)) return nullptr;
  return runtime::ArgPointer(*a);
}

}  // namespace regexlib

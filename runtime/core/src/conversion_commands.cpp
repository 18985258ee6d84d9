// Conversion commands between numbers, texts and byte sets.
#include <cstdint>
#include <cstdio>
#include <string>

#include "core_command_args.h"
#include "results.h"
#include "runtime/core/commands.h"
#include "value_numbers.h"
#include "value_text.h"

namespace runtime::core {
namespace {

// The element bytes of an array of a numeric type; empty for any other value.
std::string_view NumericArrayBytes(const CommandArg& value) {
  if (!IsHeldElsewhere(value.type) || !IsNumericType(BaseType(value.type))) return {};
  const void* array = ArgPointer(value);
  if (!array || ArrayDimensions(array) < 1) return {};
  std::int64_t count = 1;
  for (int i = 0; i < ArrayDimensions(array); ++i) {
    const std::int32_t size = ArrayDimensionSize(array, i);
    if (size < 0) return {};
    count *= size;
    if (count > INT32_MAX) return {};
  }
  return {reinterpret_cast<const char*>(ArrayElements(array)),
          static_cast<std::size_t>(count * NumericSize(BaseType(value.type)))};
}

std::string_view UpToFirstZero(std::string_view bytes) { return bytes.substr(0, bytes.find('\0')); }

// Bytes of a scalar's stored value, little-endian; 0 for types without such bytes.
std::size_t StoredSize(TypeWord type) {
  switch (type) {
    case types::Byte: return 1;
    case types::Short: return 2;
    case types::Bool:
    case types::Int:
    case types::Float: return 4;
    case types::Long:
    case types::Double:
    case types::DateTime: return 8;
    case types::SubroutinePointer: return sizeof(void*);  // a code address
    default: return 0;
  }
}

}  // namespace

void ToNumber(CommandResult* result, std::int32_t argc, CommandArg* args) {
  SetDoubleResult(result, NumberOf(CommandArgs(argc, args)[0]));
}

void ToInteger(CommandResult* result, std::int32_t argc, CommandArg* args) {
  SetIntResult(result, IntegerOf(CommandArgs(argc, args)[0]));
}

void ToFloat(CommandResult* result, std::int32_t argc, CommandArg* args) {
  SetFloatResult(result, FloatOf(CommandArgs(argc, args)[0]));
}

void ToText(CommandResult* result, std::int32_t argc, CommandArg* args) {
  const CommandArg& value = CommandArgs(argc, args)[0];
  if (value.type == types::Text) return ReturnTextCopy(result, TextOf(value));
  if (value.type == types::ByteSet) return ReturnTextCopy(result, UpToFirstZero(ByteSetBytesOf(value)));
  if (IsHeldElsewhere(value.type)) return ReturnTextCopy(result, UpToFirstZero(NumericArrayBytes(value)));
  std::string text;
  AppendScalarText(value, text);
  ReturnTextCopy(result, text);
}

void ToHexText(CommandResult* result, std::int32_t argc, CommandArg* args) {
  char hex[16];
  const int length = std::snprintf(hex, sizeof hex, "%X", static_cast<unsigned>(CommandArgs(argc, args).Int(0)));
  ReturnTextCopy(result, std::string_view(hex, static_cast<std::size_t>(length)));
}

void ToByteSet(CommandResult* result, std::int32_t argc, CommandArg* args) {
  const CommandArg& value = CommandArgs(argc, args)[0];
  if (value.type == types::Text) return ReturnByteSetCopy(result, TextOf(value));
  if (value.type == types::ByteSet) return ReturnByteSetCopy(result, ByteSetBytesOf(value));
  if (IsHeldElsewhere(value.type)) return ReturnByteSetCopy(result, NumericArrayBytes(value));
  char stored[8];
  const std::size_t size = StoredSize(value.type);
  const std::uint64_t bits = ArgBits(value);
  for (std::size_t i = 0; i < size; ++i) stored[i] = static_cast<char>(bits >> (8 * i));
  ReturnByteSetCopy(result, std::string_view(stored, size));
}

}  // namespace runtime::core

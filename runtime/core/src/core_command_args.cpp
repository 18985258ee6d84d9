#include "core_command_args.h"

#include <cstring>

#include "value_numbers.h"

namespace runtime::core {

std::string_view TextOf(const CommandArg& arg) {
  const char* text = arg.type == types::Text ? ArgText(arg) : nullptr;
  return text ? std::string_view(text, std::strlen(text)) : std::string_view();
}

std::string_view ByteSetBytesOf(const CommandArg& arg) {
  const void* block = arg.type == types::ByteSet ? ArgPointer(arg) : nullptr;
  const std::int32_t length = ByteSetLength(block);
  if (length <= 0) return {};
  return {reinterpret_cast<const char*>(ByteSetBytes(block)), static_cast<std::size_t>(length)};
}

std::string_view CommandArgs::Text(std::int32_t i) const { return TextOf((*this)[i]); }

const char* CommandArgs::TerminatedText(std::int32_t i) const {
  const char* text = (*this)[i].type == types::Text ? ArgText((*this)[i]) : nullptr;
  return text ? text : EmptyText;
}
std::string_view CommandArgs::Bytes(std::int32_t i) const { return ByteSetBytesOf((*this)[i]); }

std::int32_t CommandArgs::Int(std::int32_t i, std::int32_t omitted) const {
  return Given(i) ? IntegerOf((*this)[i]) : omitted;
}

}  // namespace runtime::core

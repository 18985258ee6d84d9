// Reading a command's argument records. Records past the argument count read as left out,
// a text or byte set of another type or behind a null pointer reads as empty, so that no
// command trips over what a caller passes.
#pragma once

#include <cstdint>
#include <string_view>

#include "runtime/values.h"

namespace runtime::core {

class CommandArgs {
 public:
  CommandArgs(std::int32_t argc, const CommandArg* args)
      : count_(argc > 0 && args ? argc : 0), args_(args) {}

  std::int32_t Count() const { return count_; }
  const CommandArg& operator[](std::int32_t i) const { return i >= 0 && i < count_ ? args_[i] : OmittedArg; }
  bool Given(std::int32_t i) const { return !IsOmitted((*this)[i]); }

  // The bytes of a text argument, without the NUL.
  std::string_view Text(std::int32_t i) const;
  // The same text as it lies, NUL-terminated ("" for an empty one), for reading it without
  // measuring it first.
  const char* TerminatedText(std::int32_t i) const;
  // The bytes of a byte-set argument.
  std::string_view Bytes(std::int32_t i) const;
  // An integer argument (any numeric value, by the ToInteger rules), or `omitted`.
  std::int32_t Int(std::int32_t i, std::int32_t omitted = 0) const;

 private:
  std::int32_t count_;
  const CommandArg* args_;
};

std::string_view TextOf(const CommandArg& arg);
std::string_view ByteSetBytesOf(const CommandArg& arg);

}  // namespace runtime::core

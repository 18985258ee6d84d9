// Text commands that count bytes only: lengths, slices, single bytes and runs of spaces.
#include <algorithm>
#include <cstdint>

#include "core_command_args.h"
#include "results.h"
#include "runtime/core/commands.h"

namespace runtime::core {

void GetTextLength(CommandResult* result, std::int32_t argc, CommandArg* args) {
  SetIntResult(result, static_cast<std::int32_t>(CommandArgs(argc, args).Text(0).size()));
}

void TextLeft(CommandResult* result, std::int32_t argc, CommandArg* args) {
  const CommandArgs in(argc, args);
  const std::string_view text = in.Text(0);
  const std::int64_t n = std::clamp<std::int64_t>(in.Int(1), 0, static_cast<std::int64_t>(text.size()));
  ReturnTextCopy(result, text.substr(0, static_cast<std::size_t>(n)));
}

void TextRight(CommandResult* result, std::int32_t argc, CommandArg* args) {
  const CommandArgs in(argc, args);
  const std::string_view text = in.Text(0);
  const std::int64_t n = std::clamp<std::int64_t>(in.Int(1), 0, static_cast<std::int64_t>(text.size()));
  ReturnTextCopy(result, text.substr(text.size() - static_cast<std::size_t>(n)));
}

void TextMiddle(CommandResult* result, std::int32_t argc, CommandArg* args) {
  const CommandArgs in(argc, args);
  const std::string_view text = in.Text(0);
  const std::int64_t start = in.Int(1);
  const std::int64_t n = in.Int(2);
  const auto length = static_cast<std::int64_t>(text.size());
  if (start < 1 || start > length || n <= 0) return ReturnText(result, nullptr);
  ReturnTextCopy(result, text.substr(static_cast<std::size_t>(start - 1),
                                     static_cast<std::size_t>(std::min(n, length - start + 1))));
}

void CharFromCode(CommandResult* result, std::int32_t argc, CommandArg* args) {
  // Only the low eight bits count: the argument is a byte.
  const char code = static_cast<char>(CommandArgs(argc, args).Int(0) & 0xFF);
  ReturnTextCopy(result, code == 0 ? std::string_view() : std::string_view(&code, 1));
}

void SpaceText(CommandResult* result, std::int32_t argc, CommandArg* args) {
  const std::int32_t n = CommandArgs(argc, args).Int(0);
  if (n < 1) return ReturnText(result, nullptr);
  TextBuilder spaces(static_cast<std::size_t>(n));
  spaces.Fill(' ', static_cast<std::size_t>(n));
  ReturnText(result, spaces.Finish());
}

}  // namespace runtime::core

// Byte-set commands.
#include <algorithm>
#include <cstdint>

#include "core_command_args.h"
#include "results.h"
#include "runtime/core/commands.h"
#include "runtime/frame.h"

namespace runtime::core {

void GetByteSetLength(CommandResult* result, std::int32_t argc, CommandArg* args) {
  SetIntResult(result, static_cast<std::int32_t>(CommandArgs(argc, args).Bytes(0).size()));
}

void ByteSetLeft(CommandResult* result, std::int32_t argc, CommandArg* args) {
  const CommandArgs in(argc, args);
  const std::string_view bytes = in.Bytes(0);
  const std::int64_t n = std::clamp<std::int64_t>(in.Int(1), 0, static_cast<std::int64_t>(bytes.size()));
  ReturnByteSetCopy(result, bytes.substr(0, static_cast<std::size_t>(n)));
}

void BlankByteSet(CommandResult* result, std::int32_t argc, CommandArg* args) {
  const std::int32_t n = CommandArgs(argc, args).Int(0);
  // A byte set is the same block as a one-dimensional array of bytes, zeroed here.
  ReturnByteSet(result, n > 0 ? NewArray1(n, 1) : nullptr);
}

}  // namespace runtime::core

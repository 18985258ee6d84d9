#include "app/base/runtime_calls.h"

#include "app/base/libraries.h"

namespace app {
namespace {

// Argument records live on the caller's side, where commands may store through them.
runtime::CommandResult Dispatch(const runtime::LibraryInfo& library, bool core, std::int32_t command,
                                std::initializer_list<runtime::CommandArg> args) {
  constexpr std::size_t kMaxArgs = 16;
  runtime::CommandArg records[kMaxArgs] = {};
  std::size_t count = 0;
  for (const runtime::CommandArg& a : args) {
    if (count < kMaxArgs) records[count++] = a;
  }
  if (command < 0 || command >= library.commandCount) Runtime().ReportRuntimeError(11);
  runtime::Command address = library.commands[command];
  auto argc = static_cast<std::int32_t>(count);
  if (core) return Runtime().CallCoreCommand(address, argc, records);
  return Runtime().CallLibraryCommand(address, 0, argc, records);
}

std::uint64_t Bits(const void* p) { return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(p)); }

}  // namespace

const runtime::RuntimeEntryTable& Runtime() { return runtime::EntryTable(); }

runtime::CommandResult CallCore(std::int32_t command, std::initializer_list<runtime::CommandArg> args) {
  return Dispatch(*LibraryTable()[0], true, command, args);
}

runtime::CommandResult CallLibrary(std::int32_t library, std::int32_t command,
                                   std::initializer_list<runtime::CommandArg> args) {
  if (library < 1 || library > kLibraryCount) Runtime().ReportRuntimeError(11);
  return Dispatch(*LibraryTable()[library - 1], false, command, args);
}

runtime::Text ReadTextProperty(std::uint32_t windowId, std::uint32_t unitId, std::int32_t property) {
  std::uint64_t bits = Runtime().ReadProperty(windowId, unitId, property, -1);
  return reinterpret_cast<runtime::Text>(static_cast<std::uintptr_t>(bits));
}

std::int32_t ReadIntProperty(std::uint32_t windowId, std::uint32_t unitId, std::int32_t property) {
  return static_cast<std::int32_t>(Runtime().ReadProperty(windowId, unitId, property, -1));
}

void WriteTextProperty(std::uint32_t windowId, std::uint32_t unitId, std::int32_t property, const char* text) {
  std::uint64_t bits = Bits(text ? text : runtime::EmptyText);
  Runtime().WriteProperty(windowId, unitId, property, -1, static_cast<std::uint32_t>(bits),
                          static_cast<std::uint32_t>(bits >> 32));
}

void WriteIntProperty(std::uint32_t windowId, std::uint32_t unitId, std::int32_t property, std::int32_t value) {
  Runtime().WriteProperty(windowId, unitId, property, -1, static_cast<std::uint32_t>(value), 0);
}

}  // namespace app

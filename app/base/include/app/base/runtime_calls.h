// How the program's procedures reach the runtime: only through the RuntimeEntryTable. Core
// and automation commands go through CallCoreCommand with the core library's table, the
// support libraries' commands through CallLibraryCommand with theirs.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "runtime/entry_table.h"
#include "runtime/values.h"

namespace app {

const runtime::RuntimeEntryTable& Runtime();

// A core command by its index in the core library's table (runtime/core/core_library.h).
runtime::CommandResult CallCore(std::int32_t command, std::initializer_list<runtime::CommandArg> args);
// A command of library number `library` (from 1, as in the program's library table).
runtime::CommandResult CallLibrary(std::int32_t library, std::int32_t command,
                                   std::initializer_list<runtime::CommandArg> args);

// A result's value read as its command returns it.
inline runtime::Text ResultText(const runtime::CommandResult& r) { return static_cast<char*>(runtime::ArgPointer(r)); }
inline void* ResultBlock(const runtime::CommandResult& r) { return runtime::ArgPointer(r); }
inline std::int32_t ResultInt(const runtime::CommandResult& r) { return runtime::ArgInt(r); }
inline bool ResultBool(const runtime::CommandResult& r) { return runtime::ArgBool(r); }
inline double ResultDouble(const runtime::CommandResult& r) { return runtime::ArgDouble(r); }

// A block the procedure owns goes back to the runtime heap (null and literals: nothing).
inline void FreeBlock(void* block) { Runtime().FreeBlock(block); }
// A variable that receives a new block releases the one it held.
inline void Assign(runtime::Text& variable, runtime::Text value) {
  FreeBlock(variable);
  variable = value;
}

// A variable passed by reference to a command that may store into it.
inline runtime::CommandArg ByReference(void* variable, runtime::TypeWord type) {
  return runtime::PointerArg(variable, type | runtime::types::HeldElsewhere);
}

// Property access with element index -1, as the program always uses it.
runtime::Text ReadTextProperty(std::uint32_t windowId, std::uint32_t unitId, std::int32_t property);
std::int32_t ReadIntProperty(std::uint32_t windowId, std::uint32_t unitId, std::int32_t property);
void WriteTextProperty(std::uint32_t windowId, std::uint32_t unitId, std::int32_t property, const char* text);
void WriteIntProperty(std::uint32_t windowId, std::uint32_t unitId, std::int32_t property, std::int32_t value);

}  // namespace app

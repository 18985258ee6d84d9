// The automation commands of the core library: `ComObject` (a reference to an automation
// object) and `Variant` (an OLE VARIANT), and the outcome of the last automation call.
#pragma once

#include <cstdint>

#include "runtime/values.h"

namespace runtime {

// A ComObject variable points to a record {interface, record data} on the runtime heap;
// a Variant variable points to a block laid out as a VARIANT.
inline constexpr std::int32_t ComObjectRecordSize = 2 * sizeof(void*);
inline constexpr std::int32_t VariantBlockSize = 24;

// Zeroed records for new variables, and their release when a variable goes away.
void* NewComObjectRecord();
void* NewVariantBlock();
void FreeComObjectRecord(void* record);  // clears it first
void FreeVariantBlock(void* block);      // clears it first

// The outcome of the most recent automation call on this thread: 0 for success, otherwise
// a negative code (-1 empty object ... -18 other failure of the call).
std::int32_t LastComError();

namespace ComObject {
void Create(CommandResult* result, std::int32_t argc, CommandArg* args);
void Clear(CommandResult* result, std::int32_t argc, CommandArg* args);
void Method(CommandResult* result, std::int32_t argc, CommandArg* args);
void VariantMethod(CommandResult* result, std::int32_t argc, CommandArg* args);
void TextMethod(CommandResult* result, std::int32_t argc, CommandArg* args);
void NumberMethod(CommandResult* result, std::int32_t argc, CommandArg* args);
void WriteProperty(CommandResult* result, std::int32_t argc, CommandArg* args);
}  // namespace ComObject

namespace Variant {
void Clear(CommandResult* result, std::int32_t argc, CommandArg* args);
void SetType(CommandResult* result, std::int32_t argc, CommandArg* args);
void GetText(CommandResult* result, std::int32_t argc, CommandArg* args);
void GetByteSet(CommandResult* result, std::int32_t argc, CommandArg* args);
void Assign(CommandResult* result, std::int32_t argc, CommandArg* args);
void CreateArray(CommandResult* result, std::int32_t argc, CommandArg* args);
}  // namespace Variant

}  // namespace runtime

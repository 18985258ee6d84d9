// The core commands themselves, each with the one command shape. The program reaches them
// through the core library's table (core_library.h); parts of the runtime may call them
// directly.
#pragma once

#include <cstdint>

#include "runtime/values.h"

namespace runtime::core {

// Texts
void GetTextLength(CommandResult* result, std::int32_t argc, CommandArg* args);
void TextLeft(CommandResult* result, std::int32_t argc, CommandArg* args);
void TextRight(CommandResult* result, std::int32_t argc, CommandArg* args);
void TextMiddle(CommandResult* result, std::int32_t argc, CommandArg* args);
void CharFromCode(CommandResult* result, std::int32_t argc, CommandArg* args);
void FindText(CommandResult* result, std::int32_t argc, CommandArg* args);
void ToUpper(CommandResult* result, std::int32_t argc, CommandArg* args);
void ToLower(CommandResult* result, std::int32_t argc, CommandArg* args);
void RemoveAllSpaces(CommandResult* result, std::int32_t argc, CommandArg* args);
void ReplaceTextRange(CommandResult* result, std::int32_t argc, CommandArg* args);
void ReplaceSubtext(CommandResult* result, std::int32_t argc, CommandArg* args);
void SplitText(CommandResult* result, std::int32_t argc, CommandArg* args);
void SpaceText(CommandResult* result, std::int32_t argc, CommandArg* args);
// Conversions
void ToNumber(CommandResult* result, std::int32_t argc, CommandArg* args);
void ToInteger(CommandResult* result, std::int32_t argc, CommandArg* args);
void ToFloat(CommandResult* result, std::int32_t argc, CommandArg* args);
void ToText(CommandResult* result, std::int32_t argc, CommandArg* args);
void ToHexText(CommandResult* result, std::int32_t argc, CommandArg* args);
void ToByteSet(CommandResult* result, std::int32_t argc, CommandArg* args);
// Byte sets
void GetByteSetLength(CommandResult* result, std::int32_t argc, CommandArg* args);
void ByteSetLeft(CommandResult* result, std::int32_t argc, CommandArg* args);
void BlankByteSet(CommandResult* result, std::int32_t argc, CommandArg* args);
// Files
void OpenMemoryFile(CommandResult* result, std::int32_t argc, CommandArg* args);
void CloseFile(CommandResult* result, std::int32_t argc, CommandArg* args);
void SeekToFileStart(CommandResult* result, std::int32_t argc, CommandArg* args);
void ReadByteSet(CommandResult* result, std::int32_t argc, CommandArg* args);
void ReadLine(CommandResult* result, std::int32_t argc, CommandArg* args);
void WriteByteSet(CommandResult* result, std::int32_t argc, CommandArg* args);
void WriteText(CommandResult* result, std::int32_t argc, CommandArg* args);
void IsEndOfFile(CommandResult* result, std::int32_t argc, CommandArg* args);
void GetFileLength(CommandResult* result, std::int32_t argc, CommandArg* args);
// System
void SetClipboardText(CommandResult* result, std::int32_t argc, CommandArg* args);
void ProcessEvents(CommandResult* result, std::int32_t argc, CommandArg* args);

}  // namespace runtime::core

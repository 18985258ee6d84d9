// The core library: library 1 of every program, whose commands the program reaches through
// CallCoreCommand. Its command table holds the core commands first and the automation
// group (the ComObject and Variant commands) after them; the program addresses each by
// its index below.
#pragma once

#include <cstdint>

#include "runtime/library.h"
#include "runtime/values.h"

namespace runtime::core {

// Indexes into the core library's command table.
namespace command {
enum : std::int32_t {
  // Texts
  GetTextLength,
  TextLeft,
  TextRight,
  TextMiddle,
  CharFromCode,
  FindText,
  ToUpper,
  ToLower,
  RemoveAllSpaces,
  ReplaceTextRange,
  ReplaceSubtext,
  SplitText,
  SpaceText,
  // Conversions
  ToNumber,
  ToInteger,
  ToFloat,
  ToText,
  ToHexText,
  ToByteSet,
  // Byte sets
  GetByteSetLength,
  ByteSetLeft,
  BlankByteSet,
  // Files
  OpenMemoryFile,
  CloseFile,
  SeekToFileStart,
  ReadByteSet,
  ReadLine,
  WriteByteSet,
  WriteText,
  IsEndOfFile,
  GetFileLength,
  // System
  SetClipboardText,
  ProcessEvents,

  // The automation group: the ComObject and Variant commands.
  FirstAutomationCommand,
  ComObjectCreate = FirstAutomationCommand,
  ComObjectClear,
  ComObjectMethod,
  ComObjectVariantMethod,
  ComObjectTextMethod,
  ComObjectNumberMethod,
  ComObjectWriteProperty,
  VariantClear,
  VariantSetType,
  VariantGetText,
  VariantGetByteSet,
  VariantAssign,
  VariantCreateArray,

  Count
};
}  // namespace command

inline constexpr std::int32_t kCoreCommandCount = command::FirstAutomationCommand;
inline constexpr std::int32_t kAutomationCommandCount = command::Count - command::FirstAutomationCommand;

// The core library's record, for the program's library table (core library first).
const LibraryInfo& CoreLibrary();
// The command at a table index; null outside the table.
Command CoreCommand(std::int32_t index);

// Data types of the library: ComObject 0x30 and Variant 0x31 are there from the start;
// the window units add theirs. The records are copied, their names must stay alive; a type
// number given twice keeps its first record.
void AddDataTypes(const LibraryDataType* types, std::int32_t count);

}  // namespace runtime::core

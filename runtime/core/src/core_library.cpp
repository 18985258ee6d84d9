// The core library's record and command table.
#include "runtime/core/core_library.h"

#include <algorithm>
#include <vector>

#include "gbk_texts.h"
#include "runtime/core/commands.h"

namespace runtime::core {
namespace {

// An automation slot before the automation part has filled it: the result stays empty.
void AutomationNotInstalled(CommandResult*, std::int32_t, CommandArg*) {}

// In the order of the indexes in core_library.h.
Command commandTable[command::Count] = {
    // Texts
    GetTextLength, TextLeft, TextRight, TextMiddle, CharFromCode, FindText, ToUpper, ToLower, RemoveAllSpaces,
    ReplaceTextRange, ReplaceSubtext, SplitText, SpaceText,
    // Conversions
    ToNumber, ToInteger, ToFloat, ToText, ToHexText, ToByteSet,
    // Byte sets
    GetByteSetLength, ByteSetLeft, BlankByteSet,
    // Files
    OpenMemoryFile, CloseFile, SeekToFileStart, ReadByteSet, ReadLine, WriteByteSet, WriteText, IsEndOfFile,
    GetFileLength,
    // System
    SetClipboardText, ProcessEvents,
    // The automation group
    AutomationNotInstalled, AutomationNotInstalled, AutomationNotInstalled, AutomationNotInstalled,
    AutomationNotInstalled, AutomationNotInstalled, AutomationNotInstalled, AutomationNotInstalled,
    AutomationNotInstalled, AutomationNotInstalled, AutomationNotInstalled, AutomationNotInstalled,
    AutomationNotInstalled};

std::vector<LibraryDataType>& DataTypes() {
  static std::vector<LibraryDataType> dataTypes;
  return dataTypes;
}

LibraryInfo& Info() {
  static LibraryInfo info = {
      LibraryInfoFormat,
      "7c1e5a3b04d94f6e9a2b8d0c6e1f4a57",  // identifies the core library
      1,
      gbk_texts::kLibraryName,
      0,
      nullptr,
      command::Count,
      commandTable,
      nullptr,  // part of the runtime: it needs no notification
  };
  return info;
}

}  // namespace

const LibraryInfo& CoreLibrary() { return Info(); }

Command CoreCommand(std::int32_t index) {
  return index >= 0 && index < command::Count ? commandTable[index] : nullptr;
}

void InstallAutomationGroup(const Command (&commands)[kAutomationCommandCount]) {
  for (std::int32_t i = 0; i < kAutomationCommandCount; ++i) {
    commandTable[command::FirstAutomationCommand + i] = commands[i] ? commands[i] : AutomationNotInstalled;
  }
}

void AddDataTypes(const LibraryDataType* types, std::int32_t count) {
  std::vector<LibraryDataType>& dataTypes = DataTypes();
  for (std::int32_t i = 0; i < count; ++i) {
    const bool known = std::any_of(dataTypes.begin(), dataTypes.end(),
                                   [&](const LibraryDataType& t) { return t.number == types[i].number; });
    if (!known) dataTypes.push_back(types[i]);
  }
  LibraryInfo& info = Info();
  info.typeCount = static_cast<std::int32_t>(dataTypes.size());
  info.types = dataTypes.empty() ? nullptr : dataTypes.data();
}

}  // namespace runtime::core

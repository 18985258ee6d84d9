// The core library's record and command table.
#include "runtime/core/core_library.h"

#include <algorithm>
#include <vector>

#include "gbk_texts.h"
#include "runtime/automation.h"
#include "runtime/core/commands.h"

namespace runtime::core {
namespace {

// In the order of the indexes in core_library.h.
constexpr Command kCommandTable[command::Count] = {
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
    ComObject::Create, ComObject::Clear, ComObject::Method, ComObject::VariantMethod, ComObject::TextMethod,
    ComObject::NumberMethod, ComObject::WriteProperty, Variant::Clear, Variant::SetType, Variant::GetText,
    Variant::GetByteSet, Variant::Assign, Variant::CreateArray};

// The automation types; the program makes and releases their records itself.
const LibraryDataType kAutomationTypes[] = {
    {TypeNumberOfType(types::ComObject), gbk_texts::kComObjectTypeName, ComObjectRecordSize, -1, -1},
    {TypeNumberOfType(types::Variant), gbk_texts::kVariantTypeName, VariantBlockSize, -1, -1},
};

std::vector<LibraryDataType>& DataTypes() {
  static std::vector<LibraryDataType> dataTypes(std::begin(kAutomationTypes), std::end(kAutomationTypes));
  return dataTypes;
}

LibraryInfo& Info() {
  static LibraryInfo info = {
      LibraryInfoFormat,
      "7c1e5a3b04d94f6e9a2b8d0c6e1f4a57",  // identifies the core library
      1,
      gbk_texts::kLibraryName,
      static_cast<std::int32_t>(DataTypes().size()),
      DataTypes().data(),
      command::Count,
      kCommandTable,
      nullptr,  // part of the runtime: it needs no notification
  };
  return info;
}

}  // namespace

const LibraryInfo& CoreLibrary() { return Info(); }

Command CoreCommand(std::int32_t index) {
  return index >= 0 && index < command::Count ? kCommandTable[index] : nullptr;
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

// The core library's record and command table, and the shape of a command call.
#include <gtest/gtest.h>

#include <set>

#include "core_call.h"
#include "runtime/automation.h"
#include "runtime/core/commands.h"

namespace core_test {
namespace {

namespace command = runtime::core::command;
using runtime::core::CoreLibrary;

TEST(CoreLibrary, TableHoldsTheCoreCommandsThenTheAutomationGroup) {
  const runtime::LibraryInfo& info = CoreLibrary();
  EXPECT_EQ(info.format, runtime::LibraryInfoFormat);
  EXPECT_EQ(info.commandCount, 46);
  EXPECT_EQ(runtime::core::kCoreCommandCount, 33);
  EXPECT_EQ(runtime::core::kAutomationCommandCount, 13);
  EXPECT_STREQ(info.name, "\xBA\xCB\xD0\xC4\xBF\xE2");  // 核心库
  std::set<runtime::Command> distinct;
  for (std::int32_t i = 0; i < info.commandCount; ++i) {
    ASSERT_NE(info.commands[i], nullptr) << i;
    EXPECT_EQ(runtime::core::CoreCommand(i), info.commands[i]);
    if (i < runtime::core::kCoreCommandCount) distinct.insert(info.commands[i]);
  }
  EXPECT_EQ(distinct.size(), 33u) << "each core command has its own slot";
  EXPECT_EQ(runtime::core::CoreCommand(-1), nullptr);
  EXPECT_EQ(runtime::core::CoreCommand(46), nullptr);
  // Spot checks that the indexes name the right commands.
  EXPECT_EQ(info.commands[command::GetTextLength], &runtime::core::GetTextLength);
  EXPECT_EQ(info.commands[command::SpaceText], &runtime::core::SpaceText);
  EXPECT_EQ(info.commands[command::ToByteSet], &runtime::core::ToByteSet);
  EXPECT_EQ(info.commands[command::GetFileLength], &runtime::core::GetFileLength);
  EXPECT_EQ(info.commands[command::ProcessEvents], &runtime::core::ProcessEvents);
}

TEST(CoreLibrary, TheAutomationGroupHoldsTheComObjectAndVariantCommands) {
  const runtime::LibraryInfo& info = CoreLibrary();
  EXPECT_EQ(info.commands[command::ComObjectCreate], &runtime::ComObject::Create);
  EXPECT_EQ(info.commands[command::ComObjectWriteProperty], &runtime::ComObject::WriteProperty);
  EXPECT_EQ(info.commands[command::VariantClear], &runtime::Variant::Clear);
  EXPECT_EQ(info.commands[command::VariantCreateArray], &runtime::Variant::CreateArray);
  std::set<runtime::Command> group(info.commands + command::FirstAutomationCommand, info.commands + command::Count);
  EXPECT_EQ(group.size(), 13u);
}

TEST(CoreLibrary, DataTypesJoinTheRecordAfterTheAutomationTypes) {
  static const runtime::LibraryDataType kTypes[] = {
      {0x05, "\xB1\xE0\xBC\xAD\xBF\xF2", 8, -1, -1},  // 编辑框
      {0x30, "duplicate", 8, -1, -1},
  };
  runtime::core::AddDataTypes(kTypes, 2);
  const runtime::LibraryInfo& info = CoreLibrary();
  ASSERT_EQ(info.typeCount, 3);
  EXPECT_EQ(info.types[0].number, 0x30);
  EXPECT_STREQ(info.types[0].name, "\xB6\xD4\xCF\xF3");  // 对象: the first record of 0x30 stays
  EXPECT_EQ(info.types[0].blockSize, runtime::ComObjectRecordSize);
  EXPECT_EQ(info.types[1].number, 0x31);
  EXPECT_EQ(info.types[1].blockSize, runtime::VariantBlockSize);
  EXPECT_EQ(info.types[2].number, 0x05);
}

// Every command copes with no arguments at all and with left-out records in every place,
// and leaves a text result either null or a real text.
TEST(CommandCalls, NoCommandTripsOverMissingArguments) {
  for (std::int32_t i = 0; i < runtime::core::kCoreCommandCount; ++i) {
    if (i == command::SetClipboardText || i == command::OpenMemoryFile) continue;
    const CommandResult none = Call(i);
    const CommandResult omitted = Call(i, std::vector<CommandArg>(6, runtime::OmittedArg));
    for (const CommandResult& r : {none, omitted}) {
      if (r.type == runtime::types::Text) TakeText(r);
      if (r.type == runtime::types::ByteSet) TakeByteSet(r);
      if (r.type == runtime::ArrayOf(runtime::types::Text)) TakeTextArray(r);
    }
  }
}

}  // namespace
}  // namespace core_test

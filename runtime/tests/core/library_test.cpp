// The core library's record and command table, and the shape of a command call.
#include <gtest/gtest.h>

#include <set>

#include "core_call.h"
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

void FakeClear(runtime::CommandResult* result, std::int32_t, runtime::CommandArg*) { runtime::SetIntResult(result, 77); }

TEST(CoreLibrary, AutomationSlotsAnswerEmptyUntilFilled) {
  const CommandResult before = Call(command::VariantClear, {runtime::IntArg(1)});
  EXPECT_EQ(before.dataLow | before.dataHigh | before.type, 0u);

  runtime::Command group[runtime::core::kAutomationCommandCount] = {};
  group[command::VariantClear - command::FirstAutomationCommand] = FakeClear;
  runtime::core::InstallAutomationGroup(group);
  EXPECT_EQ(CallInt(command::VariantClear, {}), 77);
  EXPECT_EQ(Call(command::ComObjectCreate).type, 0u) << "a slot left null stays empty";

  const runtime::Command none[runtime::core::kAutomationCommandCount] = {};
  runtime::core::InstallAutomationGroup(none);
  EXPECT_EQ(Call(command::VariantClear).type, 0u);
}

TEST(CoreLibrary, DataTypesJoinTheRecord) {
  static const runtime::LibraryDataType kTypes[] = {
      {0x30, "\xB6\xD4\xCF\xF3", 8, -1, -1},              // 对象
      {0x31, "\xB1\xE4\xCC\xE5\xD0\xCD", 8, -1, -1},      // 变体型
      {0x30, "duplicate", 8, -1, -1},
  };
  runtime::core::AddDataTypes(kTypes, 3);
  const runtime::LibraryInfo& info = CoreLibrary();
  ASSERT_EQ(info.typeCount, 2);
  EXPECT_EQ(info.types[0].number, 0x30);
  EXPECT_STREQ(info.types[0].name, kTypes[0].name);
  EXPECT_EQ(info.types[1].number, 0x31);
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

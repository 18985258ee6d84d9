#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "error_text.h"
#include "runtime/entry_table.h"
#include "runtime/frame.h"

namespace runtime {
namespace {

struct Seen {
  CommandResult result;
  std::int32_t argc;
  CommandArg* args;
};
Seen seen;

// Records what the dispatcher handed over, then fills the result.
void ProbeCommand(CommandResult* result, std::int32_t argc, CommandArg* args) {
  seen = {*result, argc, args};
  result->dataLow = static_cast<std::uint32_t>(argc);
  result->dataHigh = 0xABCD;
}

void SilentCommand(CommandResult*, std::int32_t, CommandArg*) {}

TEST(CommandDispatch, ZeroesTheResultAndPassesTheRecordsInPlace) {
  CommandArg args[] = {IntArg(1), TextArg("x"), OmittedArg};
  for (auto call : {+[](CommandArg* a) { return EntryTable().CallCoreCommand(ProbeCommand, 3, a); },
                    +[](CommandArg* a) { return EntryTable().CallLibraryCommand(ProbeCommand, 4, 3, a); }}) {
    CommandResult result = call(args);
    EXPECT_EQ(seen.result.dataLow, 0u);
    EXPECT_EQ(seen.result.dataHigh, 0u);
    EXPECT_EQ(seen.result.type, 0u);
    EXPECT_EQ(seen.argc, 3);
    EXPECT_EQ(seen.args, args);  // never copied
    EXPECT_EQ(result.dataLow, 3u);
    EXPECT_EQ(result.dataHigh, 0xABCDu);
    EXPECT_EQ(result.type, 0u);  // stays 0 unless the command sets it
  }
}

TEST(CommandDispatch, ACommandThatWritesNothingReturnsZeros) {
  CommandResult result = EntryTable().CallCoreCommand(SilentCommand, 0, nullptr);
  EXPECT_EQ(result.dataLow | result.dataHigh | result.type, 0u);
}

int loopsRun = 0;
void CountingLoop() { ++loopsRun; }

// The entry runs the window layer's loop; without one there is no window to wait for, and
// the entry returns having run nothing.
TEST(WithoutWindows, TheMessageLoopEndsAtOnce) {
  loopsRun = 0;
  EntryTable().RunMessageLoop();
  static const WindowLayer withoutLoop{nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
  SetWindowLayer(&withoutLoop);
  EntryTable().RunMessageLoop();
  EXPECT_EQ(loopsRun, 0);
  static const WindowLayer withLoop{nullptr, nullptr, nullptr, nullptr, CountingLoop, nullptr};
  SetWindowLayer(&withLoop);
  EntryTable().RunMessageLoop();
  SetWindowLayer(nullptr);
  EXPECT_EQ(loopsRun, 1);
}

TEST(WithoutWindowsDeathTest, PropertyAccessFindsNoWindow) {
  EXPECT_EXIT(EntryTable().ReadProperty(0x52010001, 0x16010002, 8, -1), testing::ExitedWithCode(255),
              testing::HasSubstr(MessageErrorBox("未载入欲访问窗口组件所在的窗口")));
  EXPECT_EXIT(EntryTable().WriteProperty(0x52010001, 0x160100a8, 18, -1, 1, 0), testing::ExitedWithCode(255),
              testing::HasSubstr(MessageErrorBox("未载入欲访问窗口组件所在的窗口")));
  EXPECT_EXIT(EntryTable().LoadStartupWindow(0x52010001), testing::ExitedWithCode(255),
              testing::HasSubstr(MessageErrorBox("载入启动窗口失败")));
}

}  // namespace
}  // namespace runtime

// Event delivery through RuntimeNotify 2008: the handler's arguments and answer, the event
// source, the errors, and no delivery once an error or exit is under way.
#include <cstdio>

#include "runtime/frame.h"
#include "runtime/windows/window_layer.h"
#include "test_program.h"

namespace testprogram {
namespace {

using testing::ElementsAre;
using testing::HasSubstr;

runtime::EventRecord Record(std::uint32_t unit, std::int32_t event, std::vector<std::int32_t> args = {}) {
  runtime::EventRecord record{};
  record.windowId = kWindow;
  record.unitId = unit;
  record.eventNumber = event;
  record.argumentCount = static_cast<std::int32_t>(args.size());
  for (std::size_t i = 0; i < args.size() && i < 5; ++i) record.arguments[i] = args[i];
  record.returnedValue = 77;  // delivery overwrites it when a handler ran
  return record;
}

std::intptr_t Raise(runtime::EventRecord& record) {
  return runtime::RuntimeNotify(runtime::notify::RaiseEvent, reinterpret_cast<std::intptr_t>(&record), 0);
}

std::uint64_t SourceWord(std::uint32_t window, std::uint32_t unit) {
  return static_cast<std::uint64_t>(window) | static_cast<std::uint64_t>(unit) << 32;
}

class EventDelivery : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    runtime::TemplateBlock block = StandardBlock({{kEdit, 5, 1}, {kButton, 0, 2}, {kOwn, 7, 3}});
    runtime::UnitRecord odd = MakeUnit(0x16010099, 0x00010007, 0, 0, 1, 1);  // a type that raises nothing
    odd.events = {{0, Offset(1)}};
    block.windows[0].form.units.push_back(odd);
    Install(block);
  }
};

TEST_F(EventDelivery, CallsTheBoundHandlerWithItsArgumentsAndKeepsItsAnswer) {
  SetBehaviour(1, [](const std::int32_t* args, std::int32_t argc) { return Returns(args[0] + argc); });
  runtime::EventRecord record = Record(kEdit, 5, {10, 20, 30, 40, 50});
  EXPECT_EQ(Raise(record), 1);
  ASSERT_THAT(CalledProcedures(), ElementsAre(1));
  EXPECT_EQ(Calls()[0].args, (std::vector<std::int32_t>{10, 20, 30, 40, 50}));
  EXPECT_EQ(record.returnedValueFlag, 1);
  EXPECT_EQ(record.returnedValue, 15);

  runtime::EventRecord noValue = Record(kButton, 0);
  EXPECT_EQ(Raise(noValue), 1);
  EXPECT_EQ(noValue.returnedValueFlag, 0);

  runtime::EventRecord tooMany = Record(kEdit, 5, {1});
  tooMany.argumentCount = 9;
  Raise(tooMany);
  EXPECT_EQ(Calls().back().args.size(), 5u);
}

TEST_F(EventDelivery, UnboundEventsCallNothing) {
  runtime::EventRecord other = Record(kEdit, 6);
  EXPECT_EQ(Raise(other), 0);
  EXPECT_EQ(other.returnedValue, 77);
  runtime::EventRecord unbound = Record(kLabel, 0);
  EXPECT_EQ(Raise(unbound), 0);
  EXPECT_TRUE(Calls().empty());
}

TEST_F(EventDelivery, UnitZeroIsTheWindowsOwnUnit) {
  runtime::EventRecord record = Record(0, 7);
  EXPECT_EQ(Raise(record), 1);
  ASSERT_THAT(CalledProcedures(), ElementsAre(3));
  EXPECT_EQ(Calls()[0].sourceUnit, kOwn);
}

TEST_F(EventDelivery, EventSourceIsTheRunningHandlersAndRestoredAfterANestedOne) {
  std::uint64_t afterNested = 0;
  SetBehaviour(2, [&](const std::int32_t*, std::int32_t) {
    runtime::EventRecord nested = Record(kEdit, 5);
    Raise(nested);  // as an event that runs while the handler pumps messages
    afterNested = static_cast<std::uint64_t>(runtime::RuntimeNotify(runtime::notify::EventSource, 0, 0));
    return runtime::HandlerResult{0, 0};
  });
  runtime::EventRecord record = Record(kButton, 0);
  Raise(record);
  ASSERT_THAT(CalledProcedures(), ElementsAre(2, 1));
  EXPECT_EQ(Calls()[1].sourceUnit, kEdit);
  EXPECT_EQ(afterNested, SourceWord(kWindow, kButton));
  EXPECT_EQ(runtime::RuntimeNotify(runtime::notify::EventSource, 0, 0), 0) << "cleared once the handler returned";
  EXPECT_EQ(runtime::HandlerDepth(), 0);
}

using EventDeliveryDeath = EventDelivery;

TEST_F(EventDeliveryDeath, Errors) {
  runtime::EventRecord noWindow = Record(kEdit, 5);
  noWindow.windowId = 0x52019999;
  EXPECT_EXIT(Raise(noWindow), testing::ExitedWithCode(255), HasSubstr(ErrorBox("未找到引发事件的窗口")));
  runtime::EventRecord noUnit = Record(0x16019999, 5);
  EXPECT_EXIT(Raise(noUnit), testing::ExitedWithCode(255), HasSubstr(ErrorBox("未找到引发事件的窗口组件")));
  runtime::EventRecord invalid = Record(0x16010099, 0);
  EXPECT_EXIT(Raise(invalid), testing::ExitedWithCode(255), HasSubstr(ErrorBox("引发事件的窗口组件无效")));
}

// Hooks that try to raise an event while an exit or an error is under way.
void RaiseFromHook() {
  runtime::EventRecord record = Record(kButton, 0);
  std::fprintf(stderr, "delivered %d, calls %zu\n", static_cast<int>(Raise(record)), Calls().size());
}

TEST_F(EventDeliveryDeath, NothingIsDeliveredOnceAnExitOrErrorIsUnderWay) {
  EXPECT_EXIT(
      {
        runtime::SetExitHook(RaiseFromHook);
        runtime::ExitProgram(0);
      },
      testing::ExitedWithCode(0), HasSubstr("delivered 0, calls 0"));
  EXPECT_EXIT(
      {
        runtime::SetErrorHook([](std::int32_t, const char*) -> std::int32_t {
          RaiseFromHook();
          return 1;
        });
        runtime::RaiseRuntimeError("x");
      },
      testing::ExitedWithCode(255), HasSubstr("delivered 0, calls 0"));
}

}  // namespace
}  // namespace testprogram

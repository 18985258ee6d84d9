#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>

#include "error_text.h"
#include "runtime/frame.h"
#include "runtime/library.h"
#include "ui/application.h"

namespace runtime {
namespace {

std::intptr_t Notify(std::int32_t code, std::intptr_t p1 = 0, std::intptr_t p2 = 0) {
  return RuntimeNotify(code, p1, p2);
}
template <typename T>
std::intptr_t Word(T* p) {
  return reinterpret_cast<std::intptr_t>(p);
}

TEST(ObjectRegistry, RegisterLookUpAndRemove) {
  int object = 0, other = 0;
  EXPECT_EQ(Notify(notify::ObjectKind, Word(&object)), -1);
  Notify(notify::RegisterObject, Word(&object), 2);
  Notify(notify::RegisterObject, Word(&object), 7);  // already registered: keeps its kind
  EXPECT_EQ(Notify(notify::ObjectKind, Word(&object)), 2);
  EXPECT_EQ(Notify(notify::ObjectKind, Word(&other)), -1);
  EXPECT_EQ(Notify(notify::UnregisterObject, Word(&object)), 1);
  EXPECT_EQ(Notify(notify::UnregisterObject, Word(&object)), 0);
  EXPECT_EQ(Notify(notify::ObjectKind, Word(&object)), -1);
}

TEST(NumericArguments, ConvertToIntegers) {
  const CommandArg cases[] = {MakeArg(0xFE, types::Byte), MakeArg(0xFFFE, types::Short), IntArg(-7),
                              LongArg(-8000000000LL), FloatArg(-2.75f), DoubleArg(3.99)};
  const std::intptr_t expected[] = {254, -2, -7, -8000000000LL, -2, 3};
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(Notify(notify::ToInteger, Word(&cases[i])), expected[i]) << i;
  }
}

TEST(NumericArgumentsDeathTest, AnythingElseIsFatal) {
  const CommandArg text = TextArg("12");
  EXPECT_EXIT(Notify(notify::ToInteger, Word(&text)), testing::ExitedWithCode(255),
              testing::HasSubstr(MessageErrorBox("欲转换数据类型不是数值")));
}

TEST(ProgramLocation, DirectoryAndFileNameSplitAtTheLastBackslash) {
  SetProgramPath("\\opt\\panlift\\bin\\panlift");
  EXPECT_STREQ(reinterpret_cast<const char*>(Notify(notify::ProgramDirectory)), "\\opt\\panlift\\bin");
  EXPECT_STREQ(reinterpret_cast<const char*>(Notify(notify::ProgramFileName)), "panlift");
  SetProgramPath("panlift");
  EXPECT_STREQ(ProgramDirectory(), "");
  EXPECT_STREQ(ProgramFileName(), "panlift");
}

TEST(Blocks, AllocateResizeAndFreeThroughNotify) {
  auto* block = reinterpret_cast<char*>(Notify(notify::Allocate, 3));
  block[0] = 'x';
  block = reinterpret_cast<char*>(Notify(notify::Resize, Word(block), 100));
  EXPECT_EQ(block[0], 'x');
  EXPECT_EQ(Notify(notify::Free, Word(block)), 0);
}

TEST(EventSource, IsTheWindowAndTheUnitBeingHandled) {
  EXPECT_EQ(Notify(notify::EventSource), 0);
  SetEventSource(0x52010001, 0x16010003);
  EXPECT_EQ(static_cast<std::uint64_t>(Notify(notify::EventSource)), 0x1601000352010001ULL);
  ClearEventSource();
  EXPECT_EQ(Notify(notify::EventSource), 0);
}

EventRecord* lastEvent = nullptr;
std::intptr_t RecordingRaiseEvent(EventRecord* event) {
  lastEvent = event;
  event->returnedValueFlag = 1;
  event->returnedValue = 0;
  return 1;
}

TEST(Events, AreHandedToTheWindowLayer) {
  EventRecord event{0x52010001, 0x16010070, -1, 3, {1, 2, 0, 0, 0}, 0, 0};
  EXPECT_EQ(Notify(notify::RaiseEvent, Word(&event)), 0);  // no window layer: nothing ran
  static const WindowLayer layer{RecordingRaiseEvent, nullptr, nullptr, nullptr, nullptr, nullptr};
  SetWindowLayer(&layer);
  EXPECT_EQ(Notify(notify::RaiseEvent, Word(&event)), 1);
  EXPECT_EQ(lastEvent, &event);
  EXPECT_EQ(event.returnedValueFlag, 1);
  SetWindowLayer(nullptr);
}

TEST(Codes, ThatServeNothingHereAnswerZero) {
  for (std::int32_t code : {2002, 2005, 2009, 2014, 2020, 2029, 2040, 0, -1}) {
    EXPECT_EQ(Notify(code, 1, 1), 0) << code;
  }
}

TEST(WaitingMessages, AreHandledAndTheQuitStaysPending) {
  int handled = 0;
  QTimer::singleShot(0, [&] { ++handled; });
  QTimer::singleShot(0, [&] { ++handled; });
  Notify(notify::HandleWaitingMessages);
  EXPECT_EQ(handled, 2);

  ui::PostQuitMessage(0);
  QTimer::singleShot(0, [&] { ++handled; });
  Notify(notify::HandleWaitingMessages);  // stops at the quit, which stays for the loop
  EXPECT_EQ(handled, 2);
  EXPECT_TRUE(ui::QuitRequested());
  ui::ResetQuit();
  Notify(notify::HandleWaitingMessages);
  EXPECT_EQ(handled, 3);
}

}  // namespace
}  // namespace runtime

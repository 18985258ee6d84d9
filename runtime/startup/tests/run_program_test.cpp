// The whole start of a program: the run step, its entry routine as the program writes it,
// the loop until the window closes, the orderly end; and a window closed while a handler
// still pumps messages.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdio>

#include "fake_program.h"
#include "runtime/frame.h"
#include "runtime/startup/start.h"

namespace {

using testing::AllOf;
using testing::HasSubstr;
using testing::Not;

int exitHookRuns = 0;
void ExitHook() { std::fprintf(stderr, "exit hook %d\n", ++exitHookRuns); }

std::int32_t entryAnswer = 0;

// The program's entry procedure.
std::int32_t Entry() {
  static const runtime::ProgramInfoBlock info = fakeprogram::Info();
  const runtime::RuntimeEntryTable& runtime = runtime::EntryTable();
  runtime.RuntimeService(runtime::service::StartRuntime, reinterpret_cast<std::intptr_t>(&info), 0, 0, 0);
  runtime.RuntimeService(runtime::service::SetExitHook, reinterpret_cast<std::intptr_t>(&ExitHook), 0, 0, 0);
  runtime.LoadStartupWindow(fakeprogram::kWindow);
  runtime.RunMessageLoop();
  std::fprintf(stderr, "loop ended\n");
  return entryAnswer;
}

QWidget* Window() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible()) return widget;
  }
  return nullptr;
}

void CloseWindow() {
  if (QWidget* window = Window()) window->close();
}

void ClickButton() {
  if (QWidget* window = Window()) QTest::mouseClick(window->findChild<QPushButton*>(), Qt::LeftButton);
}

runtime::HandlerResult CloseSoon() {
  QTimer::singleShot(0, CloseWindow);
  return {};
}

TEST(RunProgram, RunsTheEntryRoutineUntilTheWindowClosesThenEndsInOrder) {
  fakeprogram::onCreated = CloseSoon;
  EXPECT_EXIT(runtime::RunProgram(Entry), testing::ExitedWithCode(0),
              AllOf(HasSubstr("loop ended\nexit hook 1\nlibrary shut down\n"), Not(HasSubstr("exit hook 2"))));
}

TEST(RunProgram, TheEntryRoutinesAnswerIsTheExitCode) {
  fakeprogram::onCreated = CloseSoon;
  entryAnswer = 7;
  EXPECT_EXIT(runtime::RunProgram(Entry), testing::ExitedWithCode(7), HasSubstr("exit hook 1\n"));
}

// The resolve handler pumps messages while it fetches; the user closes the window then.
runtime::HandlerResult ResolveWhileTheUserCloses() {
  QTimer::singleShot(0, CloseWindow);
  for (int chunk = 0; chunk < 50; ++chunk) {
    runtime::RuntimeNotify(runtime::notify::HandleWaitingMessages, 0, 0);
  }
  const char* address = "http://example.invalid/file";
  auto bits = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(address));
  runtime::EntryTable().WriteProperty(fakeprogram::kWindow, fakeprogram::kEdit, 8, -1, static_cast<std::uint32_t>(bits),
                                      static_cast<std::uint32_t>(bits >> 32));
  std::fprintf(stderr, "handler finished\n");
  return {};
}

TEST(RunProgram, ClosingTheWindowDuringAHandlerEndsTheProgramInOrderOnceItReturns) {
  fakeprogram::onCreated = [] {
    QTimer::singleShot(0, ClickButton);
    return runtime::HandlerResult{};
  };
  fakeprogram::onClicked = ResolveWhileTheUserCloses;
  EXPECT_EXIT(runtime::RunProgram(Entry), testing::ExitedWithCode(0),
              AllOf(HasSubstr("handler finished\nloop ended\nexit hook 1\n"), Not(HasSubstr("错误"))));
}

}  // namespace

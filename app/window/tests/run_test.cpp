// The program as the run step starts it, ended by a fatal runtime error.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QTimer>

#include "app/base/runtime_calls.h"
#include "app/window/program.h"
#include "runtime/startup/start.h"
#include "ui/application.h"

namespace {

// Once the window is up, a property of a window the program never loaded.
[[noreturn]] void RunIntoARuntimeError() {
  ui::EnsureApplication();
  QTimer::singleShot(0, [] { app::Runtime().ReadProperty(0x52019999, 0x16010070, 8, -1); });
  runtime::RunProgram(app::EntryProcedure);
}

TEST(Panlift, AFatalRuntimeErrorShowsItsMessageAndEndsWith255) {
  EXPECT_EXIT(RunIntoARuntimeError(), testing::ExitedWithCode(255), testing::HasSubstr("未载入欲访问窗口组件所在的窗口"));
}

}  // namespace

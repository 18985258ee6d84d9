// The program as the run step starts it, ended by a fatal runtime error.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <QTimer>
#include <cstdio>
#include <string>

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

// Without a window system the program would run unseen: it says so and ends with 2.
TEST(Panlift, WithoutADisplayItSaysSoAndEndsWith2) {
  std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " PANLIFT_EXECUTABLE " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  char line[512] = {};
  std::string output;
  while (std::fgets(line, sizeof line, pipe)) output += line;
  int status = pclose(pipe);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << status;
  EXPECT_THAT(output, testing::HasSubstr("no display"));
  EXPECT_THAT(output, testing::HasSubstr("panlift-cli"));
}

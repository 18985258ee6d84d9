// Where a process's start-up goes (scripts/bench.sh process): the steps that panlift-cli takes
// before and during its first resolve, each timed once, as they cost in a fresh process.
// Prints one line per step: its name and milliseconds, from the process's own clock.
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <unistd.h>

#include "app/base/program_block.h"
#include "app/base/runtime_calls.h"
#include "app/fetch/fetch_page.h"
#include "app/json/json_get.h"
#include "app/testing/program_test.h"
#include "app/text/url_decode.h"
#include "runtime/startup/start.h"
#include "ui/application.h"

namespace {

double Now() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Since the process started: its start time from /proc/self/stat, in clock ticks since boot.
double SinceExec() {
  unsigned long long startTicks = 0;
  if (std::FILE* f = std::fopen("/proc/self/stat", "r")) {
    // Field 22 is the start time; the command name (field 2) holds no blank for this binary.
    for (int field = 1; field < 22; ++field) {
      if (std::fscanf(f, "%*s") != 0) break;
    }
    if (std::fscanf(f, "%llu", &startTicks) != 1) startTicks = 0;
    std::fclose(f);
  }
  timespec boot{};
  clock_gettime(CLOCK_BOOTTIME, &boot);
  const double uptime = static_cast<double>(boot.tv_sec) * 1e3 + static_cast<double>(boot.tv_nsec) / 1e6;
  return uptime - static_cast<double>(startTicks) * 1e3 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double last = 0;
void Step(const char* name) {
  const double now = Now();
  std::printf("%-44s %8.2f ms\n", name, now - last);
  last = Now();
}

runtime::HandlerResult Nothing(const std::int32_t*, std::int32_t) { return {0, 0}; }
const runtime::EventHandler kProcedures[] = {Nothing, Nothing, Nothing};

}  // namespace

int main(int argc, char** argv) {
  const double sinceExec = SinceExec();
  last = Now();
  std::printf("%-44s %8.2f ms (10 ms ticks)\n", "exec, loading and linking, static set-up", sinceExec);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  ui::EnsureApplication();
  Step("Qt application, offscreen platform");
  runtime::InstallRuntimeParts();
  static const runtime::ProgramInfoBlock block = app::MakeProgramBlock(kProcedures, 3);
  runtime::StartRuntime(&block);
  Step("runtime start (libraries, templates)");
  app::testing::LoadMainWindow();
  Step("MainWindow loaded");
  app::FreeBlock(app::JsonGet("{\"a\":\"1\"}", "a"));
  Step("first JsonGet (script engine)");
  app::FreeBlock(app::JsonGet("{\"a\":\"1\"}", "a"));
  Step("second JsonGet");
  app::FreeBlock(app::UrlDecode("%E5%85%83.rmvb"));
  Step("first UrlDecode (Adodb.Stream)");
  app::FreeBlock(app::UrlDecode("%E5%85%83.rmvb"));
  Step("second UrlDecode");
  if (argc > 1) {
    app::FreeBlock(app::FetchPage(argv[1]));
    Step("first FetchPage (argument 1)");
    app::FreeBlock(app::FetchPage(argv[1]));
    Step("second FetchPage");
  }
  app::testing::CloseMainWindow();
  Step("MainWindow closed");
  return 0;
}

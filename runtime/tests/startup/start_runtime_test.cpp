// StartRuntime, step by step, through the entry table as the program calls it. Each case
// runs in a child process that reports what it found wrong on standard error.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "fake_program.h"
#include "kernel/modules.h"
#include "kernel/process.h"
#include "oleaut/ole32.h"
#include "runtime/frame.h"
#include "runtime/startup/start.h"
#include "runtime/windows/window_layer.h"
#include "runtime/windows/window_table.h"

namespace {

using testing::HasSubstr;
using testing::Not;

struct ChildChecks {
  int failures = 0;
  void operator()(bool ok, const char* what) {
    if (ok) return;
    ++failures;
    std::fprintf(stderr, "FAILED: %s\n", what);
  }
  [[noreturn]] void Exit() const { std::exit(failures ? 1 : 0); }
};
#define CHECK_IN_CHILD(checks, condition) checks((condition), #condition)

std::intptr_t Start(const runtime::ProgramInfoBlock& info) {
  return runtime::EntryTable().RuntimeService(runtime::service::StartRuntime, reinterpret_cast<std::intptr_t>(&info),
                                              0, 0, 0);
}

bool created = false;

void StartEveryStep() {
  runtime::InstallRuntimeParts();
  fakeprogram::RegisterFakeDll();
  fakeprogram::onCreated = [] {
    created = true;
    return runtime::HandlerResult{};
  };
  static const runtime::ProgramInfoBlock info = fakeprogram::Info();
  ChildChecks check;
  CHECK_IN_CHILD(check, Start(info) == 1);
  CHECK_IN_CHILD(check, runtime::ProgramMode() == 3);
  CHECK_IN_CHILD(check, runtime::ProgramVersion() == 65995);

  CHECK_IN_CHILD(check, CoInitialize(nullptr) == S_FALSE);  // OLE is up on this thread already

  char name[4096];
  GetModuleFileNameA(nullptr, name, sizeof name);
  std::string full = name;
  std::size_t cut = full.rfind('\\');
  CHECK_IN_CHILD(check, runtime::ProgramDirectory() == full.substr(0, cut));
  CHECK_IN_CHILD(check, runtime::ProgramFileName() == full.substr(cut + 1));
  char current[4096];
  GetCurrentDirectoryA(sizeof current, current);
  CHECK_IN_CHILD(check, std::string(current) == runtime::ProgramDirectory());

  CHECK_IN_CHILD(check, runtime::OnMainThread());
  CHECK_IN_CHILD(check, runtime::InConstantRange(fakeprogram::kConstants + 10));
  CHECK_IN_CHILD(check, !runtime::InConstantRange(fakeprogram::kConstants + sizeof fakeprogram::kConstants));
  runtime::DllCall answer = runtime::CallDllCommand(0);
  CHECK_IN_CHILD(check, reinterpret_cast<int (*)()>(answer.address)() == 42);
  CHECK_IN_CHILD(check, fakeprogram::libraryStarts == 1);
  CHECK_IN_CHILD(check, fakeprogram::libraryNotify == reinterpret_cast<std::intptr_t>(&runtime::RuntimeNotify));
  CHECK_IN_CHILD(check, runtime::LibraryCount() == 2);

  runtime::WindowEntry* window = runtime::FindWindow(fakeprogram::kWindow);
  CHECK_IN_CHILD(check, window && window->units.size() == 3);
  CHECK_IN_CHILD(check, window && window->FindUnit(fakeprogram::kButton)->HandlerFor(0) != nullptr);
  CHECK_IN_CHILD(check, window && window->FindUnit(fakeprogram::kEdit)->HandlerFor(0) == nullptr);
  runtime::EntryTable().LoadStartupWindow(fakeprogram::kWindow);
  CHECK_IN_CHILD(check, created);
  CHECK_IN_CHILD(check, runtime::AnyWindowLive());
  check.Exit();
}

TEST(StartRuntime, SetsTheRuntimeUpStepByStep) {
  EXPECT_EXIT(StartEveryStep(), testing::ExitedWithCode(0), Not(HasSubstr("FAILED")));
}

void StartWithoutTemplates() {
  runtime::InstallRuntimeParts();
  static const runtime::ProgramInfoBlock info = fakeprogram::Info(false);
  ChildChecks check;
  CHECK_IN_CHILD(check, Start(info) == 1);
  CHECK_IN_CHILD(check, runtime::WindowTable().empty());
  runtime::EntryTable().RunMessageLoop();  // nothing to run: returns at once
  runtime::EntryTable().LoadStartupWindow(fakeprogram::kWindow);
  check.Exit();
}

TEST(StartRuntime, WithoutTemplatesThereIsNoWindowToLoad) {
  EXPECT_EXIT(StartWithoutTemplates(), testing::ExitedWithCode(255), HasSubstr("载入启动窗口失败"));
}

void StartWithDamagedTemplates() {
  runtime::InstallRuntimeParts();
  static runtime::ProgramInfoBlock info = fakeprogram::Info();
  info.templatesSize -= 1;
  Start(info);
  std::fprintf(stderr, "FAILED: started\n");
}

// The window's creation handler is the second procedure: a table of one ends before it.
void StartWithAHandlerPastTheProcedures() {
  runtime::InstallRuntimeParts();
  static runtime::ProgramInfoBlock info = fakeprogram::Info();
  info.procedureCount = 1;
  Start(info);
  std::fprintf(stderr, "FAILED: started\n");
}

TEST(StartRuntime, DamagedTemplatesAreFatal) {
  EXPECT_EXIT(StartWithDamagedTemplates(), testing::ExitedWithCode(255),
              HasSubstr("错误\n运行时出错!\r\n\r\n错误信息：载入窗口模板数据段出错!\r\n"));
  EXPECT_EXIT(StartWithAHandlerPastTheProcedures(), testing::ExitedWithCode(255),
              HasSubstr("错误\n运行时出错!\r\n\r\n错误信息：载入窗口模板数据段出错!\r\n"));
}

}  // namespace

// StartRuntime, step by step, through the entry table as the program calls it. Each case
// runs in a child process that reports what it found wrong on standard error.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "fake_program.h"
#include "kernel/modules.h"
#include "kernel/process.h"
#include "oleaut/ole32.h"
#include "runtime/frame.h"
#include "runtime/startup/start.h"
#include "runtime/windows/window_layer.h"
#include "runtime/windows/window_table.h"
#include "ui/application.h"

namespace {

using testing::AllOf;
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

// What Windows brings with the system: the modules of the program's DLL commands and the
// automation classes it creates by name.
void StartWithTheSystemsServices() {
  runtime::InstallRuntimeParts();
  ChildChecks check;
  CHECK_IN_CHILD(check, LoadLibraryA("WinINet.dll") == nullptr);  // not before the start
  static const char* const libraries[] = {"ole32.dll", "OLE32", "WinINet.dll"};
  static const char* const entries[] = {"CoInitialize", "CoUninitialize", "InternetReadFile"};
  static runtime::ProgramInfoBlock info = fakeprogram::Info();
  info.dllCommandCount = 3;
  info.dllLibraryNames = libraries;
  info.dllEntryNames = entries;
  CHECK_IN_CHILD(check, Start(info) == 1);

  runtime::DllCall coInitialize = runtime::CallDllCommand(0);
  CHECK_IN_CHILD(check, coInitialize.address == reinterpret_cast<FARPROC>(&CoInitialize));
  CHECK_IN_CHILD(check, coInitialize.argumentBytes == 4);
  CHECK_IN_CHILD(check, runtime::CallDllCommand(1).address == reinterpret_cast<FARPROC>(&CoUninitialize));
  CHECK_IN_CHILD(check, runtime::CallDllCommand(2).address != nullptr);
  HMODULE wininet = LoadLibraryA("wininet.dll");
  CHECK_IN_CHILD(check, wininet && GetProcAddress(wininet, "InternetOpenA") && GetProcAddress(wininet, "HttpSendRequestA"));

  runtime::RegisterSystemServices();  // again: changes nothing
  for (const char16_t* progId : {u"Adodb.Stream", u"ScriptControl"}) {
    CLSID clsid{};
    CHECK_IN_CHILD(check, CLSIDFromProgID(progId, &clsid) == S_OK);
    IUnknown* object = nullptr;
    CHECK_IN_CHILD(check, CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                           reinterpret_cast<void**>(&object)) == S_OK);
    if (object) object->Release();
  }
  check.Exit();
}

TEST(StartRuntime, TheSystemsModulesAndClassesAreThere) {
  EXPECT_EXIT(StartWithTheSystemsServices(), testing::ExitedWithCode(0), Not(HasSubstr("FAILED")));
}

// The hidden service window takes another thread's exit to the main thread, where it runs
// in order (the library hears of it); without the window the thread would end the process
// itself.
void ExitFromAnotherThread() {
  runtime::InstallRuntimeParts();
  static const runtime::ProgramInfoBlock info = fakeprogram::Info();
  Start(info);
  std::thread([] { runtime::ExitProgram(5); }).detach();
  for (int turn = 0; turn < 1000; ++turn) {
    ui::WaitAndHandleEvents();
  }
  std::fprintf(stderr, "FAILED: no exit\n");
  std::exit(1);
}

TEST(StartRuntime, TheServiceWindowTakesOtherThreadsExits) {
  EXPECT_EXIT(ExitFromAnotherThread(), testing::ExitedWithCode(5),
              AllOf(HasSubstr("library shut down"), Not(HasSubstr("FAILED"))));
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

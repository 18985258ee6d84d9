// The orderly exit, on the main thread or handed to it from any other thread.
#include <chrono>
#include <cstdlib>
#include <thread>

#include "context.h"
#include "kernel/modules.h"
#include "kernel/process.h"
#include "ui/application.h"
#include "ui/service_window.h"

namespace runtime {
namespace {

[[noreturn]] void EndProcess(std::int32_t exitCode) {
  // exit() runs the C library's handlers (stream flushing, the leak checker of the
  // sanitizer build); the shell sees the low byte, so -1 becomes 255.
  std::exit(exitCode);
}

void FreeDllModules(RuntimeContext& context) {
  for (DllCommandSlot& slot : context.dllCommands) {
    if (slot.module) FreeLibrary(slot.module);
  }
  context.dllCommands.clear();
  context.dllCommands.shrink_to_fit();
}

void NotifyLibrariesOfShutdown(RuntimeContext& context) {
  for (std::size_t i = 0; i < context.libraries.size(); ++i) {
    if (context.libraries[i]->notify) {
      context.libraries[i]->notify(library_notify::Shutdown, context.libraryData[i], 0);
    }
  }
}

}  // namespace

void ExitProgram(std::int32_t exitCode) {
  RuntimeContext& context = Context();
  ++context.errorExitNesting;

  if (!OnMainThread()) {
    // Once the main thread is exiting, its service window may be going away: do not touch it.
    if (!context.exiting && context.serviceWindow) {
      context.serviceWindow->Send(kExitRequestMessage, static_cast<WPARAM>(exitCode), 0);
    }
    // Reached only when the main thread did not carry out the exit itself.
    if (!context.exiting) std::_Exit(exitCode);
    // The main thread is exiting already; this thread waits for the process to end.
    for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
  }

  // An exit (or an error) raised while the exit runs ends the process at once.
  if (context.exiting.exchange(true)) EndProcess(exitCode);

  DropIdleCallbacks();
  if (context.windowLayer && context.windowLayer->destroyAllWindows) {
    context.windowLayer->destroyAllWindows();
  }
  if (ExitHookFunction hook = context.exitHook) {
    context.exitHook = nullptr;
    hook();
  }
  NotifyLibrariesOfShutdown(context);
  FreeDllModules(context);
  context.serviceWindow.reset();
  EndProcess(exitCode);
}

void SetExitHook(ExitHookFunction hook) { Context().exitHook = hook; }

void RecordMainThread() { Context().mainThreadId = GetCurrentThreadId(); }

bool OnMainThread() {
  // Before start-up records it, the first thread to ask becomes the main thread.
  DWORD self = GetCurrentThreadId();
  DWORD expected = 0;
  if (Context().mainThreadId.compare_exchange_strong(expected, self)) return true;
  return expected == self;
}

void CreateServiceWindow() {
  RuntimeContext& context = Context();
  if (context.serviceWindow) return;
  ui::EnsureApplication();
  context.serviceWindow = std::make_unique<ui::ServiceWindow>([](UINT message, WPARAM wParam, LPARAM) -> LRESULT {
    if (message == kExitRequestMessage) ExitProgram(static_cast<std::int32_t>(wParam));
    return 0;
  });
}

}  // namespace runtime

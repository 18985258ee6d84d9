// The application framework's run step.
#include "runtime/frame.h"
#include "runtime/startup/start.h"
#include "runtime/windows/window_layer.h"
#include "ui/application.h"

namespace runtime {

void InstallRuntimeParts() {
  SetStartRuntimeRoutine(&StartRuntime);
  InstallWindowLayer();
}

void RunProgram(EntryRoutine entry) {
  ui::EnsureApplication();
  InstallRuntimeParts();
  std::int32_t exitCode = entry();
  // The process ends in order: windows, the program's exit routine, the libraries.
  ExitProgram(exitCode);
}

}  // namespace runtime

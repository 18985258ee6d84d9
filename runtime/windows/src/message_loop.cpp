// RunMessageLoop: idle callbacks and the idle step while nothing waits, then the waiting
// messages, until the quit.
#include "runtime/frame.h"
#include "runtime/windows/window_layer.h"
#include "ui/application.h"
#include "window_lifetime.h"

namespace runtime {
namespace {

bool loopEntered = false;

// The framework's idle work; true while there is more of it.
bool IdleStep(int idleCount) {
  if (idleCount == 0) {
    ReapClosedWindows();
    return true;
  }
  return false;
}

}  // namespace

bool MessageLoopEntered() { return loopEntered; }

void RunMessageLoop() {
  loopEntered = true;
  if (!AnyWindowLive()) return;
  int idleCount = 0;
  bool idle = true;
  while (!ui::QuitRequested()) {
    if (ui::HandleWaitingEvents()) {
      idle = true;  // what came in may have left idle work
      idleCount = 0;
      continue;
    }
    if (idle) {
      RunIdleCallbacks(&WindowHandleExists);
      idle = IdleStep(idleCount++);
      continue;
    }
    ui::WaitAndHandleEvents();
    idle = true;
    idleCount = 0;
  }
  // The loop takes the quit it ends on out of the queue, as GetMessage does: a later loop
  // or pump runs normally.
  ui::ResetQuit();
}

}  // namespace runtime

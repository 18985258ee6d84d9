// panlift: the program, started by the framework's run step.
#include <cstdio>
#include <cstdlib>

#include "app/window/program.h"
#include "runtime/startup/start.h"

namespace {

// Without a window system the window would run unseen until killed. Asking for a platform
// (QT_QPA_PLATFORM, as the tests do with "offscreen") is a choice the user made.
bool NoDisplay() {
  auto unset = [](const char* name) {
    const char* value = std::getenv(name);
    return !value || !*value;
  };
  return unset("DISPLAY") && unset("WAYLAND_DISPLAY") && unset("QT_QPA_PLATFORM");
}

}  // namespace

int main() {
  if (NoDisplay()) {
    std::fprintf(stderr, "panlift: no display (DISPLAY and WAYLAND_DISPLAY are unset); "
                         "panlift-cli resolves share links without one (panlift-cli --help)\n");
    return 2;
  }
  runtime::RunProgram(app::EntryProcedure);
}

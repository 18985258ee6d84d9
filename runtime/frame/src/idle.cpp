// Idle callbacks: routines the message loop calls while no message waits.
#include "context.h"

namespace runtime {

void AddIdleCallback(void* window, IdleRoutine routine, void* parameter) {
  Context().idleCallbacks.push_back({window, routine, parameter});
}

void RunIdleCallbacks(bool (*windowExists)(void* window)) {
  auto& callbacks = Context().idleCallbacks;
  // From the last entry to the first; a routine may add or drop entries while it runs.
  for (std::size_t i = callbacks.size(); i-- > 0;) {
    if (i >= callbacks.size()) continue;
    IdleCallbackEntry entry = callbacks[i];
    if (windowExists && !windowExists(entry.window)) {
      callbacks.erase(callbacks.begin() + static_cast<std::ptrdiff_t>(i));
      continue;
    }
    entry.routine(entry.parameter);
  }
}

void DropIdleCallbacks() { Context().idleCallbacks.clear(); }

}  // namespace runtime

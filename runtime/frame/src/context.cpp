#include "context.h"

#include "ui/service_window.h"

namespace runtime {

RuntimeContext& Context() {
  // Never destroyed: the process ends through ExitProgram, and static destruction must not
  // race a thread that is still handing its exit request to the main thread.
  static RuntimeContext* context = new RuntimeContext;
  return *context;
}

}  // namespace runtime

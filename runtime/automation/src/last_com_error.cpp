#include "automation_call.h"
#include "runtime/automation.h"

namespace runtime {
namespace {
thread_local std::int32_t lastComError = 0;  // each thread has its own
}

std::int32_t LastComError() { return lastComError; }

namespace automation {
void SetLastComError(std::int32_t code) { lastComError = code; }
}  // namespace automation

}  // namespace runtime

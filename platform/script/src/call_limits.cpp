#include "call_limits.h"

#include <pthread.h>

#include <algorithm>

#include "duktape_config.h"

namespace script::detail {

namespace {

thread_local CallLimits* t_running = nullptr;

std::uintptr_t CurrentStackAddress() {
  return reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
}

std::size_t ThreadStackBudget() {
  std::size_t size = 0;
  pthread_attr_t attributes;
  if (pthread_getattr_np(pthread_self(), &attributes) == 0) {
    pthread_attr_getstacksize(&attributes, &size);
    pthread_attr_destroy(&attributes);
  }
  if (size == 0) return kNativeStackBudget;
  return std::min(kNativeStackBudget, size / 2);
}

// Asked once per thread: for the main thread it reads the process's memory map.
thread_local const std::size_t t_stackBudget = ThreadStackBudget();

}  // namespace

void CallLimits::Start(std::int32_t timeoutMs) {
  hasDeadline_ = timeoutMs >= 0;
  expired_ = timeoutMs == 0;
  checks_ = 0;
  if (hasDeadline_) deadline_ = Clock::now() + std::chrono::milliseconds(timeoutMs);
}

bool CallLimits::TimedOut() {
  if (expired_) return true;
  if (!hasDeadline_) return false;
  expired_ = Clock::now() >= deadline_;
  return expired_;
}

bool CallLimits::TimedOutSampled() {
  if (expired_) return true;
  if (!hasDeadline_ || (checks_++ & 0x3F) != 0) return false;
  return TimedOut();
}

std::int32_t CallLimits::TimeLeftMs() const {
  if (!hasDeadline_) return -1;
  if (expired_) return 0;
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now());
  return static_cast<std::int32_t>(std::max<std::chrono::milliseconds::rep>(0, left.count()));
}

bool CallLimits::StackExhausted() const {
  if (stackBase_ == 0) return false;
  const std::uintptr_t here = CurrentStackAddress();
  return here < stackBase_ && stackBase_ - here > stackBudget_;
}

CallScope::CallScope(CallLimits& limits) : previous_(t_running) {
  limits.stackBase_ = CurrentStackAddress();
  limits.stackBudget_ = t_stackBudget;
  t_running = &limits;
}

CallScope::~CallScope() { t_running = previous_; }

}  // namespace script::detail

using script::detail::CallLimits;

extern "C" int panlift_script_exec_timed_out(void*) {
  CallLimits* limits = script::detail::t_running;
  return limits != nullptr && limits->TimedOut() ? 1 : 0;
}

extern "C" int panlift_script_native_stack_check(void) {
  CallLimits* limits = script::detail::t_running;
  if (limits == nullptr) return 0;
  // Asked on every level of a RegExp match, so the clock is only sampled.
  return limits->StackExhausted() || limits->TimedOutSampled() ? 1 : 0;
}

// The limits of one call into the engine: a deadline and a native stack budget. The
// engine's hooks (duktape_config.h) consult the limits of the call running on their
// thread; a CallScope makes a call's limits the running ones for as long as it lives.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>

namespace script::detail {

class CallLimits {
 public:
  using Clock = std::chrono::steady_clock;

  // timeoutMs < 0: no deadline. 0 is a deadline that has already passed.
  void Start(std::int32_t timeoutMs);
  // A deadline that has passed stays passed until the next Start. Sampled: reads the
  // clock only on every 64th question (for hooks that are asked very often).
  bool TimedOut();
  bool TimedOutSampled();
  bool StackExhausted() const;
  // Milliseconds until the deadline (0 once it has passed); -1 without one.
  std::int32_t TimeLeftMs() const;

 private:
  friend class CallScope;
  Clock::time_point deadline_{};
  bool hasDeadline_ = false;
  bool expired_ = false;
  std::uint32_t checks_ = 0;
  std::uintptr_t stackBase_ = 0;  // stack address where the call began
  std::size_t stackBudget_ = 0;
};

class CallScope {
 public:
  explicit CallScope(CallLimits& limits);
  CallScope(const CallScope&) = delete;
  CallScope& operator=(const CallScope&) = delete;
  ~CallScope();

 private:
  CallLimits* previous_;
};

// How much native stack one call may use: deep enough for any script the engine's own
// recursion limits admit, and never more than half of the calling thread's stack.
inline constexpr std::size_t kNativeStackBudget = 2 * 1024 * 1024;

}  // namespace script::detail

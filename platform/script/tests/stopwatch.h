// Wall-clock time of a call, for the checks that a call ends within its limit. The bound
// is generous (slow sanitizer builds, a busy machine) yet far below what a script that a
// broken deadline check let run on would take.
#pragma once

#include <chrono>
#include <cstdint>

class Stopwatch {
 public:
  std::int64_t ElapsedMs() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_)
        .count();
  }

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// What a call with a timeout of `timeoutMs` may take at most.
inline std::int64_t WithinTimeoutMs(std::int32_t timeoutMs) { return timeoutMs + 2500; }

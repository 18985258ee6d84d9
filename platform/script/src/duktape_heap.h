// One Duktape heap under the sandbox's limits: its memory comes from a capped allocator,
// every call into it runs protected under a deadline and a stack budget, and a fatal
// engine error abandons the heap (freeing its memory) instead of ending the process.
#pragma once

#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "call_limits.h"
#include "capped_allocator.h"
#include "duktape_api.h"

namespace script::detail {

enum class CallStatus {
  Ok,     // the body returned; its one result is on the stack top
  Error,  // the body threw; what it threw is on the stack top
  Fatal,  // the heap broke down and is gone
};

class Heap {
 public:
  // Null when the heap cannot be made. The memory limit applies once the heap exists
  // (making one needs more than a small limit would allow).
  static std::unique_ptr<Heap> Create(std::size_t memoryLimit);
  Heap(const Heap&) = delete;
  Heap& operator=(const Heap&) = delete;
  ~Heap();

  // Runs body as a protected call: nargs values from the stack top are its arguments,
  // and it leaves one value. The caller reads that value with the non-throwing getters
  // and pops it.
  CallStatus Call(std::int32_t timeoutMs, duk_safe_call_function body, void* udata,
                  duk_idx_t nargs);

  duk_context* Context() const { return ctx_; }
  bool Dead() const { return ctx_ == nullptr; }
  // About the last call: whether it ran past its deadline, or was refused memory.
  bool TimedOut() { return limits_.TimedOut(); }
  // What is left of the last call's deadline (-1: it had none).
  std::int32_t TimeLeftMs() const { return limits_.TimeLeftMs(); }
  bool MemoryRefused() const { return allocator_.Refused(); }
  const std::string& FatalMessage() const { return fatalMessage_; }

  void SetMemoryLimit(std::size_t bytes) { allocator_.SetLimit(bytes); }
  std::size_t MemoryInUse() const { return allocator_.InUse(); }

 private:
  Heap() = default;
  static void* Allocate(void* udata, duk_size_t size);
  static void* Reallocate(void* udata, void* block, duk_size_t size);
  static void Free(void* udata, void* block);
  static void OnFatal(void* udata, const char* message);
  void Abandon();

  CappedAllocator allocator_;  // declared first: outlives the heap it serves
  CallLimits limits_;
  duk_context* ctx_ = nullptr;
  std::jmp_buf* fatalJump_ = nullptr;
  std::string fatalMessage_;
};

}  // namespace script::detail

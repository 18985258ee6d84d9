// What the engine does in one heap: run code, call functions, keep the objects it hands
// out, and turn what the script leaves or throws into a Result.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "duktape_heap.h"
#include "script/engine.h"

namespace script::detail {

class Context : public std::enable_shared_from_this<Context> {
 public:
  // Null (and failure filled in) when no heap can be made.
  static std::shared_ptr<Context> Create(std::size_t memoryLimit, std::int32_t timeoutMs,
                                         Result& failure);
  Context(std::unique_ptr<Heap> heap, std::int32_t timeoutMs, std::size_t memoryLimit);

  void SetTimeout(std::int32_t timeoutMs) { timeoutMs_ = timeoutMs; }
  void SetMemoryLimit(std::size_t bytes) {
    memoryLimit_ = bytes;
    heap_->SetMemoryLimit(bytes);
  }
  bool Dead() const { return heap_->Dead(); }
  // After running out of memory with more than half the limit still held by the script's
  // own data: the heap cannot serve another call and must be replaced.
  bool Exhausted() const { return exhausted_; }
  std::size_t MemoryInUse() const { return heap_->MemoryInUse(); }

  Result Execute(std::u16string_view code, bool wantValue);
  Result Run(std::u16string_view name, std::span<const Value> arguments);
  Result DefaultValue(std::uint32_t id);
  void Release(std::uint32_t id);

  // For the heap's own use from inside protected calls.
  std::uint32_t NextObjectId() { return nextObjectId_++; }
  Heap& GetHeap() { return *heap_; }

 private:
  bool RemoveHostGlobals();
  // Reads the one value a call left (ok) or describes what it threw.
  Result Finish(CallStatus status, bool compiling, bool keptObject, std::uint32_t id);
  Value ReadValue(bool keptObject, std::uint32_t id);
  // Both within a budget of their own (milliseconds).
  std::u16string DescribeThrown(std::int32_t budgetMs);
  void CollectAfterRefusal(std::int32_t budgetMs);

  std::unique_ptr<Heap> heap_;
  std::int32_t timeoutMs_;
  std::uint32_t nextObjectId_ = 1;
  std::size_t memoryLimit_;
  bool exhausted_ = false;
};

}  // namespace script::detail

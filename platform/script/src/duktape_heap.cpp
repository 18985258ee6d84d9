#include "duktape_heap.h"

#include <cstdio>
#include <cstdlib>

namespace script::detail {

void* Heap::Allocate(void* udata, duk_size_t size) {
  return static_cast<Heap*>(udata)->allocator_.Allocate(size);
}

void* Heap::Reallocate(void* udata, void* block, duk_size_t size) {
  return static_cast<Heap*>(udata)->allocator_.Reallocate(block, size);
}

void Heap::Free(void* udata, void* block) { static_cast<Heap*>(udata)->allocator_.Free(block); }

// The engine calls this when it cannot go on (it must not return). Inside a call we jump
// back to the call's start and give the heap up; elsewhere there is nothing to return to.
void Heap::OnFatal(void* udata, const char* message) {
  auto* heap = static_cast<Heap*>(udata);
  if (heap != nullptr && heap->fatalJump_ != nullptr) {
    heap->fatalMessage_ = message != nullptr ? message : "";
    std::longjmp(*heap->fatalJump_, 1);
  }
  std::fprintf(stderr, "script engine: fatal error outside a call: %s\n",
               message != nullptr ? message : "");
  std::abort();
}

std::unique_ptr<Heap> Heap::Create(std::size_t memoryLimit) {
  std::unique_ptr<Heap> heap(new Heap());
  heap->ctx_ =
      duk_create_heap(&Heap::Allocate, &Heap::Reallocate, &Heap::Free, heap.get(), &Heap::OnFatal);
  if (heap->ctx_ == nullptr) return nullptr;
  heap->allocator_.SetLimit(memoryLimit);
  return heap;
}

Heap::~Heap() {
  if (ctx_ == nullptr) return;
  // Scripts have no way to leave finalizers behind; should one run, it still ends.
  limits_.Start(1000);
  CallScope scope(limits_);
  std::jmp_buf jump;
  fatalJump_ = &jump;
  if (setjmp(jump) == 0) {
    duk_destroy_heap(ctx_);
    ctx_ = nullptr;
  } else {
    Abandon();
  }
  fatalJump_ = nullptr;
}

CallStatus Heap::Call(std::int32_t timeoutMs, duk_safe_call_function body, void* udata,
                      duk_idx_t nargs) {
  if (ctx_ == nullptr) return CallStatus::Fatal;
  limits_.Start(timeoutMs);
  allocator_.ClearRefused();
  CallScope scope(limits_);
  std::jmp_buf jump;
  fatalJump_ = &jump;
  if (setjmp(jump) != 0) {
    fatalJump_ = nullptr;
    Abandon();
    return CallStatus::Fatal;
  }
  const duk_int_t rc = duk_safe_call(ctx_, body, udata, nargs, 1);
  fatalJump_ = nullptr;
  return rc == DUK_EXEC_SUCCESS ? CallStatus::Ok : CallStatus::Error;
}

// After a fatal error the heap's state is unknown: never touch it again, just take back
// its memory.
void Heap::Abandon() {
  ctx_ = nullptr;
  allocator_.FreeAll();
}

}  // namespace script::detail

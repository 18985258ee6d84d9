// The library's one process-wide value: the runtime's RuntimeNotify, through which every
// block handed back to a caller is allocated on the runtime heap.
#pragma once

#include <cstddef>

#include "runtime/library.h"

namespace regexlib::heap {

// Null withdraws it: allocations yield null again.
void SetRuntimeNotify(runtime::RuntimeNotifyFunction notify);

// Null when the runtime has not handed over its RuntimeNotify yet or the heap refuses:
// the library turns that into a neutral result instead of the runtime's fatal error.
void* Allocate(std::size_t bytes);
void Free(void* block);

}  // namespace regexlib::heap

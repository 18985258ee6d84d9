#include "runtime_heap.h"

#include <cstdint>
#include <limits>

namespace regexlib::heap {
namespace {
runtime::RuntimeNotifyFunction g_notify = nullptr;
}

void SetRuntimeNotify(runtime::RuntimeNotifyFunction notify) { g_notify = notify; }

void* Allocate(std::size_t bytes) {
  // The runtime heap counts in int32.
  if (!g_notify || bytes > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    return nullptr;
  }
  const std::intptr_t block =
      g_notify(runtime::notify::Allocate, static_cast<std::intptr_t>(bytes), /*null on failure*/ 1);
  return reinterpret_cast<void*>(block);
}

void Free(void* block) {
  if (g_notify && block) g_notify(runtime::notify::Free, reinterpret_cast<std::intptr_t>(block), 0);
}

}  // namespace regexlib::heap

// A RuntimeNotify of the tests' own, over malloc, that counts live blocks so that a test can
// see who owns what HttpReadFile returns.
#pragma once

#include <cstdint>
#include <cstdlib>

#include "runtime/library.h"

namespace inet_test {

inline int liveBlocks = 0;
inline bool refuseAllocations = false;

inline std::intptr_t CountingNotify(std::int32_t code, std::intptr_t p1, std::intptr_t) {
  switch (code) {
    case runtime::notify::Allocate:
      if (refuseAllocations) return 0;
      ++liveBlocks;
      return reinterpret_cast<std::intptr_t>(std::malloc(static_cast<std::size_t>(p1)));
    case runtime::notify::Free:
      if (p1) --liveBlocks;
      std::free(reinterpret_cast<void*>(p1));
      return 0;
    default: return 0;
  }
}

}  // namespace inet_test

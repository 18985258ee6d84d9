// For tests only: the runtime heap made to refuse one chosen request, as an exhausted heap
// would, so a test can walk every allocation of a piece of work (each in a child process)
// and see it end in the allocation error or complete. Nothing changes while it is off.
#pragma once

#include <cstdint>

namespace runtime {

// The n-th request for a block from now on (1: the next) is refused; 0 turns refusing off.
// Requests are counted from this call on while n is not 0.
void RefuseAllocation(std::int64_t n);
// Requests counted since the last RefuseAllocation with n other than 0.
std::int64_t AllocationsCounted();

}  // namespace runtime

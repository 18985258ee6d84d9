// Thread ids and the per-thread last-error code.
#include <unistd.h>

#include "kernel/process.h"

namespace {
thread_local DWORD lastError = 0;
}

// The kernel's thread id: stable for the thread's life, never 0, and the same value that
// tools such as ps and gdb show. Cached, so a forked child (a death test) keeps the id of
// the thread that forked it, as code that recorded its main thread before the fork expects.
DWORD GetCurrentThreadId() {
  thread_local const DWORD id = static_cast<DWORD>(gettid());
  return id;
}

DWORD GetLastError() { return lastError; }

void SetLastError(DWORD code) { lastError = code; }

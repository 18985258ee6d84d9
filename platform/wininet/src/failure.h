// Ending a WinInet call as Windows does: the reason in the thread's last error.
#pragma once

#include "kernel/process.h"
#include "wininet/wininet.h"

namespace wininet {

inline BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

inline HINTERNET FailHandle(DWORD error) {
  SetLastError(error);
  return nullptr;
}

}  // namespace wininet

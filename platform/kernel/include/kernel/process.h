// Threads, last-error codes, the current directory, the process heap and global memory.
#pragma once

#include "win/types.h"

DWORD GetCurrentThreadId();
DWORD GetLastError();
void SetLastError(DWORD code);

// Paths may use "\" or "/" as separators.
BOOL SetCurrentDirectoryA(LPCSTR path);
DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer);

// The process heap. Requests above 0x7FFFFFFF bytes are refused (null), as a 32-bit
// process's heap would refuse them.
inline constexpr DWORD HEAP_ZERO_MEMORY = 0x00000008;
inline constexpr DWORD HEAP_REALLOC_IN_PLACE_ONLY = 0x00000010;
HANDLE GetProcessHeap();
LPVOID HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes);
LPVOID HeapReAlloc(HANDLE heap, DWORD flags, LPVOID block, SIZE_T bytes);
BOOL HeapFree(HANDLE heap, DWORD flags, LPVOID block);
// The size asked for when the block was made or last resized; (SIZE_T)-1 for no block.
SIZE_T HeapSize(HANDLE heap, DWORD flags, LPCVOID block);

// Global memory blocks, as the clipboard takes them.
inline constexpr UINT GMEM_FIXED = 0x0000;
inline constexpr UINT GMEM_MOVEABLE = 0x0002;
inline constexpr UINT GMEM_ZEROINIT = 0x0040;
inline constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
LPVOID GlobalLock(HGLOBAL block);
BOOL GlobalUnlock(HGLOBAL block);
SIZE_T GlobalSize(HGLOBAL block);
HGLOBAL GlobalFree(HGLOBAL block);  // null on success, as Windows

// The basic Windows data types, with their Windows widths on a 64-bit Linux build.
// Every substitute layer under platform/ speaks in these, so that the runtime and the
// program can call the substitutes exactly as they would call Windows.
#pragma once

#include <cstddef>
#include <cstdint>

using BOOL = std::int32_t;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using INT = std::int32_t;
using LONG = std::int32_t;  // 32 bits on Windows, unlike Linux's long
using ULONG = std::uint32_t;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using LONGLONG = std::int64_t;
using ULONGLONG = std::uint64_t;
using INT_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using ULONG_PTR = std::uintptr_t;
using DWORD_PTR = std::uintptr_t;
using SIZE_T = std::size_t;

using CHAR = char;
using WCHAR = char16_t;  // UTF-16 code unit, as on Windows
using LPSTR = char*;
using LPCSTR = const char*;
using LPWSTR = WCHAR*;
using LPCWSTR = const WCHAR*;
using LPVOID = void*;
using LPCVOID = const void*;
using LPDWORD = DWORD*;

using HANDLE = void*;
using HMODULE = struct HMODULE__*;
using HINSTANCE = HMODULE;
using HWND = struct HWND__*;
using HGLOBAL = HANDLE;
using FARPROC = void (*)();

using WPARAM = UINT_PTR;
using LPARAM = LONG_PTR;
using LRESULT = LONG_PTR;

using HRESULT = std::int32_t;

inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;

// A resource or ordinal number passed where a name is expected: a pointer value below 0x10000.
inline LPCSTR MAKEINTRESOURCEA(WORD number) {
  return reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(number));
}
inline bool IS_INTRESOURCE(LPCSTR p) {
  return (reinterpret_cast<ULONG_PTR>(p) >> 16) == 0;
}

inline constexpr WORD LOWORD(DWORD_PTR v) { return static_cast<WORD>(v & 0xFFFF); }
inline constexpr WORD HIWORD(DWORD_PTR v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }

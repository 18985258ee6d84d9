// The program's declared DLL commands: entries 0 to 7 of WinInet, 8 and 9 of OLE, each with
// the byte size of its arguments. A call resolves its entry on first use.
#pragma once

#include <cstdint>

#include "runtime/dll_call.h"
#include "win/types.h"

namespace app {

using HINTERNET = void*;

namespace dll {
inline constexpr runtime::DllCommand<HINTERNET(LPCSTR, DWORD, LPCSTR, LPCSTR, DWORD)> InternetOpenA{0, 20};
inline constexpr runtime::DllCommand<HINTERNET(HINTERNET, LPCSTR, WORD, LPCSTR, LPCSTR, DWORD, DWORD, DWORD_PTR)>
    InternetConnectA{1, 32};
inline constexpr runtime::DllCommand<BOOL(HINTERNET)> InternetCloseHandle{2, 4};
inline constexpr runtime::DllCommand<HINTERNET(HINTERNET, LPCSTR, LPCSTR, LPCSTR, LPCSTR, LPCSTR*, DWORD, DWORD_PTR)>
    HttpOpenRequestA{3, 32};
inline constexpr runtime::DllCommand<BOOL(HINTERNET, LPCSTR, DWORD, LPVOID, DWORD)> HttpSendRequestA{4, 20};
inline constexpr runtime::DllCommand<BOOL(HINTERNET, LPVOID, DWORD, LPDWORD)> InternetReadFile{5, 16};
inline constexpr runtime::DllCommand<BOOL(HINTERNET, DWORD, LPVOID, LPDWORD, LPDWORD)> HttpQueryInfoA{6, 20};
inline constexpr runtime::DllCommand<BOOL(LPCSTR, LPCSTR, LPCSTR)> InternetSetCookieA{7, 12};
inline constexpr runtime::DllCommand<HRESULT(LPVOID)> CoInitialize{8, 4};
inline constexpr runtime::DllCommand<void()> CoUninitialize{9, 0};
}  // namespace dll

inline constexpr std::int32_t kDllCommandCount = 10;
extern const char* const kDllLibraryNames[kDllCommandCount];
extern const char* const kDllEntryNames[kDllCommandCount];

}  // namespace app

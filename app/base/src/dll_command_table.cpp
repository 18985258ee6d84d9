#include "app/base/dll_commands.h"

namespace app {

// The names as the program declares them (the letter case of the library files included).
const char* const kDllLibraryNames[kDllCommandCount] = {
    "wininet.dll", "wininet.dll", "wininet.dll", "WinINet.dll", "wininet.dll",
    "WinINet.dll", "wininet.dll", "wininet.dll", "ole32.dll",   "ole32.dll"};
const char* const kDllEntryNames[kDllCommandCount] = {
    "InternetOpenA",    "InternetConnectA", "InternetCloseHandle", "HttpOpenRequestA",   "HttpSendRequestA",
    "InternetReadFile", "HttpQueryInfoA",   "InternetSetCookieA",  "CoInitialize",       "CoUninitialize"};

}  // namespace app

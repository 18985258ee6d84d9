// "wininet.dll" among the built-in modules, each export with the argument bytes it would
// remove on 32-bit Windows (4 for every DWORD, pointer, handle, BOOL or INTERNET_PORT).
#include <mutex>

#include "kernel/modules.h"
#include "wininet/wininet.h"

void RegisterWininetModule() {
  static std::once_flag once;
  std::call_once(once, [] {
    const BuiltinExport exports[] = {
        {"HttpOpenRequestA", 0, 32, ExportAddress(&HttpOpenRequestA)},
        {"HttpQueryInfoA", 0, 20, ExportAddress(&HttpQueryInfoA)},
        {"HttpSendRequestA", 0, 20, ExportAddress(&HttpSendRequestA)},
        {"InternetCloseHandle", 0, 4, ExportAddress(&InternetCloseHandle)},
        {"InternetConnectA", 0, 32, ExportAddress(&InternetConnectA)},
        {"InternetCrackUrlA", 0, 16, ExportAddress(&InternetCrackUrlA)},
        {"InternetOpenA", 0, 20, ExportAddress(&InternetOpenA)},
        {"InternetReadFile", 0, 16, ExportAddress(&InternetReadFile)},
        {"InternetSetCookieA", 0, 12, ExportAddress(&InternetSetCookieA)},
        {"InternetSetOptionA", 0, 16, ExportAddress(&InternetSetOptionA)},
    };
    RegisterBuiltinModule("wininet.dll", exports);
  });
}

// "wininet.dll" among the built-in modules, each export with the argument bytes it would
// remove on 32-bit Windows (4 for every DWORD, pointer, handle, BOOL or INTERNET_PORT).
#include <mutex>

#include "kernel/modules.h"
#include "wininet/wininet.h"

namespace {

template <typename F>
FARPROC Address(F* function) {
  return reinterpret_cast<FARPROC>(function);
}

}  // namespace

void RegisterWininetModule() {
  static std::once_flag once;
  std::call_once(once, [] {
    const BuiltinExport exports[] = {
        {"HttpOpenRequestA", 0, 32, Address(&HttpOpenRequestA)},
        {"HttpQueryInfoA", 0, 20, Address(&HttpQueryInfoA)},
        {"HttpSendRequestA", 0, 20, Address(&HttpSendRequestA)},
        {"InternetCloseHandle", 0, 4, Address(&InternetCloseHandle)},
        {"InternetConnectA", 0, 32, Address(&InternetConnectA)},
        {"InternetCrackUrlA", 0, 16, Address(&InternetCrackUrlA)},
        {"InternetOpenA", 0, 20, Address(&InternetOpenA)},
        {"InternetReadFile", 0, 16, Address(&InternetReadFile)},
        {"InternetSetCookieA", 0, 12, Address(&InternetSetCookieA)},
        {"InternetSetOptionA", 0, 16, Address(&InternetSetOptionA)},
    };
    RegisterBuiltinModule("wininet.dll", exports);
  });
}

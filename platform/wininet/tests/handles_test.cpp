// The module's exports, and the handles: what closing one takes with it, and the arguments
// each opening call refuses.
#include <functional>

#include <gtest/gtest.h>

#include "kernel/modules.h"
#include "test_client.h"

namespace {

TEST(WininetModule, ExportsEveryFunctionWithItsArgumentBytes) {
  RegisterWininetModule();
  RegisterWininetModule();  // once is enough; again changes nothing
  HMODULE module = LoadLibraryA("WinINet.dll");
  ASSERT_NE(module, nullptr);
  struct Export {
    const char* name;
    FARPROC address;
    int bytes;
  } exports[] = {
      {"InternetOpenA", reinterpret_cast<FARPROC>(&InternetOpenA), 20},
      {"InternetConnectA", reinterpret_cast<FARPROC>(&InternetConnectA), 32},
      {"HttpOpenRequestA", reinterpret_cast<FARPROC>(&HttpOpenRequestA), 32},
      {"HttpSendRequestA", reinterpret_cast<FARPROC>(&HttpSendRequestA), 20},
      {"HttpQueryInfoA", reinterpret_cast<FARPROC>(&HttpQueryInfoA), 20},
      {"InternetReadFile", reinterpret_cast<FARPROC>(&InternetReadFile), 16},
      {"InternetSetCookieA", reinterpret_cast<FARPROC>(&InternetSetCookieA), 12},
      {"InternetSetOptionA", reinterpret_cast<FARPROC>(&InternetSetOptionA), 16},
      {"InternetCloseHandle", reinterpret_cast<FARPROC>(&InternetCloseHandle), 4},
      {"InternetCrackUrlA", reinterpret_cast<FARPROC>(&InternetCrackUrlA), 16},
  };
  for (const Export& e : exports) {
    FARPROC found = GetProcAddress(module, e.name);
    EXPECT_EQ(found, e.address) << e.name;
    EXPECT_EQ(GetExportArgumentBytes(module, found), e.bytes) << e.name;
  }
  FreeLibrary(module);
}

TEST(WininetHandles, ClosingAHandleClosesEverythingOpenedUnderIt) {
  HINTERNET internet = InternetOpenA("agent", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  HINTERNET connection = InternetConnectA(internet, "example.test", 80, "", "", INTERNET_SERVICE_HTTP, 0, 0);
  HINTERNET request = HttpOpenRequestA(connection, nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0);
  ASSERT_TRUE(internet && connection && request);
  EXPECT_TRUE(InternetCloseHandle(internet));
  for (HINTERNET h : {request, connection, internet}) {
    EXPECT_FALSE(InternetCloseHandle(h));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  }
  DWORD n = 7;
  char b[4];
  EXPECT_FALSE(InternetReadFile(request, b, sizeof b, &n));
  EXPECT_EQ(n, 0u);
}

TEST(WininetHandles, RejectsBadArgumentsWithTheirErrors) {
  HINTERNET internet = InternetOpenA("agent", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  HINTERNET connection = InternetConnectA(internet, "example.test", 80, "", "", INTERNET_SERVICE_HTTP, 0, 0);
  struct Case {
    const char* what;
    std::function<void*()> call;  // null means the call failed
    DWORD error;
  } cases[] = {
      {"open with an unknown access type", [] { return InternetOpenA("a", 2, nullptr, nullptr, 0); },
       ERROR_INVALID_PARAMETER},
      {"open a proxy without a name", [] { return InternetOpenA("a", INTERNET_OPEN_TYPE_PROXY, "", nullptr, 0); },
       ERROR_INVALID_PARAMETER},
      {"open asynchronously",
       [] { return InternetOpenA("a", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, INTERNET_FLAG_ASYNC); },
       ERROR_INVALID_PARAMETER},
      {"connect on a connection",
       [&] { return InternetConnectA(connection, "h", 80, "", "", INTERNET_SERVICE_HTTP, 0, 0); },
       ERROR_INTERNET_INCORRECT_HANDLE_TYPE},
      {"connect without a host", [&] { return InternetConnectA(internet, "", 80, "", "", INTERNET_SERVICE_HTTP, 0, 0); },
       ERROR_INVALID_PARAMETER},
      {"connect to FTP", [&] { return InternetConnectA(internet, "h", 21, "", "", INTERNET_SERVICE_FTP, 0, 0); },
       ERROR_INVALID_PARAMETER},
      {"request on the internet handle",
       [&] { return HttpOpenRequestA(internet, "GET", "/", nullptr, nullptr, nullptr, 0, 0); },
       ERROR_INTERNET_INCORRECT_HANDLE_TYPE},
      {"a verb that would break the request line",
       [&] { return HttpOpenRequestA(connection, "GET / HTTP/1.1\r\nX:", "/", nullptr, nullptr, nullptr, 0, 0); },
       ERROR_INVALID_PARAMETER},
      {"an unknown version", [&] { return HttpOpenRequestA(connection, "GET", "/", "HTTP/2", nullptr, nullptr, 0, 0); },
       ERROR_INVALID_PARAMETER},
      {"a referrer with a line break",
       [&] { return HttpOpenRequestA(connection, "GET", "/", nullptr, "a\r\nX: 1", nullptr, 0, 0); },
       ERROR_INVALID_PARAMETER},
      {"a closed handle", [] { return InternetConnectA(reinterpret_cast<HINTERNET>(8), "h", 80, "", "", 3, 0, 0); },
       ERROR_INVALID_HANDLE},
  };
  for (const Case& c : cases) {
    SetLastError(0);
    EXPECT_EQ(c.call(), nullptr) << c.what;
    EXPECT_EQ(GetLastError(), c.error) << c.what;
  }
  InternetCloseHandle(internet);
}

}  // namespace

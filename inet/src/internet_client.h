// The one process-wide object of the library: the WinInet entry points it calls, bound from
// the "wininet.dll" module as a Windows library's imports would be, and the internet handle
// that its first request opens and every later request reuses.
#pragma once

#include <string>

#include "kernel/modules.h"
#include "runtime/library.h"
#include "wininet/wininet.h"

namespace inet {

struct WininetEntries {
  decltype(&InternetOpenA) internetOpen = nullptr;
  decltype(&InternetConnectA) internetConnect = nullptr;
  decltype(&HttpOpenRequestA) httpOpenRequest = nullptr;
  decltype(&HttpSendRequestA) httpSendRequest = nullptr;
  decltype(&HttpQueryInfoA) httpQueryInfo = nullptr;
  decltype(&InternetReadFile) internetReadFile = nullptr;
  decltype(&InternetSetOptionA) internetSetOption = nullptr;
  decltype(&InternetCloseHandle) internetCloseHandle = nullptr;
  decltype(&InternetCrackUrlA) internetCrackUrl = nullptr;
  bool Complete() const;
};

struct InternetClient {
  runtime::RuntimeNotifyFunction notify = nullptr;
  HMODULE module = nullptr;
  WininetEntries wininet;
  HINTERNET internet = nullptr;  // opened by the first request that needs it
  // No command sets these; an empty proxy name means a direct open.
  std::string proxyName, proxyUserName, proxyPassword;
};

// Null before LibraryNotify code 1 and after code 6.
InternetClient* Client();
void CreateClient(runtime::RuntimeNotifyFunction notify);
void DestroyClient();  // closes the internet handle

}  // namespace inet

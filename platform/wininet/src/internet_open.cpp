// InternetOpenA, InternetConnectA, InternetCloseHandle: the handle tree.
#include "failure.h"
#include "handles.h"

using namespace wininet;

HINTERNET InternetOpenA(LPCSTR agent, DWORD accessType, LPCSTR proxy, LPCSTR proxyBypass, DWORD flags) {
  if (flags & INTERNET_FLAG_ASYNC) return FailHandle(ERROR_INVALID_PARAMETER);
  ProxySetting setting;
  setting.accessType = accessType;
  switch (accessType) {
    case INTERNET_OPEN_TYPE_PRECONFIG:
    case INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY:
    case INTERNET_OPEN_TYPE_DIRECT: break;
    case INTERNET_OPEN_TYPE_PROXY:
      if (!proxy || !*proxy) return FailHandle(ERROR_INVALID_PARAMETER);
      setting.proxyList = proxy;
      if (proxyBypass) setting.bypassList = proxyBypass;
      break;
    default: return FailHandle(ERROR_INVALID_PARAMETER);
  }
  auto session = std::make_shared<InternetObject>(HandleKind::Internet, nullptr);
  session->flags = flags;
  session->options.proxy = setting;
  session->options.userAgent = agent ? agent : "";
  auto lock = LockHandles();
  return AddHandle(std::move(session));
}

HINTERNET InternetConnectA(HINTERNET internet, LPCSTR serverName, INTERNET_PORT serverPort, LPCSTR userName,
                           LPCSTR password, DWORD service, DWORD flags, DWORD_PTR) {
  auto lock = LockHandles();
  DWORD error = 0;
  auto session = FindHandle(internet, HandleKind::Internet, &error);
  if (!session) return FailHandle(error);
  if (!serverName || !*serverName) return FailHandle(ERROR_INVALID_PARAMETER);
  if (service != INTERNET_SERVICE_HTTP) return FailHandle(ERROR_INVALID_PARAMETER);  // FTP and Gopher are not offered
  auto connection = std::make_shared<ConnectionObject>(HandleKind::Connection, session);
  connection->host = serverName;
  connection->port = serverPort;
  connection->flags = flags;
  if (userName && *userName) {
    connection->options.userName = userName;
    connection->options.password = password ? password : "";
  }
  return AddHandle(std::move(connection));
}

BOOL InternetCloseHandle(HINTERNET internet) {
  std::vector<std::shared_ptr<InternetObject>> closed;
  {
    auto lock = LockHandles();
    closed = RemoveHandle(internet);
  }
  if (closed.empty()) return Fail(ERROR_INVALID_HANDLE);
  return TRUE;  // the objects, and any exchange still running on them, end here
}

#include "request_trace.h"

#include <cstdio>
#include <map>
#include <string>

#include "codepage/codepage.h"
#include "kernel/modules.h"
#include "kernel/process.h"
#include "runtime/startup/start.h"
#include "wininet/wininet.h"

namespace cli {
namespace {

BeforeTraceLine before = nullptr;
struct Server {
  std::string host;
  INTERNET_PORT port;
};
std::map<HINTERNET, Server> connections;
std::map<HINTERNET, std::string> requests;     // request -> "GET http://host:port/path"

// The program's texts are GBK; the terminal reads UTF-8.
void Line(const std::string& gbk) {
  if (before) before();
  std::fprintf(stderr, "panlift-cli: %s\n", codepage::GbkToUtf8(gbk).c_str());
}

HINTERNET TracedConnect(HINTERNET internet, LPCSTR server, INTERNET_PORT port, LPCSTR user, LPCSTR password,
                        DWORD service, DWORD flags, DWORD_PTR context) {
  HINTERNET connection = InternetConnectA(internet, server, port, user, password, service, flags, context);
  if (connection) connections[connection] = {server ? server : "", port};
  return connection;
}

HINTERNET TracedOpenRequest(HINTERNET connection, LPCSTR verb, LPCSTR object, LPCSTR version, LPCSTR referrer,
                            LPCSTR* acceptTypes, DWORD flags, DWORD_PTR context) {
  HINTERNET request = HttpOpenRequestA(connection, verb, object, version, referrer, acceptTypes, flags, context);
  if (request) {
    const bool secure = flags & INTERNET_FLAG_SECURE;
    std::string where = secure ? "https://" : "http://";
    auto server = connections.find(connection);
    if (server != connections.end()) {
      where += server->second.host;
      const INTERNET_PORT port = server->second.port;
      const INTERNET_PORT usual = secure ? INTERNET_DEFAULT_HTTPS_PORT : INTERNET_DEFAULT_HTTP_PORT;
      if (port != INTERNET_INVALID_PORT_NUMBER && port != usual) where += ":" + std::to_string(port);
    }
    where += object && *object ? object : "/";
    requests[request] = std::string(verb && *verb ? verb : "GET") + " " + where;
  }
  return request;
}

BOOL TracedSend(HINTERNET request, LPCSTR headers, DWORD headersLength, LPVOID optional, DWORD optionalLength) {
  auto found = requests.find(request);
  const std::string what = found == requests.end() ? "request" : found->second;
  Line(what);
  BOOL sent = HttpSendRequestA(request, headers, headersLength, optional, optionalLength);
  const DWORD error = GetLastError();
  if (!sent) {
    Line("  failed (WinInet error " + std::to_string(error) + ")");
  } else {
    DWORD status = 0, length = sizeof status;
    if (HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &length, nullptr)) {
      Line("  status " + std::to_string(status));
    }
  }
  SetLastError(error);  // the program sees the send's own outcome
  return sent;
}

BOOL TracedClose(HINTERNET handle) {
  connections.erase(handle);
  requests.erase(handle);
  return InternetCloseHandle(handle);
}

}  // namespace

void InstallRequestTrace(BeforeTraceLine beforeLine) {
  before = beforeLine;
  // The system's modules first: start-up registers them only once, so the watched
  // entries below stay in place.
  runtime::RegisterSystemServices();
  const BuiltinExport exports[] = {
      {"InternetConnectA", 0, 32, ExportAddress(&TracedConnect)},
      {"HttpOpenRequestA", 0, 32, ExportAddress(&TracedOpenRequest)},
      {"HttpSendRequestA", 0, 20, ExportAddress(&TracedSend)},
      {"InternetCloseHandle", 0, 4, ExportAddress(&TracedClose)},
  };
  RegisterBuiltinModule("wininet.dll", exports);
}

}  // namespace cli

// Helpers for driving the WinInet calls against the local test server.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "kernel/process.h"
#include "wininet/wininet.h"

namespace wininet_test {

// Sets an environment variable for the life of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// The three handles of one request, closed in reverse order.
struct Handles {
  HINTERNET internet = nullptr, connection = nullptr, request = nullptr;
  Handles() = default;
  Handles(const Handles&) = delete;
  Handles& operator=(const Handles&) = delete;
  ~Handles() {
    if (request) InternetCloseHandle(request);
    if (connection) InternetCloseHandle(connection);
    if (internet) InternetCloseHandle(internet);
  }
};

struct Exchange {
  BOOL sent = FALSE;
  DWORD sendError = 0;
  std::string rawHeaders;  // HTTP_QUERY_RAW_HEADERS_CRLF
  std::string body;
  BOOL readOk = TRUE;      // FALSE when a read failed
  DWORD readError = 0;
};

struct RequestOptions {
  std::string verb = "GET";
  std::string path = "/";
  std::string version = "HTTP/1.1";
  std::string headers;
  std::string body;
  DWORD flags = INTERNET_FLAG_RELOAD;
  DWORD receiveTimeout = 0;  // 0: the default
  const char* agent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
};

inline RequestOptions Request(std::string verb, std::string path, DWORD flags = INTERNET_FLAG_RELOAD) {
  RequestOptions o;
  o.verb = std::move(verb);
  o.path = std::move(path);
  o.flags = flags;
  return o;
}

// Opens, connects, sends and reads the whole body in 2048-byte reads.
inline Exchange Fetch(const std::string& host, INTERNET_PORT port, const RequestOptions& o, Handles& h) {
  Exchange e;
  h.internet = InternetOpenA(o.agent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  h.connection = InternetConnectA(h.internet, host.c_str(), port, "", "", INTERNET_SERVICE_HTTP, 0, 0);
  h.request = HttpOpenRequestA(h.connection, o.verb.c_str(), o.path.c_str(), o.version.c_str(), nullptr, nullptr,
                               o.flags, 0);
  if (o.receiveTimeout) {
    DWORD t = o.receiveTimeout;
    InternetSetOptionA(h.request, INTERNET_OPTION_RECEIVE_TIMEOUT, &t, sizeof t);
  }
  std::string body = o.body;
  e.sent = HttpSendRequestA(h.request, o.headers.empty() ? nullptr : o.headers.c_str(),
                            static_cast<DWORD>(o.headers.size()), body.empty() ? nullptr : body.data(),
                            static_cast<DWORD>(body.size()));
  if (!e.sent) {
    e.sendError = GetLastError();
    return e;
  }
  char buffer[2048];
  for (;;) {
    DWORD n = 0;
    if (!InternetReadFile(h.request, buffer, sizeof buffer, &n)) {
      e.readOk = FALSE;
      e.readError = GetLastError();
      break;
    }
    if (n == 0) break;
    e.body.append(buffer, n);
  }
  char raw[8192];
  DWORD size = sizeof raw;
  if (HttpQueryInfoA(h.request, HTTP_QUERY_RAW_HEADERS_CRLF, raw, &size, nullptr)) e.rawHeaders.assign(raw, size);
  return e;
}

inline Exchange Fetch(const std::string& host, INTERNET_PORT port, const RequestOptions& o) {
  Handles h;
  return Fetch(host, port, o, h);
}

}  // namespace wininet_test

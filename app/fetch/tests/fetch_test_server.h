// The local test server with service hosts aimed at it, and the page fetch driven with
// the caller's variables as the resolvers hold them.
#pragma once

#include <cstdlib>
#include <string>

#include "app/fetch/fetch_page.h"
#include "app/testing/program_test.h"
#include "testsupport/http_server.h"

namespace app::testing {

// "host:80=127.0.0.1:PORT,..." for the life of the object: the hosts reach the server.
class AimedServer {
 public:
  explicit AimedServer(std::initializer_list<const char*> hosts) {
    std::string map;
    for (const char* host : hosts) map += (map.empty() ? "" : ",") + std::string(host) + ":80=" + server.HostPort();
    setenv("PANLIFT_CONNECT_TO", map.c_str(), 1);
  }
  ~AimedServer() { unsetenv("PANLIFT_CONNECT_TO"); }
  std::string LastRequest() const {
    auto requests = server.Requests();
    return requests.empty() ? "(none)" : requests.back().raw;
  }
  testsupport::HttpTestServer server;
};

struct Fetched {
  std::string body;             // HttpRequest's bytes
  std::string headers;          // the caller's header variable afterwards
  std::string responseHeaders;  // and the response-header variable
};

inline Fetched Request(const std::string& url, const char* method = nullptr, const char* proxy = nullptr,
                       const std::string& headers = "", const char* postData = nullptr) {
  runtime::Text headerVariable = NewText(headers);
  runtime::Text responseVariable = nullptr;
  Fetched f;
  f.body = TakeByteSet(HttpRequest(url.c_str(), method, proxy, &headerVariable, postData, &responseVariable));
  f.headers = TakeText(headerVariable);
  f.responseHeaders = TakeText(responseVariable);
  return f;
}

}  // namespace app::testing

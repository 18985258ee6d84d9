// Reading the body: it streams as it arrives, and a broken connection gives up the bytes
// received before the break and then fails.
#include <gtest/gtest.h>

#include "test_client.h"
#include "testsupport/http_server.h"

namespace {

using testsupport::GeneratedByte;
using testsupport::HttpResponse;
using testsupport::HttpTestServer;
using namespace wininet_test;

bool IsGenerated(const std::string& body) {
  for (std::size_t i = 0; i < body.size(); ++i) {
    if (body[i] != GeneratedByte(i)) return false;
  }
  return true;
}

TEST(BodyStreaming, ALargeBodyArrivesWholeInReadsOfAtMostTheSizeAsked) {
  HttpTestServer server;
  const std::size_t size = 5 * 1024 * 1024 + 7;
  server.Route("/big", HttpResponse::Generated(size));
  Handles h;
  h.internet = InternetOpenA("agent", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  h.connection = InternetConnectA(h.internet, "127.0.0.1", server.Port(), "", "", INTERNET_SERVICE_HTTP, 0, 0);
  h.request = HttpOpenRequestA(h.connection, "GET", "/big", nullptr, nullptr, nullptr, 0, 0);
  ASSERT_TRUE(HttpSendRequestA(h.request, nullptr, 0, nullptr, 0));
  std::string body;
  char buffer[3000];
  for (DWORD ask : {1u, 2048u, 3000u}) {  // a few odd sizes first, then the rest in 2048s
    DWORD n = 0;
    ASSERT_TRUE(InternetReadFile(h.request, buffer, ask, &n));
    EXPECT_GE(n, 1u);
    EXPECT_LE(n, ask);
    body.append(buffer, n);
  }
  for (DWORD n = 1; n != 0;) {
    ASSERT_TRUE(InternetReadFile(h.request, buffer, 2048, &n));
    ASSERT_LE(n, 2048u);
    body.append(buffer, n);
  }
  EXPECT_EQ(body.size(), size);
  EXPECT_TRUE(IsGenerated(body));
  DWORD n = 9;
  EXPECT_TRUE(InternetReadFile(h.request, buffer, 2048, &n));  // the end stays the end
  EXPECT_EQ(n, 0u);
}

TEST(BodyStreaming, BodiesInEveryFraming) {
  HttpTestServer server;
  const std::string text(10000, 'c');
  server.Route("/chunked", HttpResponse::Chunked(text, 333));
  HttpResponse untilClose = HttpResponse::Text(text);
  untilClose.framing = HttpResponse::Framing::UntilClose;
  server.Route("/close", untilClose);
  server.Route("/nine", HttpResponse::Raw("no status line at all"));
  server.Route("/drip", HttpResponse::Drip("abcdefghij", 3, std::chrono::milliseconds(20)));

  struct Case {
    const char* path;
    std::string body;
    const char* statusLine;
  } cases[] = {
      {"/chunked", text, "HTTP/1.1 200 OK\r\n"},
      {"/close", text, "HTTP/1.1 200 OK\r\n"},
      {"/nine", "no status line at all", "HTTP/1.0 200 OK\r\n"},
      {"/drip", "abcdefghij", "HTTP/1.1 200 OK\r\n"},
  };
  for (const Case& c : cases) {
    Exchange e = Fetch("127.0.0.1", server.Port(), Request("GET", c.path));
    ASSERT_TRUE(e.sent) << c.path << " " << e.sendError;
    EXPECT_TRUE(e.readOk) << c.path << " " << e.readError;
    EXPECT_EQ(e.body, c.body) << c.path;
    EXPECT_EQ(e.rawHeaders.rfind(c.statusLine, 0), 0u) << c.path << ": " << e.rawHeaders;
  }
}

TEST(BodyStreaming, ABrokenConnectionYieldsTheBytesBeforeTheBreak) {
  HttpTestServer server;
  std::string body;
  for (std::size_t i = 0; i < 100000; ++i) body += GeneratedByte(i);
  server.Route("/reset", HttpResponse::ResetMidBody(body, 30000));
  server.Route("/short", HttpResponse::Raw("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n" + body.substr(0, 40)));
  struct Case {
    const char* path;
    std::size_t bytes;
    DWORD error;
  } cases[] = {
      {"/reset", 30000, ERROR_INTERNET_CONNECTION_RESET},
      {"/short", 40, ERROR_INTERNET_CONNECTION_ABORTED},
  };
  for (const Case& c : cases) {
    Exchange e = Fetch("127.0.0.1", server.Port(), Request("GET", c.path));
    ASSERT_TRUE(e.sent) << c.path;
    EXPECT_FALSE(e.readOk) << c.path;
    EXPECT_EQ(e.readError, c.error) << c.path;
    EXPECT_EQ(e.body, body.substr(0, c.bytes)) << c.path;
  }
}

TEST(BodyStreaming, FailuresBeforeAnyResponse) {
  HttpTestServer server;
  server.Route("/hangup", HttpResponse::Raw(""));
  const INTERNET_PORT closedPort = [] {
    HttpTestServer gone;
    return gone.Port();
  }();
  struct Case {
    const char* what;
    std::string host;
    INTERNET_PORT port;
    const char* path;
    DWORD error;
  } cases[] = {
      {"the server hangs up", "127.0.0.1", server.Port(), "/hangup", ERROR_HTTP_INVALID_SERVER_RESPONSE},
      {"nobody listens", "127.0.0.1", closedPort, "/", ERROR_INTERNET_CANNOT_CONNECT},
      {"a host that cannot make a URL", "bad host", 80, "/", ERROR_INTERNET_INVALID_URL},
  };
  for (const Case& c : cases) {
    Handles h;
    Exchange e = Fetch(c.host, c.port, Request("GET", c.path), h);
    EXPECT_FALSE(e.sent) << c.what;
    EXPECT_EQ(e.sendError, c.error) << c.what;
    DWORD n = 3;
    char b[8];
    EXPECT_FALSE(InternetReadFile(h.request, b, sizeof b, &n)) << c.what;  // nothing to read after a failed send
    EXPECT_EQ(n, 0u);
  }
}

}  // namespace

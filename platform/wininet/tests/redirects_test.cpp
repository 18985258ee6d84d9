// Redirects are followed as WinInet follows them, and the header query sees the final response.
#include <gtest/gtest.h>

#include "test_client.h"
#include "testsupport/http_server.h"

namespace {

using testsupport::HttpResponse;
using testsupport::HttpTestServer;
using namespace wininet_test;

TEST(Redirects, TheFinalResponseIsWhatTheCallerSees) {
  HttpTestServer server;
  server.Route("/old", HttpResponse::Redirect(302, "/new?x=1").WithHeader("Set-Cookie", "hop=1"));
  server.Route("/new", HttpResponse::Text("final").WithHeader("X-Final", "yes"));
  Exchange e = Fetch("127.0.0.1", server.Port(), Request("GET", "/old"));
  ASSERT_TRUE(e.sent) << e.sendError;
  EXPECT_EQ(e.body, "final");
  EXPECT_EQ(e.rawHeaders.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << e.rawHeaders;
  EXPECT_NE(e.rawHeaders.find("X-Final: yes"), std::string::npos);
  EXPECT_EQ(e.rawHeaders.find("hop=1"), std::string::npos);
  auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1].target, "/new?x=1");
  EXPECT_EQ(requests[1].Header("Cookie"), "hop=1");  // the redirect's cookie is already stored
}

TEST(Redirects, VerbAndBodyPerStatus) {
  struct Case {
    int status;
    const char* verbAfter;
    const char* bodyAfter;
    bool contentTypeAfter;
  } cases[] = {
      {301, "GET", "", false},
      {302, "GET", "", false},
      {303, "GET", "", false},
      {307, "POST", "a=1", true},
  };
  for (const Case& c : cases) {
    HttpTestServer server;
    server.Route("/form", HttpResponse::Redirect(c.status, "/done"));
    server.Route("/done", HttpResponse::Text("ok"));
    RequestOptions o = Request("POST", "/form");
    o.headers = "Content-Type: application/x-www-form-urlencoded\r\n";
    o.body = "a=1";
    Exchange e = Fetch("127.0.0.1", server.Port(), o);
    ASSERT_TRUE(e.sent) << c.status;
    auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u) << c.status;
    EXPECT_EQ(requests[1].method, c.verbAfter) << c.status;
    EXPECT_EQ(requests[1].body, c.bodyAfter) << c.status;
    EXPECT_EQ(requests[1].HasHeader("Content-Type"), c.contentTypeAfter) << c.status;
    EXPECT_EQ(requests[1].HasHeader("Content-Length"), c.contentTypeAfter) << c.status;
  }
}

TEST(Redirects, ALoopEndsAfterTwentyHops) {
  HttpTestServer server;
  server.Route("/loop", HttpResponse::Redirect(302, "/loop"));
  Exchange e = Fetch("127.0.0.1", server.Port(), Request("GET", "/loop"));
  EXPECT_FALSE(e.sent);
  EXPECT_EQ(e.sendError, ERROR_HTTP_REDIRECT_FAILED);
  EXPECT_EQ(server.RequestCount(), 21u);  // the first request and twenty redirects
}

TEST(Redirects, NotFollowedWhenTheCallerSaysSoOrTheTargetIsNotHttp) {
  HttpTestServer server;
  server.Route("/old", HttpResponse::Redirect(301, "/new"));
  server.Route("/ftp", HttpResponse::Redirect(302, "ftp://files.example/x"));
  Exchange kept = Fetch("127.0.0.1", server.Port(),
                        Request("GET", "/old", INTERNET_FLAG_NO_AUTO_REDIRECT));
  EXPECT_TRUE(kept.sent);
  EXPECT_EQ(kept.rawHeaders.rfind("HTTP/1.1 301 Moved Permanently\r\n", 0), 0u);
  EXPECT_EQ(kept.body, "moved");
  Exchange ftp = Fetch("127.0.0.1", server.Port(), Request("GET", "/ftp"));
  EXPECT_TRUE(ftp.sent);
  EXPECT_EQ(ftp.rawHeaders.rfind("HTTP/1.1 302 Found\r\n", 0), 0u);
  EXPECT_EQ(server.RequestCount(), 2u);
}

TEST(Redirects, ToAnotherHostNamesThatHost) {
  HttpTestServer server;
  ScopedEnv aim("PANLIFT_CONNECT_TO", "a.example:80=" + server.HostPort() + ",b.example:80=" + server.HostPort());
  server.Route("/go", HttpResponse::Redirect(302, "http://b.example/there"));
  server.Route("/there", HttpResponse::Text("b"));
  Exchange e = Fetch("a.example", 80, Request("GET", "/go"));
  ASSERT_TRUE(e.sent) << e.sendError;
  EXPECT_EQ(e.body, "b");
  EXPECT_EQ(server.Requests().at(1).Header("Host"), "b.example");
}

}  // namespace

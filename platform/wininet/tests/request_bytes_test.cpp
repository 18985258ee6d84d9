// What reaches the wire: the exact bytes of requests made through the WinInet calls.
#include <gtest/gtest.h>

#include "test_client.h"
#include "testsupport/http_server.h"

namespace {

using testsupport::HttpResponse;
using testsupport::HttpTestServer;
using namespace wininet_test;

const char* const kAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
const char* const kAccept =
    "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
    "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*\r\n";

// A fixed service host aimed at the local server, as the demo and the end-to-end tests do.
class RequestBytes : public ::testing::Test {
 protected:
  RequestBytes() : aim_("PANLIFT_CONNECT_TO", "share.example:80=" + server_.HostPort()) {
    server_.Route("/s/abc", HttpResponse::Text("page"));
  }
  std::string OnlyRequest() {
    auto requests = server_.Requests();
    EXPECT_EQ(requests.size(), 1u);
    return requests.empty() ? "" : requests[0].raw;
  }
  HttpTestServer server_;
  ScopedEnv aim_;
};

TEST_F(RequestBytes, GetWithThePageFetchHeaders) {
  RequestOptions o;
  o.path = "/s/abc?x=1";
  o.headers = std::string(kAccept) + "Referer: http://share.example/s/abc?x=1\r\nAccept-Language: zh-cn\r\n";
  Exchange e = Fetch("share.example", 80, o);
  ASSERT_TRUE(e.sent) << e.sendError;
  EXPECT_EQ(e.body, "page");
  EXPECT_EQ(OnlyRequest(), std::string("GET /s/abc?x=1 HTTP/1.1\r\n"
                                       "Host: share.example\r\n"
                                       "User-Agent: ") + kAgent + "\r\n" + kAccept +
                               "Referer: http://share.example/s/abc?x=1\r\n"
                               "Accept-Language: zh-cn\r\n"
                               "\r\n");
}

TEST_F(RequestBytes, PostWithAFormBody) {
  RequestOptions o;
  o.verb = "POST";
  o.path = "/s/abc";
  o.headers = "Accept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded\r\nContent-Length: 17\r\n";
  o.body = "shorturl=ab&nid=1";
  Exchange e = Fetch("share.example", 80, o);
  ASSERT_TRUE(e.sent) << e.sendError;
  EXPECT_EQ(OnlyRequest(), std::string("POST /s/abc HTTP/1.1\r\n"
                                       "Host: share.example\r\n"
                                       "User-Agent: ") + kAgent + "\r\n"
                               "Accept-Language: zh-cn\r\n"
                               "Content-Type: application/x-www-form-urlencoded\r\n"
                               "Content-Length: 17\r\n"
                               "\r\n"
                               "shorturl=ab&nid=1");
}

TEST_F(RequestBytes, WhatWinInetAddsByItself) {
  struct Case {
    const char* what;
    RequestOptions options;
    std::string expected;
  };
  RequestOptions plain;
  plain.agent = nullptr;
  RequestOptions bodylessPost;
  bodylessPost.verb = "post";  // handed on exactly as written
  bodylessPost.agent = nullptr;
  RequestOptions http10;
  http10.version = "HTTP/1.0";
  http10.agent = "agent";
  http10.path = "/a b#c";
  RequestOptions flagged = Request("POST", "/f", INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_CACHE_WRITE |
                                                   INTERNET_FLAG_KEEP_CONNECTION);
  flagged.agent = nullptr;
  RequestOptions cachedGet = Request("GET", "/g", INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE);
  cachedGet.agent = nullptr;
  Case cases[] = {
      {"a plain GET carries no Accept", plain, "GET / HTTP/1.1\r\nHost: share.example\r\n\r\n"},
      {"a bodiless POST declares an empty body", bodylessPost,
       "post / HTTP/1.1\r\nHost: share.example\r\nContent-Length: 0\r\n\r\n"},
      {"the version and an escaped object", http10,
       "GET /a%20b%23c HTTP/1.0\r\nHost: share.example\r\nUser-Agent: agent\r\n\r\n"},
      {"headers the flags ask for", flagged,
       "POST /f HTTP/1.1\r\nHost: share.example\r\nPragma: no-cache\r\nCache-Control: no-cache\r\n"
       "Connection: Keep-Alive\r\nContent-Length: 0\r\n\r\n"},
      {"no cache header on a GET", cachedGet, "GET /g HTTP/1.1\r\nHost: share.example\r\n\r\n"},
  };
  for (const Case& c : cases) {
    Handles h;
    Exchange e = Fetch("share.example", 80, c.options, h);
    EXPECT_TRUE(e.sent) << c.what;
    auto requests = server_.Requests();
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.back().raw, c.expected) << c.what;
  }
}

TEST_F(RequestBytes, AcceptTypesAndTheCallersAcceptMakeOneHeader) {
  Handles h;
  h.internet = InternetOpenA(kAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  h.connection = InternetConnectA(h.internet, "share.example", 80, "", "", INTERNET_SERVICE_HTTP, 0, 0);
  LPCSTR accept[] = {"Accept: */* \r\n", nullptr};
  h.request = HttpOpenRequestA(h.connection, "GET", "/s/abc", "HTTP/1.0", nullptr, accept, 0x84000000, 0);
  ASSERT_TRUE(HttpSendRequestA(h.request, "Accept: */*\r\n\r\n", 15, nullptr, 0));
  EXPECT_EQ(OnlyRequest(), std::string("GET /s/abc HTTP/1.0\r\nHost: share.example\r\nUser-Agent: ") + kAgent +
                               "\r\nAccept: */*\r\n\r\n");
}

}  // namespace

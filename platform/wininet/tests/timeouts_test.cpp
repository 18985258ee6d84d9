// A silent server cannot hang a caller: the timeouts set on a handle, or on a handle above
// it, end the wait. Each server here closes after a few seconds, so a timeout that did not
// work would show as another error, not as a slow pass.
#include <gtest/gtest.h>

#include "request_plan.h"
#include "test_client.h"
#include "testsupport/http_server.h"

namespace {

using testsupport::HttpResponse;
using testsupport::HttpServerOptions;
using testsupport::HttpTestServer;
using namespace wininet_test;
using namespace std::chrono_literals;

HttpServerOptions ShortLived() {
  HttpServerOptions o;
  o.lifetime = 5s;
  return o;
}

void SetTimeout(HINTERNET h, DWORD option, DWORD milliseconds) {
  ASSERT_TRUE(InternetSetOptionA(h, option, &milliseconds, sizeof milliseconds)) << GetLastError();
}

TEST(Timeouts, SilenceBeforeTheHeadersEndsTheSend) {
  HttpTestServer server(ShortLived());
  server.Route("/silent", HttpResponse::Silence());
  for (HINTERNET Handles::*level : {&Handles::internet, &Handles::connection, &Handles::request}) {
    Handles h;
    h.internet = InternetOpenA("agent", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    h.connection = InternetConnectA(h.internet, "127.0.0.1", server.Port(), "", "", INTERNET_SERVICE_HTTP, 0, 0);
    h.request = HttpOpenRequestA(h.connection, "GET", "/silent", nullptr, nullptr, nullptr, 0, 0);
    SetTimeout(h.*level, INTERNET_OPTION_RECEIVE_TIMEOUT, 200);
    EXPECT_FALSE(HttpSendRequestA(h.request, nullptr, 0, nullptr, 0));
    EXPECT_EQ(GetLastError(), ERROR_INTERNET_TIMEOUT);
  }
}

TEST(Timeouts, SilenceInTheMiddleOfTheBodyEndsTheRead) {
  HttpTestServer server(ShortLived());
  server.Route("/stall", HttpResponse::Drip("first|second", 6, 4s));
  Handles h;
  h.internet = InternetOpenA("agent", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  h.connection = InternetConnectA(h.internet, "127.0.0.1", server.Port(), "", "", INTERNET_SERVICE_HTTP, 0, 0);
  SetTimeout(h.connection, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, 200);
  h.request = HttpOpenRequestA(h.connection, "GET", "/stall", nullptr, nullptr, nullptr, 0, 0);
  ASSERT_TRUE(HttpSendRequestA(h.request, nullptr, 0, nullptr, 0));
  char buffer[64];
  DWORD n = 0;
  ASSERT_TRUE(InternetReadFile(h.request, buffer, sizeof buffer, &n));
  EXPECT_EQ(std::string(buffer, n), "first|");
  EXPECT_FALSE(InternetReadFile(h.request, buffer, sizeof buffer, &n));
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_TIMEOUT);
  EXPECT_EQ(n, 0u);
}

TEST(Timeouts, ADripWithinTheTimeoutIsReadToTheEnd) {
  HttpTestServer server(ShortLived());
  server.Route("/drip", HttpResponse::Drip("0123456789", 2, 30ms));
  RequestOptions o = Request("GET", "/drip");
  o.receiveTimeout = 2000;
  Exchange e = Fetch("127.0.0.1", server.Port(), o);
  EXPECT_TRUE(e.readOk) << e.readError;
  EXPECT_EQ(e.body, "0123456789");
}

TEST(Timeouts, TheProcessDefaultAppliesBelowEveryHandle) {
  HttpTestServer server(ShortLived());
  server.Route("/silent", HttpResponse::Silence());
  SetTimeout(nullptr, INTERNET_OPTION_RECEIVE_TIMEOUT, 200);
  Exchange e = Fetch("127.0.0.1", server.Port(), Request("GET", "/silent"));
  SetTimeout(nullptr, INTERNET_OPTION_RECEIVE_TIMEOUT, 60000);
  EXPECT_FALSE(e.sent);
  EXPECT_EQ(e.sendError, ERROR_INTERNET_TIMEOUT);
}

// 0 and 0xFFFFFFFF would ask for no limit; they leave the default, so that no wait is
// endless (libcurl would also read a connect timeout of 0 as its own five minutes).
TEST(Timeouts, NoLimitIsNeverTaken) {
  Handles h;
  h.internet = InternetOpenA("agent", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  h.connection = InternetConnectA(h.internet, "example.test", 80, "", "", INTERNET_SERVICE_HTTP, 0, 0);
  h.request = HttpOpenRequestA(h.connection, "POST", "/", nullptr, nullptr, nullptr, 0, 0);
  SetTimeout(h.internet, INTERNET_OPTION_RECEIVE_TIMEOUT, 300);
  SetTimeout(h.request, INTERNET_OPTION_RECEIVE_TIMEOUT, 0);  // the nearer handle's word counts
  SetTimeout(h.connection, INTERNET_OPTION_CONNECT_TIMEOUT, 0xFFFFFFFF);
  SetTimeout(h.connection, INTERNET_OPTION_SEND_TIMEOUT, 400);
  SetTimeout(h.request, INTERNET_OPTION_DATA_SEND_TIMEOUT, 0);
  SetTimeout(h.request, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, 0xFFFFFFFF);

  wininet::RequestPlan plan;
  {
    auto lock = wininet::LockHandles();
    DWORD error = 0;
    auto request = wininet::FindHandle(h.request, wininet::HandleKind::Request, &error);
    ASSERT_TRUE(request);
    ASSERT_EQ(wininet::PlanRequest(static_cast<const wininet::RequestObject&>(*request), {}, "", false, &plan), 0u);
  }
  const wininet::TransferTimeouts& t = plan.spec.timeouts;
  EXPECT_EQ(t.connect, wininet::kDefaultTimeout);
  EXPECT_EQ(t.send, 400u);  // the data-send timeout left unset, the send timeout applies
  EXPECT_EQ(t.receive, wininet::kDefaultTimeout);
  EXPECT_EQ(t.bodyReceive, wininet::kDefaultTimeout);
}

TEST(Options, RefusedWithTheirErrors) {
  HINTERNET internet = InternetOpenA("agent", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  DWORD value = 5;
  INTERNET_PROXY_INFO proxy{INTERNET_OPEN_TYPE_PROXY, "", nullptr};
  struct Case {
    const char* what;
    HINTERNET handle;
    DWORD option;
    void* buffer;
    DWORD length;
    DWORD error;
  } cases[] = {
      {"an unknown option", internet, 9999, &value, sizeof value, ERROR_INTERNET_INVALID_OPTION},
      {"a timeout of the wrong size", internet, INTERNET_OPTION_CONNECT_TIMEOUT, &value, 2,
       ERROR_INTERNET_BAD_OPTION_LENGTH},
      {"an unknown handle", reinterpret_cast<HINTERNET>(4), INTERNET_OPTION_CONNECT_TIMEOUT, &value, sizeof value,
       ERROR_INVALID_HANDLE},
      {"a proxy for the null handle", nullptr, INTERNET_OPTION_PROXY, &proxy, sizeof proxy,
       ERROR_INTERNET_INCORRECT_HANDLE_TYPE},
      {"a named proxy without a name", internet, INTERNET_OPTION_PROXY, &proxy, sizeof proxy, ERROR_INVALID_PARAMETER},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(InternetSetOptionA(c.handle, c.option, c.buffer, c.length)) << c.what;
    EXPECT_EQ(GetLastError(), c.error) << c.what;
  }
  InternetCloseHandle(internet);
}

}  // namespace

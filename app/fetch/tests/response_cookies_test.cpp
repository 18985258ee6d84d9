// The cookies of a response, stored by the page fetch for "http://" + host, reach the next
// requests of the process. A response on /dir/ makes the difference visible: WinInet's own
// storing keeps such a cookie to /dir/, the fetch's stores it for the whole host.
#include <gtest/gtest.h>

#include <string>

#include "fetch_test_server.h"

namespace app {
namespace {

using testing::AimedServer;
using testing::Request;
using testsupport::HttpResponse;

std::string CookieSent(AimedServer& aimed, const std::string& url) {
  Request(url);
  auto requests = aimed.server.Requests();
  return requests.empty() ? "(none)" : requests.back().Header("Cookie");
}

TEST(ResponseCookies, ReachTheNextRequestToTheHost) {
  AimedServer aimed{"cookies.example", "other.example"};
  aimed.server.Route("/dir/login", HttpResponse::Text("ok")
                                       .WithHeader("Set-Cookie", "sid=42")
                                       .WithHeader("set-cookie", "lang=zh; path=/"));
  EXPECT_EQ(CookieSent(aimed, "http://cookies.example/dir/login"), "");
  const std::string sent = CookieSent(aimed, "http://cookies.example/next");
  EXPECT_NE(sent.find("sid=42"), std::string::npos) << sent;
  EXPECT_NE(sent.find("lang=zh"), std::string::npos) << sent;
  EXPECT_EQ(CookieSent(aimed, "http://other.example/next"), "");
}

// Without "=" the cookie call gets no name and the whole line as data: the store takes the
// word as the name, and sends it back bare.
TEST(ResponseCookies, ACookieWithoutEqualsSignIsStoredByItsWord) {
  AimedServer aimed{"bare.example"};
  aimed.server.Route("/dir/set", HttpResponse::Text("ok").WithHeader("Set-Cookie", "flag"));
  Request("http://bare.example/dir/set");
  EXPECT_EQ(CookieSent(aimed, "http://bare.example/next"), "flag");
}

TEST(ResponseCookies, AHeaderBlockOverItsBufferStoresNone) {
  AimedServer aimed{"long.example"};
  aimed.server.Route("/dir/long", HttpResponse::LongHeaders("ok", 1100).WithHeader("Set-Cookie", "big=1"));
  testing::Fetched f = Request("http://long.example/dir/long");
  EXPECT_EQ(f.body, "ok");
  EXPECT_EQ(f.responseHeaders, std::string(1024, ' '));
  EXPECT_EQ(CookieSent(aimed, "http://long.example/next"), "");
}

// A 0x1A byte ends a line read without being passed; the cookie lines on both sides of it
// are stored all the same, and the fetch returns.
TEST(ResponseCookies, AControlByteInTheHeadersEndsNoLoop) {
  AimedServer aimed{"odd.example"};
  aimed.server.Route("/dir/odd", HttpResponse::Raw("HTTP/1.1 200 OK\r\n"
                                                   "Set-Cookie: before=1\r\n"
                                                   "X-Odd: a\x1A" "b\r\n"
                                                   "\x1ASet-Cookie: after=2\r\n"
                                                   "Content-Length: 2\r\n"
                                                   "\r\n"
                                                   "ok"));
  testing::Fetched f = Request("http://odd.example/dir/odd");
  EXPECT_EQ(f.body, "ok");
  EXPECT_NE(f.responseHeaders.find("\x1A"), std::string::npos);  // the byte reached the block
  const std::string sent = CookieSent(aimed, "http://odd.example/next");
  EXPECT_NE(sent.find("before=1"), std::string::npos) << sent;
  EXPECT_NE(sent.find("after=2"), std::string::npos) << sent;
}

}  // namespace
}  // namespace app

// The process's cookie store: how InternetSetCookieA reads its arguments, and which later
// requests carry what responses and callers stored.
#include <algorithm>

#include <gtest/gtest.h>

#include "cookies.h"
#include "test_client.h"
#include "testsupport/http_server.h"

namespace {

using testsupport::HttpResponse;
using testsupport::HttpTestServer;
using namespace wininet_test;

TEST(CookieArguments, ReadAsWinInetReadsThem) {
  struct Case {
    const char* name;
    const char* data;
    const char* expectName;
    const char* expectValue;
    const char* path;
    const char* domain;
    bool hostOnly;
    bool secure;
    bool httpOnly;
  } cases[] = {
      {"lang", "zh; path=/", "lang", "zh", "/", "www.share.example", true, false, false},
      {"lang", "zh", "lang", "zh", "/a/", "www.share.example", true, false, false},
      {nullptr, "sid=x=y; Secure; HttpOnly", "sid", "x=y", "/a/", "www.share.example", true, true, true},
      {nullptr, "bare", "bare", "", "/a/", "www.share.example", true, false, false},
      {"d", "1; domain=.Share.Example; path=/s; max-age=5; version=1", "d", "1", "/s", "share.example", false, false,
       false},
      {"d", "1; domain=www.share.example", "d", "1", "/a/", "www.share.example", false, false, false},
  };
  for (const Case& c : cases) {
    DWORD error = 0;
    auto cookie = wininet::ParseCookie("WWW.share.example", "/a/page.html", c.name, c.data, &error);
    ASSERT_TRUE(cookie) << c.data;
    EXPECT_EQ(cookie->name, c.expectName) << c.data;
    EXPECT_EQ(cookie->value, c.expectValue) << c.data;
    EXPECT_EQ(cookie->path, c.path) << c.data;
    EXPECT_EQ(cookie->domain, c.domain) << c.data;
    EXPECT_EQ(cookie->hostOnly, c.hostOnly) << c.data;
    EXPECT_EQ(cookie->secure, c.secure) << c.data;
    EXPECT_EQ(cookie->httpOnly, c.httpOnly) << c.data;
    EXPECT_EQ(cookie->expires, 0) << c.data;
  }
}

TEST(CookieArguments, ExpiryAndRefusals) {
  DWORD error = 0;
  auto dated = wininet::ParseCookie("h.example", "/", "a", "1; expires=Wed, 09 Jun 2021 10:18:14 GMT", &error);
  ASSERT_TRUE(dated);
  EXPECT_EQ(dated->expires, 1623233894);
  auto unreadable = wininet::ParseCookie("h.example", "/", "a", "1; expires=someday", &error);
  ASSERT_TRUE(unreadable);
  EXPECT_EQ(unreadable->expires, 0);  // kept for the session

  const char* refused[][2] = {
      {"a", "1; domain=other.example"},  // does not cover the host
      {"a", "1; domain=example"},         // nor does a bare suffix of it
      {"a", "tab\tinside"},
      {"", "1"},
      {nullptr, "=1"},
  };
  for (auto& r : refused) {
    EXPECT_FALSE(wininet::ParseCookie("h.example", "/", r[0], r[1], &error)) << r[1];
    EXPECT_EQ(error, ERROR_INVALID_PARAMETER);
  }
}

TEST(CookieArguments, SetCookieRefusesWhatItCannotStore) {
  struct Case {
    const char* url;
    const char* name;
    const char* data;
    DWORD error;
  } cases[] = {
      {nullptr, "a", "1", ERROR_INVALID_PARAMETER},
      {"http://h.example", "a", nullptr, ERROR_INVALID_PARAMETER},
      {"h.example/x", "a", "1", ERROR_INTERNET_UNRECOGNIZED_SCHEME},
      {"ftp://h.example/x", "a", "1", ERROR_INTERNET_UNRECOGNIZED_SCHEME},
      {"http://h.example", "a", "1; HttpOnly", ERROR_INVALID_OPERATION},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(InternetSetCookieA(c.url, c.name, c.data)) << (c.url ? c.url : "null");
    EXPECT_EQ(GetLastError(), c.error);
  }
}

// Two service hosts aimed at one local server.
class CookieStore : public ::testing::Test {
 protected:
  CookieStore()
      : aim_("PANLIFT_CONNECT_TO", "one.example:80=" + server_.HostPort() + ",two.example:80=" +
                                       server_.HostPort() + ",www.one.example:80=" + server_.HostPort()) {}
  std::string CookieSentTo(const std::string& host, const std::string& path = "/", DWORD flags = INTERNET_FLAG_RELOAD) {
    Fetch(host, 80, Request("GET", path, flags));
    auto requests = server_.Requests();
    return requests.empty() ? "(none)" : Sorted(requests.back().Header("Cookie"));
  }
  // The order of cookies in the header is the store's business: compare them sorted.
  static std::string Sorted(const std::string& header) {
    std::vector<std::string> cookies;
    for (std::size_t pos = 0; pos < header.size();) {
      std::size_t end = header.find("; ", pos);
      cookies.push_back(header.substr(pos, end - pos));
      pos = end == std::string::npos ? header.size() : end + 2;
    }
    std::sort(cookies.begin(), cookies.end());
    std::string joined;
    for (const std::string& c : cookies) joined += (joined.empty() ? "" : "; ") + c;
    return joined;
  }
  HttpTestServer server_;
  ScopedEnv aim_;
};

TEST_F(CookieStore, AResponsesCookiesReachLaterRequestsToThatHostOnly) {
  server_.Route("/login", HttpResponse::Text("ok").WithHeader("Set-Cookie", "sid=42; path=/")
                              .WithHeader("Set-Cookie", "lang=zh"));
  EXPECT_EQ(CookieSentTo("one.example", "/login"), "");
  EXPECT_EQ(CookieSentTo("one.example", "/next"), "lang=zh; sid=42");
  EXPECT_EQ(CookieSentTo("two.example", "/next"), "");
  EXPECT_EQ(CookieSentTo("www.one.example", "/next"), "");  // a host cookie stays with its host
  EXPECT_EQ(CookieSentTo("one.example", "/next", INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_COOKIES), "");
}

TEST_F(CookieStore, CookiesSetByTheCallerAsThePageFetchStoresThem) {
  ASSERT_TRUE(InternetSetCookieA("http://one.example", "BDUSS", "abc; path=/; expires=Fri, 01 Jan 2100 00:00:00 GMT"));
  ASSERT_TRUE(InternetSetCookieA("http://one.example/dir/page", "deep", "1"));
  ASSERT_TRUE(InternetSetCookieA("http://www.one.example", "wide", "2; domain=one.example"));
  EXPECT_EQ(CookieSentTo("one.example", "/"), "BDUSS=abc; wide=2");
  EXPECT_EQ(CookieSentTo("one.example", "/dir/x"), "BDUSS=abc; deep=1; wide=2");
  EXPECT_EQ(CookieSentTo("www.one.example", "/"), "wide=2");
  EXPECT_EQ(CookieSentTo("two.example", "/"), "");
  // A date in the past takes the cookie away.
  ASSERT_TRUE(InternetSetCookieA("http://one.example", "BDUSS", "x; expires=Thu, 01 Jan 1970 00:00:10 GMT"));
  EXPECT_EQ(CookieSentTo("one.example", "/"), "wide=2");
}

// The store's Cookie header replaces one the caller gives; when the store has nothing for
// the request, or cookies are refused, the caller's goes out. Never two Cookie lines.
TEST_F(CookieStore, OneCookieHeaderWhenTheCallerGivesOne) {
  ScopedEnv aim("PANLIFT_CONNECT_TO", "three.example:80=" + server_.HostPort() + ",four.example:80=" +
                                          server_.HostPort());
  ASSERT_TRUE(InternetSetCookieA("http://three.example/own/", "stored", "1; path=/own"));
  ASSERT_TRUE(InternetSetCookieA("http://four.example/", "tls", "1; secure"));
  struct Case {
    const char* host;
    const char* path;
    DWORD flags;
    const char* sent;
  } cases[] = {
      {"three.example", "/own/page", INTERNET_FLAG_RELOAD, "stored=1"},
      {"three.example", "/own", INTERNET_FLAG_RELOAD, "stored=1"},
      {"three.example", "/owner", INTERNET_FLAG_RELOAD, "mine=2"},
      {"four.example", "/", INTERNET_FLAG_RELOAD, "mine=2"},  // a secure cookie stays off plain http
      {"three.example", "/own/page", INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_COOKIES, "mine=2"},
  };
  for (const Case& c : cases) {
    RequestOptions o = Request("GET", c.path, c.flags);
    o.headers = "Cookie: mine=2\r\nX-After: 1\r\n";
    ASSERT_TRUE(Fetch(c.host, 80, o).sent) << c.host << c.path;
    const auto request = server_.Requests().back();
    EXPECT_EQ(request.HeaderCount("Cookie"), 1) << c.host << c.path;
    EXPECT_EQ(request.Header("Cookie"), c.sent) << c.host << c.path;
    EXPECT_EQ(request.Header("X-After"), "1") << c.host << c.path;
  }
}

// A cookie set without "=" goes back as its bare name, in the store's order among the
// others; set again with "=" it is an ordinary cookie once more.
TEST_F(CookieStore, ACookieSetWithoutEqualsSignGoesBackBare) {
  ScopedEnv aim("PANLIFT_CONNECT_TO", "five.example:80=" + server_.HostPort() + ",six.example:80=" +
                                          server_.HostPort());
  ASSERT_TRUE(InternetSetCookieA("http://five.example/", "a", "1"));
  ASSERT_TRUE(InternetSetCookieA("http://five.example/", nullptr, "flag"));
  server_.Route("/set", HttpResponse::Text("ok").WithHeader("Set-Cookie", "b=2").WithHeader("Set-Cookie", "flag; path=/"));
  CookieSentTo("six.example", "/set");
  const struct {
    const char* host;
    const char* reset;  // data for InternetSetCookieA before the request, or null
    const char* sent;
  } cases[] = {
      {"five.example", nullptr, "a=1; flag"},
      {"six.example", nullptr, "b=2; flag"},
      {"six.example", "flag=", "b=2; flag="},
      {"six.example", "flag", "b=2; flag"},
  };
  for (const auto& c : cases) {
    if (c.reset) {
      ASSERT_TRUE(InternetSetCookieA((std::string("http://") + c.host + "/").c_str(), nullptr, c.reset));
    }
    ASSERT_TRUE(Fetch(c.host, 80, Request("GET", "/")).sent) << c.host;
    const auto request = server_.Requests().back();
    EXPECT_EQ(request.HeaderCount("Cookie"), 1) << c.host;
    EXPECT_NE(request.raw.find(std::string("\r\nCookie: ") + c.sent + "\r\n"), std::string::npos) << request.raw;
  }
}

// libcurl answers an authentication challenge on the same handle: the second request still
// carries the store's one Cookie header, and both responses' cookies are stored for the next.
TEST_F(CookieStore, AnAuthenticationRetryCarriesOneCookieHeader) {
  ScopedEnv aim("PANLIFT_CONNECT_TO", "seven.example:80=" + server_.HostPort());
  ASSERT_TRUE(InternetSetCookieA("http://seven.example/", "first", "1"));
  server_.Route("/auth", [](const testsupport::HttpRequestRecord& r) {
    if (r.HasHeader("Authorization")) return HttpResponse::Text("ok").WithHeader("Set-Cookie", "after=1");
    return HttpResponse::Status(401, "Unauthorized")
        .WithHeader("WWW-Authenticate", "Basic realm=\"r\"")
        .WithHeader("Set-Cookie", "challenge=1");
  });
  Handles h;
  h.internet = InternetOpenA("t", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  char user[] = "user";
  ASSERT_TRUE(InternetSetOptionA(h.internet, INTERNET_OPTION_USERNAME, user, sizeof user - 1));
  h.connection = InternetConnectA(h.internet, "seven.example", 80, "", "", INTERNET_SERVICE_HTTP, 0, 0);
  h.request = HttpOpenRequestA(h.connection, "GET", "/auth", nullptr, nullptr, nullptr, INTERNET_FLAG_RELOAD, 0);
  ASSERT_TRUE(HttpSendRequestA(h.request, nullptr, 0, nullptr, 0));
  char buffer[256];
  DWORD n = 0;
  while (InternetReadFile(h.request, buffer, sizeof buffer, &n) && n != 0) {
  }
  const auto requests = server_.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_TRUE(requests[1].HasHeader("Authorization"));
  EXPECT_EQ(requests[1].HeaderCount("Cookie"), 1);
  EXPECT_EQ(requests[1].Header("Cookie"), "first=1");
  EXPECT_EQ(CookieSentTo("seven.example", "/"), "after=1; challenge=1; first=1");
}

TEST_F(CookieStore, ResponseCookiesAreNotStoredWhenTheRequestRefusesCookies) {
  server_.Route("/set", HttpResponse::Text("ok").WithHeader("Set-Cookie", "quiet=1"));
  CookieSentTo("two.example", "/set", INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_COOKIES);
  EXPECT_EQ(CookieSentTo("two.example", "/"), "");
}

}  // namespace

// Splitting URLs, escaping objects and resolving redirect targets.
#include <gtest/gtest.h>

#include "request_plan.h"
#include "test_client.h"

namespace {

struct Parts {
  std::string scheme, host, user, password, path, extra;
  INTERNET_SCHEME number;
  INTERNET_PORT port;
};

// Cracks with every part pointed at inside the URL.
bool Crack(const char* url, Parts* p, bool wantExtra = true) {
  URL_COMPONENTSA c{};
  c.dwStructSize = sizeof c;
  c.dwSchemeLength = c.dwHostNameLength = c.dwUserNameLength = c.dwPasswordLength = c.dwUrlPathLength = 1;
  c.dwExtraInfoLength = wantExtra ? 1 : 0;
  if (!InternetCrackUrlA(url, 0, 0, &c)) return false;
  auto text = [](LPSTR s, DWORD n) { return s ? std::string(s, n) : std::string("(none)"); };
  *p = {text(c.lpszScheme, c.dwSchemeLength), text(c.lpszHostName, c.dwHostNameLength),
        text(c.lpszUserName, c.dwUserNameLength), text(c.lpszPassword, c.dwPasswordLength),
        text(c.lpszUrlPath, c.dwUrlPathLength), wantExtra ? text(c.lpszExtraInfo, c.dwExtraInfoLength) : "",
        c.nScheme, c.nPort};
  return true;
}

TEST(CrackUrl, SplitsEveryPartUnchanged) {
  struct Case {
    const char* url;
    Parts expected;
  } cases[] = {
      {"http://pan.baidu.com/s/1abc?pwd=x#frag",
       {"http", "pan.baidu.com", "(none)", "(none)", "/s/1abc", "?pwd=x#frag", INTERNET_SCHEME_HTTP, 80}},
      {"HTTPS://u:p@Host.Example:8443/a%20b",
       {"HTTPS", "Host.Example", "u", "p", "/a%20b", "", INTERNET_SCHEME_HTTPS, 8443}},
      {"https://host", {"https", "host", "(none)", "(none)", "", "", INTERNET_SCHEME_HTTPS, 443}},
      {"http://[::1]:81/x", {"http", "::1", "(none)", "(none)", "/x", "", INTERNET_SCHEME_HTTP, 81}},
      {"http://host:/x", {"http", "host", "(none)", "(none)", "/x", "", INTERNET_SCHEME_HTTP, 80}},
      {"ftp://user@files/x", {"ftp", "files", "user", "(none)", "/x", "", INTERNET_SCHEME_FTP, 21}},
      {"foo://h/p", {"foo", "h", "(none)", "(none)", "/p", "", INTERNET_SCHEME_UNKNOWN, 0}},
  };
  for (const Case& c : cases) {
    Parts p;
    ASSERT_TRUE(Crack(c.url, &p)) << c.url;
    const Parts& e = c.expected;
    EXPECT_EQ(p.scheme, e.scheme) << c.url;
    EXPECT_EQ(p.host, e.host) << c.url;
    EXPECT_EQ(p.user, e.user) << c.url;
    EXPECT_EQ(p.password, e.password) << c.url;
    EXPECT_EQ(p.path, e.path) << c.url;
    EXPECT_EQ(p.extra, e.extra) << c.url;
    EXPECT_EQ(p.number, e.number) << c.url;
    EXPECT_EQ(p.port, e.port) << c.url;
  }
  Parts p;
  ASSERT_TRUE(Crack("http://h/p?q#f", &p, false));
  EXPECT_EQ(p.path, "/p?q#f");  // without the extra part the path carries it
}

TEST(CrackUrl, RefusesWhatIsNotAUrl) {
  struct Case {
    const char* url;
    DWORD error;
  } cases[] = {
      {"pan.baidu.com/s/1", ERROR_INTERNET_UNRECOGNIZED_SCHEME},
      {"", ERROR_INTERNET_UNRECOGNIZED_SCHEME},
      {"http://host:99999/", ERROR_INTERNET_INVALID_URL},
      {"http://host:8o/", ERROR_INTERNET_INVALID_URL},
      {"http:///path", ERROR_INTERNET_INVALID_URL},
      {"http://[::1/", ERROR_INTERNET_INVALID_URL},
  };
  for (const Case& c : cases) {
    Parts p;
    EXPECT_FALSE(Crack(c.url, &p)) << c.url;
    EXPECT_EQ(GetLastError(), c.error) << c.url;
  }
}

TEST(CrackUrl, CopiesIntoBuffersOrSaysHowMuchIsNeeded) {
  char host[5];
  URL_COMPONENTSA c{};
  c.dwStructSize = sizeof c;
  c.lpszHostName = host;
  c.dwHostNameLength = sizeof host;
  EXPECT_FALSE(InternetCrackUrlA("http://hosts/x", 0, 0, &c));
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(c.dwHostNameLength, 6u);
  c.dwHostNameLength = sizeof host;
  ASSERT_TRUE(InternetCrackUrlA("http://host/x", 0, 0, &c));
  EXPECT_STREQ(host, "host");
  EXPECT_EQ(c.dwHostNameLength, 4u);
  // A length limits the URL; the wrong structure size is refused.
  c.dwHostNameLength = sizeof host;
  ASSERT_TRUE(InternetCrackUrlA("http://h/x-and-more", 8, 0, &c));
  EXPECT_STREQ(host, "h");
  c.dwStructSize = 4;
  EXPECT_FALSE(InternetCrackUrlA("http://h/", 0, 0, &c));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(RequestObject, EscapedForTheRequestLine) {
  const std::pair<std::string, std::string> cases[] = {
      {"/s/1abc?x=1&y=%20", "/s/1abc?x=1&y=%20"},
      {"/a b\tc", "/a%20b%09c"},
      {"/x\r\nInjected: 1", "/x%0D%0AInjected:%201"},
      {"/\xC4\xE3#frag", "/%C4%E3%23frag"},
      {"relative", "/relative"},
  };
  for (const auto& [object, escaped] : cases) EXPECT_EQ(wininet::EscapeObject(object), escaped) << object;
}

TEST(RedirectTarget, ResolvedAgainstTheRequestUrl) {
  const char* base = "http://a.example/dir/page?q=1";
  const std::pair<const char*, const char*> cases[] = {
      {"/root", "http://a.example/root"},
      {"next", "http://a.example/dir/next"},
      {"?p=2", "http://a.example/dir/page?p=2"},
      {"https://b.example:8443/x", "https://b.example:8443/x"},
      {"//c.example/y", "http://c.example/y"},
  };
  for (const auto& [location, target] : cases) {
    EXPECT_EQ(wininet::RedirectTarget(base, location).value_or("(none)"), target) << location;
  }
  EXPECT_FALSE(wininet::RedirectTarget(base, "ftp://files.example/x"));
  EXPECT_FALSE(wininet::RedirectTarget(base, "javascript:alert(1)"));
}

}  // namespace

#include <gtest/gtest.h>

#include "app/fetch/url_parts.h"
#include "app/testing/program_test.h"

namespace app {
namespace {

using testing::TakeText;

TEST(UrlParts, HostPathAndPort) {
  struct Case {
    const char* url;
    const char* host;
    const char* hostAndPort;
    const char* path;
    std::int32_t port;
  } cases[] = {
      {"http://MyHost:8080/s/abc", "myhost", "myhost:8080", "/s/abc", 8080},
      {"http://pan.example", "pan.example", "pan.example", "/", 80},
      {"http://pan.example/s/1?x=a/b#f", "pan.example", "pan.example", "/s/1?x=a/b#f", 80},
      {"MyHost/x", "myhost", "myhost", "/x", 80},  // no scheme: host and path directly
      {"http://pan.example:/x", "pan.example", "pan.example:", "/x", 0},  // an empty port
      {"http://pan.example:ab/x", "pan.example", "pan.example:ab", "/x", 0},
      {"https://secure.example/x", "https", "https:", "//secure.example/x", 0},  // only http:// is known
      {"HTTP://h/x", "http", "http:", "//h/x", 0},
      {"http://a/b/http://c", "a", "a", "/b/http://c", 80},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TakeText(UrlHost(c.url, false)), c.host) << c.url;
    EXPECT_EQ(TakeText(UrlHost(c.url, true)), c.hostAndPort) << c.url;
    EXPECT_EQ(TakeText(UrlPath(c.url)), c.path) << c.url;
    EXPECT_EQ(UrlPort(c.url), c.port) << c.url;
  }
}

}  // namespace
}  // namespace app

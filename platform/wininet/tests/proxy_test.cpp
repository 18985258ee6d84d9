// Which proxy a request goes through, and what the proxy receives.
#include <gtest/gtest.h>

#include "proxy.h"
#include "test_client.h"
#include "testsupport/http_server.h"

namespace {

using testsupport::HttpResponse;
using testsupport::HttpTestServer;
using wininet::ProxyEnvironment;
using wininet::ProxySetting;
using namespace wininet_test;

TEST(ProxyRoute, PerAccessTypeAndScheme) {
  ProxyEnvironment env{"http://env-proxy:3128", "", "", "intra.example"};
  ProxyEnvironment secureEnv{"", "sec-proxy:8443", "all-proxy:1080", ""};
  struct Case {
    ProxySetting setting;
    bool https;
    const char* host;
    const ProxyEnvironment* environment;
    const char* proxy;
    const char* noProxy;
  } cases[] = {
      {{INTERNET_OPEN_TYPE_DIRECT, "", ""}, false, "a.example", &env, "", ""},
      {{INTERNET_OPEN_TYPE_PROXY, "http=p.example:8080", ""}, false, "a.example", &env, "http://p.example:8080", ""},
      {{INTERNET_OPEN_TYPE_PROXY, "http=p.example:8080", ""}, true, "a.example", &env, "", ""},
      {{INTERNET_OPEN_TYPE_PROXY, "ftp=f:1 https=s.example:9;p.example", ""}, true, "a.example", &env,
       "http://s.example:9", ""},
      {{INTERNET_OPEN_TYPE_PROXY, "http://p.example", ""}, false, "a.example", &env, "http://p.example:80", ""},
      {{INTERNET_OPEN_TYPE_PROXY, "p.example:1", "<local> *.intra.example"}, false, "intranet", &env, "", ""},
      {{INTERNET_OPEN_TYPE_PROXY, "p.example:1", "<local> *.intra.example"}, false, "X.Intra.Example", &env, "", ""},
      {{INTERNET_OPEN_TYPE_PROXY, "p.example:1", "<local> *.intra.example"}, false, "a.example", &env,
       "http://p.example:1", ""},
      {{INTERNET_OPEN_TYPE_PRECONFIG, "", ""}, false, "a.example", &env, "http://env-proxy:3128", "intra.example"},
      {{INTERNET_OPEN_TYPE_PRECONFIG, "", ""}, true, "a.example", &env, "", ""},
      {{INTERNET_OPEN_TYPE_PRECONFIG, "", ""}, true, "a.example", &secureEnv, "sec-proxy:8443", ""},
      {{INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY, "", ""}, false, "a.example", &secureEnv, "all-proxy:1080", ""},
  };
  for (const auto& c : cases) {
    auto route = wininet::RouteFor(c.setting, c.https, c.host, *c.environment);
    EXPECT_EQ(route.proxy, c.proxy) << c.setting.proxyList << " " << c.host;
    EXPECT_EQ(route.noProxy, c.noProxy) << c.setting.proxyList << " " << c.host;
  }
}

// The test server plays the proxy: it sees the absolute URL in the request line.
class ThroughProxy : public ::testing::Test {
 protected:
  ThroughProxy() { proxy_.Route("http://target.example/page", HttpResponse::Text("via proxy")); }
  std::string Send(HINTERNET internet) {
    Handles h;
    h.internet = internet;
    h.connection = InternetConnectA(h.internet, "target.example", 80, "", "", INTERNET_SERVICE_HTTP, 0, 0);
    h.request = HttpOpenRequestA(h.connection, "GET", "/page", nullptr, nullptr, nullptr, 0, 0);
    if (!HttpSendRequestA(h.request, nullptr, 0, nullptr, 0)) return "send failed";
    char buffer[64];
    DWORD n = 0;
    InternetReadFile(h.request, buffer, sizeof buffer, &n);
    return std::string(buffer, n);
  }
  HttpTestServer proxy_;
};

TEST_F(ThroughProxy, ANamedProxyWhateverTheEnvironmentSays) {
  ScopedEnv bypass("no_proxy", "target.example");  // only the bypass list given with the name counts
  std::string name = "http=" + proxy_.HostPort();
  EXPECT_EQ(Send(InternetOpenA("agent", INTERNET_OPEN_TYPE_PROXY, name.c_str(), nullptr, 0)), "via proxy");
  auto request = proxy_.Requests().at(0);
  EXPECT_EQ(request.target, "http://target.example/page");
  EXPECT_EQ(request.Header("Host"), "target.example");
}

TEST_F(ThroughProxy, ThePreconfiguredProxyAlsoWhenSetLater) {
  ScopedEnv proxy("http_proxy", "http://" + proxy_.HostPort());
  EXPECT_EQ(Send(InternetOpenA("agent", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0)), "via proxy");

  HINTERNET internet = InternetOpenA("agent", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  INTERNET_PROXY_INFO info{INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr};
  ASSERT_TRUE(InternetSetOptionA(internet, INTERNET_OPTION_PROXY, &info, sizeof info));
  EXPECT_EQ(Send(internet), "via proxy");
  EXPECT_EQ(proxy_.RequestCount(), 2u);
}

// A host aimed at a local server by the test hook is reached directly: no proxy could.
TEST_F(ThroughProxy, DirectIgnoresTheEnvironmentAndAnAimedHostSkipsTheProxy) {
  HttpTestServer target;
  target.Route("/page", HttpResponse::Text("direct"));
  ScopedEnv proxy("http_proxy", "http://" + proxy_.HostPort());
  ScopedEnv aim("PANLIFT_CONNECT_TO", "target.example:80=" + target.HostPort());
  EXPECT_EQ(Send(InternetOpenA("agent", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0)), "direct");
  EXPECT_EQ(Send(InternetOpenA("agent", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0)), "direct");
  std::string name = "http=" + proxy_.HostPort();
  EXPECT_EQ(Send(InternetOpenA("agent", INTERNET_OPEN_TYPE_PROXY, name.c_str(), nullptr, 0)), "direct");
  EXPECT_EQ(proxy_.RequestCount(), 0u);
  EXPECT_EQ(target.RequestCount(), 3u);
}

}  // namespace

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMetaObject>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "fetch_test_server.h"
#include "inet/internet_library.h"

namespace app {
namespace {

using testing::AimedServer;
using testing::Fetched;
using testing::Gbk;
using testing::Request;
using testsupport::HttpResponse;

const std::string kAgent = "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)\r\n";
const std::string kAccept =
    "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
    "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*\r\n";
const std::string kUrl = "http://share.example/s/abc?x=1";
const std::string kDefaults = kAccept + "Referer: " + kUrl + "\r\nAccept-Language: zh-cn\r\n";

class HttpRequestTest : public ::testing::Test {
 protected:
  HttpRequestTest() { aimed_.server.Route("/s/abc", HttpResponse::Text("page")); }
  AimedServer aimed_{"share.example"};
};

TEST_F(HttpRequestTest, TheBytesThatReachTheServer) {
  const std::string head = " /s/abc?x=1 HTTP/1.1\r\nHost: share.example\r\n" + kAgent;
  const std::string form = "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: 3\r\n";
  const std::string fullWidthSpaces = Gbk("　 　");
  struct Case {
    const char* what;
    const char* method;
    const char* proxy;
    std::string headers;
    const char* postData;
    std::string sent;  // the header block the caller's variable holds afterwards
    std::string wire;
  } cases[] = {
      {"GET with nothing else", nullptr, nullptr, "", nullptr, kDefaults, "GET" + head + kDefaults + "\r\n"},
      {"GET by name", "get", nullptr, "", nullptr, kDefaults, "get" + head + kDefaults + "\r\n"},
      {"POST with a body", "POST", nullptr, "", "a=1", kDefaults + form,
       "POST" + head + kDefaults + form + "\r\na=1"},
      {"post in lower case, handed on as written", "post", nullptr, "", "a=1", kDefaults + form,
       "post" + head + kDefaults + form + "\r\na=1"},
      {"POST without a body", "POST", nullptr, "", "", kDefaults,
       "POST" + head + kDefaults + "Content-Length: 0\r\n\r\n"},
      // "X-Accept: " holds "Accept: ", so the default Accept line stays out.
      {"the caller's lines", "POST", nullptr, "accept-language: en\r\nX-Accept: 1\r\ncontent-type: text/plain\r\n",
       "a=1",
       "accept-language: en\r\nX-Accept: 1\r\ncontent-type: text/plain\r\nReferer: " + kUrl +
           "\r\nContent-Length: 3\r\n",
       "POST" + head + "accept-language: en\r\nX-Accept: 1\r\ncontent-type: text/plain\r\nReferer: " + kUrl +
           "\r\nContent-Length: 3\r\n\r\na=1"},
      {"a proxy of spaces is a direct connection", nullptr, fullWidthSpaces.c_str(), "", nullptr, kDefaults,
       "GET" + head + kDefaults + "\r\n"},
  };
  for (const Case& c : cases) {
    Fetched f = Request(kUrl, c.method, c.proxy, c.headers, c.postData);
    EXPECT_EQ(f.body, "page") << c.what;
    EXPECT_EQ(f.headers, c.sent) << c.what;
    EXPECT_EQ(aimed_.LastRequest(), c.wire) << c.what;
  }
}

TEST_F(HttpRequestTest, ANamedProxyGetsTheRequest) {
  testsupport::HttpTestServer proxy;
  proxy.Route("http://proxied.example/p", HttpResponse::Text("through the proxy"));
  const std::string address = proxy.HostPort();
  EXPECT_EQ(Request("http://proxied.example/p", nullptr, address.c_str()).body, "through the proxy");
  ASSERT_EQ(proxy.RequestCount(), 1u);
  EXPECT_EQ(proxy.Requests()[0].target, "http://proxied.example/p");
}

TEST_F(HttpRequestTest, TheFailureResultWhenNoRequestIsSent) {
  const std::string failure(255, '\0');
  struct Case {
    const char* what;
    std::string url;
    const char* method;
  } cases[] = {
      {"a method other than GET and POST", kUrl, "HEAD"},
      {"PUT", kUrl, "PUT"},
      {"no host to connect to", "http:///s/abc", nullptr},
  };
  for (const Case& c : cases) {
    runtime::Text responseHeaders = nullptr;
    EXPECT_EQ(testing::TakeByteSet(HttpRequest(c.url.c_str(), c.method, nullptr, nullptr, nullptr, &responseHeaders)),
              failure)
        << c.what;
    EXPECT_EQ(responseHeaders, nullptr) << c.what;
    EXPECT_EQ(testing::TakeText(FetchPage(c.url.c_str(), c.method)), "") << c.what;
  }
  EXPECT_EQ(aimed_.server.RequestCount(), 0u);
}

TEST_F(HttpRequestTest, AHostThatRefusesGivesNoBody) {
  std::uint16_t closedPort = 0;
  {
    testsupport::HttpTestServer gone;
    closedPort = gone.Port();
  }
  const std::string url = "http://127.0.0.1:" + std::to_string(closedPort) + "/x";
  Fetched f = Request(url);
  EXPECT_EQ(f.body, "");
  EXPECT_EQ(f.responseHeaders, std::string(1024, ' '));  // the header query found nothing either
  EXPECT_EQ(testing::TakeText(FetchPage(url.c_str())), "");
}

TEST_F(HttpRequestTest, TheBodyAsItCameAndThePageUpToItsFirstZeroByte) {
  const std::string body("ab\0cd\xD6\xD0", 7);
  aimed_.server.Route("/zero", HttpResponse::Text(body));
  aimed_.server.Route("/empty", HttpResponse::Text(""));
  aimed_.server.Route("/big", HttpResponse::Generated(5000));
  EXPECT_EQ(Request("http://share.example/zero").body, body);
  EXPECT_EQ(testing::TakeText(FetchPage("http://share.example/zero")), "ab");
  EXPECT_EQ(HttpRequest("http://share.example/empty"), nullptr);
  const std::string big = Request("http://share.example/big").body;
  ASSERT_EQ(big.size(), 5000u);
  EXPECT_EQ(big[4999], testsupport::GeneratedByte(4999));

  Fetched f = Request("http://share.example/zero");
  EXPECT_EQ(f.responseHeaders.substr(0, 17), "HTTP/1.1 200 OK\r\n");
  EXPECT_EQ(f.responseHeaders.substr(f.responseHeaders.size() - 4), "\r\n\r\n");
}

TEST_F(HttpRequestTest, AnEndlessBodyStopsAtTheInternetLibrarysLimit) {
  aimed_.server.Route("/endless", HttpResponse::Generated(std::uint64_t{inet::MaxBodyBytes} + 100000));
  void* body = HttpRequest("http://share.example/endless");
  ASSERT_EQ(runtime::ByteSetLength(body), inet::MaxBodyBytes);
  EXPECT_EQ(runtime::ByteSetBytes(body)[inet::MaxBodyBytes - 1],
            static_cast<unsigned char>(testsupport::GeneratedByte(inet::MaxBodyBytes - 1)));
  testing::TakeByteSet(body);
}

// The window's events run while a slow body comes in: an event posted from another thread
// during the body is handled before the fetch returns.
TEST_F(HttpRequestTest, WaitingEventsAreHandledWhileTheBodyComesIn) {
  aimed_.server.Route("/slow", HttpResponse::Drip(std::string(40, 'x'), 4, std::chrono::milliseconds(60)));
  std::atomic<bool> fetching{true};
  bool handledWhileFetching = false;
  std::thread poster([&] {
    while (aimed_.server.RequestCount() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [&] { handledWhileFetching = fetching.load(); }, Qt::QueuedConnection);
  });
  const std::string body = Request("http://share.example/slow").body;
  fetching = false;
  poster.join();
  EXPECT_EQ(body, std::string(40, 'x'));
  EXPECT_TRUE(handledWhileFetching);
  QCoreApplication::processEvents();
}

}  // namespace
}  // namespace app

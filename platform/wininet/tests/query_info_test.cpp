// The header query: what it reports of the final response, and its buffer rules.
#include <gtest/gtest.h>

#include "test_client.h"
#include "testsupport/http_server.h"

namespace {

using testsupport::HttpResponse;
using testsupport::HttpTestServer;
using namespace wininet_test;

class HeaderQuery : public ::testing::Test {
 protected:
  void Send(const HttpResponse& response) {
    server_.Route("/q", response);
    h_.internet = InternetOpenA("agent", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    h_.connection = InternetConnectA(h_.internet, "127.0.0.1", server_.Port(), "", "", INTERNET_SERVICE_HTTP, 0, 0);
    h_.request = HttpOpenRequestA(h_.connection, "GET", "/q", nullptr, nullptr, nullptr, 0, 0);
    ASSERT_TRUE(HttpSendRequestA(h_.request, nullptr, 0, nullptr, 0)) << GetLastError();
  }
  HttpTestServer server_;
  Handles h_;
};

TEST_F(HeaderQuery, RawHeadersAreTheStatusLineAndHeadersInCrLfLines) {
  Send(HttpResponse::Status(404, "Not Found", "gone").WithHeader("Set-Cookie", "a=1").WithHeader("X-Odd", "  v  "));
  char buffer[1024];
  DWORD size = sizeof buffer;
  ASSERT_TRUE(HttpQueryInfoA(h_.request, HTTP_QUERY_RAW_HEADERS_CRLF, buffer, &size, nullptr));
  const std::string expected = "HTTP/1.1 404 Not Found\r\nSet-Cookie: a=1\r\nX-Odd: v\r\nContent-Length: 4\r\n\r\n";
  EXPECT_EQ(std::string(buffer, size), expected);
  EXPECT_EQ(buffer[size], '\0');

  size = sizeof buffer;
  ASSERT_TRUE(HttpQueryInfoA(h_.request, HTTP_QUERY_RAW_HEADERS, buffer, &size, nullptr));
  EXPECT_EQ(std::string(buffer, size + 1),
            std::string("HTTP/1.1 404 Not Found\0Set-Cookie: a=1\0X-Odd: v\0Content-Length: 4\0\0", 67));
}

TEST_F(HeaderQuery, TooSmallABufferTellsTheSizeNeededWithItsNul) {
  Send(HttpResponse::Text("12345"));
  const std::string raw = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 5\r\n\r\n";
  struct Case {
    DWORD size;
    bool withBuffer;
    BOOL ok;
    DWORD sizeAfter;
  } cases[] = {
      {0, false, FALSE, static_cast<DWORD>(raw.size() + 1)},
      {static_cast<DWORD>(raw.size()), true, FALSE, static_cast<DWORD>(raw.size() + 1)},
      {static_cast<DWORD>(raw.size() + 1), true, TRUE, static_cast<DWORD>(raw.size())},
  };
  for (const Case& c : cases) {
    std::string buffer(raw.size() + 8, '#');
    DWORD size = c.size;
    SetLastError(0);
    EXPECT_EQ(HttpQueryInfoA(h_.request, HTTP_QUERY_RAW_HEADERS_CRLF, c.withBuffer ? buffer.data() : nullptr, &size,
                             nullptr),
              c.ok)
        << c.size;
    EXPECT_EQ(size, c.sizeAfter) << c.size;
    if (c.ok) {
      EXPECT_EQ(buffer.substr(0, size), raw);
    } else {
      EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    }
  }
}

// A fixed 1024-byte buffer, as the page fetch passes, does not hold a longer header block:
// the query fails and tells the size that would.
TEST_F(HeaderQuery, AHeaderBlockOverOneKilobyteNeedsALargerBuffer) {
  Send(HttpResponse::LongHeaders("body", 1100));
  std::string buffer(1024, ' ');
  DWORD size = 1024;
  EXPECT_FALSE(HttpQueryInfoA(h_.request, HTTP_QUERY_RAW_HEADERS_CRLF, buffer.data(), &size, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  ASSERT_GT(size, 1100u);
  EXPECT_EQ(buffer, std::string(1024, ' '));  // left as it was

  const DWORD needed = size;
  buffer.assign(needed, ' ');
  ASSERT_TRUE(HttpQueryInfoA(h_.request, HTTP_QUERY_RAW_HEADERS_CRLF, buffer.data(), &size, nullptr));
  EXPECT_EQ(size, needed - 1);
  EXPECT_EQ(buffer.find("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nX-Filler-1: "), 0u);
  const std::string end = "\r\nContent-Length: 4\r\n\r\n";
  EXPECT_EQ(buffer.substr(size - end.size(), end.size()), end);
  EXPECT_EQ(buffer[size], '\0');

  char body[16];
  DWORD n = 0;
  ASSERT_TRUE(InternetReadFile(h_.request, body, sizeof body, &n));
  EXPECT_EQ(std::string(body, n), "body");
}

TEST_F(HeaderQuery, NumbersTextsAndMissingHeaders) {
  Send(HttpResponse::Text("12345").WithHeader("Set-Cookie", "a=1").WithHeader("Set-Cookie", "b=2"));
  DWORD number = 0, size = sizeof number;
  ASSERT_TRUE(HttpQueryInfoA(h_.request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &number, &size, nullptr));
  EXPECT_EQ(number, 200u);
  ASSERT_TRUE(HttpQueryInfoA(h_.request, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &number, &size, nullptr));
  EXPECT_EQ(number, 5u);
  char small[2];
  size = sizeof small;
  EXPECT_FALSE(HttpQueryInfoA(h_.request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, small, &size, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(size, 4u);

  char text[32];
  size = sizeof text;
  ASSERT_TRUE(HttpQueryInfoA(h_.request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr));
  EXPECT_EQ(std::string(text, size), "5");
  size = sizeof text;
  ASSERT_TRUE(HttpQueryInfoA(h_.request, HTTP_QUERY_STATUS_TEXT, text, &size, nullptr));
  EXPECT_EQ(std::string(text, size), "OK");

  // Repeated headers one after the other through the index.
  DWORD index = 0;
  std::vector<std::string> cookies;
  for (;;) {
    size = sizeof text;
    if (!HttpQueryInfoA(h_.request, HTTP_QUERY_SET_COOKIE, text, &size, &index)) break;
    cookies.emplace_back(text, size);
  }
  EXPECT_EQ(GetLastError(), ERROR_HTTP_HEADER_NOT_FOUND);
  EXPECT_EQ(cookies, (std::vector<std::string>{"a=1", "b=2"}));

  size = sizeof text;
  EXPECT_FALSE(HttpQueryInfoA(h_.request, HTTP_QUERY_LOCATION, text, &size, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_HTTP_HEADER_NOT_FOUND);
}

TEST(HeaderQueryState, NothingToReportBeforeASend) {
  Handles h;
  h.internet = InternetOpenA("agent", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  h.connection = InternetConnectA(h.internet, "example.test", 80, "", "", INTERNET_SERVICE_HTTP, 0, 0);
  h.request = HttpOpenRequestA(h.connection, "GET", "/", nullptr, nullptr, nullptr, 0, 0);
  char text[32];
  DWORD size = sizeof text;
  EXPECT_FALSE(HttpQueryInfoA(h.request, HTTP_QUERY_RAW_HEADERS_CRLF, text, &size, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_INTERNET_INCORRECT_HANDLE_STATE);
  DWORD n = 5;
  EXPECT_FALSE(InternetReadFile(h.request, text, sizeof text, &n));
  EXPECT_EQ(n, 0u);
}

}  // namespace

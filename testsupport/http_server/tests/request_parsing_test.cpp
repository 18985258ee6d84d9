#include <gtest/gtest.h>

#include "request_reader.h"
#include "response_writer.h"

namespace testsupport {
namespace {

TEST(RequestHead, SplitsRequestLineAndHeaders) {
  HttpRequestRecord r;
  ASSERT_TRUE(ParseRequestHead("POST /a/b?x=1 HTTP/1.0\r\nHost: h:1\r\nX-Empty:\r\nCookie:  a=b \r\n", r));
  EXPECT_EQ(r.method, "POST");
  EXPECT_EQ(r.target, "/a/b?x=1");
  EXPECT_EQ(r.Path(), "/a/b");
  EXPECT_EQ(r.version, "HTTP/1.0");
  ASSERT_EQ(r.headers.size(), 3u);
  EXPECT_EQ(r.Header("host"), "h:1");
  EXPECT_TRUE(r.HasHeader("x-empty"));
  EXPECT_EQ(r.Header("COOKIE"), "a=b");
  EXPECT_EQ(r.HeaderCount("Missing"), 0);
}

TEST(RequestHead, RejectsWhatIsNotHttp) {
  for (const char* head : {"GARBAGE", "GET / FTP/1.0", "GET / HTTP/1.1\r\nno colon here"}) {
    HttpRequestRecord r;
    EXPECT_FALSE(ParseRequestHead(head, r)) << head;
  }
}

TEST(ChunkedRequestBody, DecodesCompleteBodiesOnly) {
  struct Case {
    const char* bytes;
    bool complete;
    const char* body;
    std::size_t consumed;
  } cases[] = {
      {"3\r\nabc\r\n0\r\n\r\n", true, "abc", 13},
      {"3\r\nabc\r\n2;ext=1\r\nde\r\n0\r\nTrailer: x\r\n\r\nNEXT", true, "abcde", 38},
      {"0\r\n\r\n", true, "", 5},
      {"3\r\nab", false, "", 0},
      {"3\r\nabc\r\n0\r\n", false, "", 0},
      {"zz\r\n", false, "", 0},
  };
  for (const Case& c : cases) {
    auto decoded = DecodeChunked(c.bytes);
    ASSERT_EQ(decoded.has_value(), c.complete) << c.bytes;
    if (!decoded) continue;
    EXPECT_EQ(decoded->body, c.body);
    EXPECT_EQ(decoded->consumed, c.consumed) << c.bytes;
  }
}

TEST(ResponseHeadText, AddsFramingHeadersUnlessGiven) {
  EXPECT_EQ(ResponseHead(HttpResponse::Text("hello", "text/plain")),
            "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: 5\r\n\r\n");
  EXPECT_EQ(ResponseHead(HttpResponse::Generated(7).WithHeader("Content-Length", "99")),
            "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nContent-Length: 99\r\n\r\n");
  EXPECT_EQ(ResponseHead(HttpResponse::Chunked("x", 1)),
            "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nTransfer-Encoding: chunked\r\n\r\n");
  HttpResponse untilClose = HttpResponse::Status(404, "Not Found");
  untilClose.framing = HttpResponse::Framing::UntilClose;
  EXPECT_EQ(ResponseHead(untilClose), "HTTP/1.1 404 Not Found\r\n\r\n");
}

}  // namespace
}  // namespace testsupport

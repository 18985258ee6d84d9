// Request header blocks as callers give them, and response heads as servers send them.
#include <gtest/gtest.h>

#include "byte_ring.h"
#include "connect_to.h"
#include "request_headers.h"
#include "response_head.h"

namespace {

using namespace wininet;

std::vector<std::string> Lines(const std::vector<HeaderLine>& headers) {
  std::vector<std::string> lines;
  for (const HeaderLine& h : headers) lines.push_back(h.line);
  return lines;
}

TEST(HeaderBlock, SplitsLinesAsGiven) {
  std::vector<HeaderLine> lines;
  ASSERT_TRUE(ParseHeaderBlock("Accept: */*\r\n\r\nX-Lf: 1\nX-Empty:\r\nReferer: http://a/b:c\r\n", &lines));
  EXPECT_EQ(Lines(lines), (std::vector<std::string>{"Accept: */*", "X-Lf: 1", "X-Empty:", "Referer: http://a/b:c"}));
  EXPECT_EQ(lines[3].name, "Referer");
  lines.clear();
  ASSERT_TRUE(ParseHeaderBlock(std::string_view("A: 1\r\n\0B: 2\r\n", 14), &lines));
  EXPECT_EQ(lines.size(), 1u);  // a NUL ends the block
}

TEST(HeaderBlock, RefusesWhatCouldSmuggleALine) {
  for (const char* block : {"no colon\r\n", ": no name\r\n", " Folded: 1\r\n", "A: 1\rB: 2\r\n", "Bad Name: 1\r\n"}) {
    std::vector<HeaderLine> lines;
    EXPECT_FALSE(ParseHeaderBlock(block, &lines)) << block;
  }
}

TEST(HeaderBlock, LibcurlLinesSendWhatWinInetSends) {
  std::vector<HeaderLine> derived = {MakeHeader("Accept", "Accept: */*"), MakeHeader("Referer", "http://r/")};
  std::vector<HeaderLine> caller;
  ASSERT_TRUE(ParseHeaderBlock("accept: */*\r\nX-Empty: \r\n", &caller));
  auto merged = MergeHeaders(derived, caller);
  EXPECT_EQ(Lines(merged), (std::vector<std::string>{"Referer: http://r/", "accept: */*", "X-Empty: "}));
  EXPECT_EQ(CurlHeaderLines(merged, false), (std::vector<std::string>{"Referer: http://r/", "accept: */*", "X-Empty;",
                                                                      "Expect:"}));
  EXPECT_EQ(CurlHeaderLines({}, true), (std::vector<std::string>{"Accept:", "Expect:", "Content-Type:"}));
}

TEST(ResponseHeadLines, KeepsOnlyTheFinalResponse) {
  ResponseHead head;
  head.StartWith("HTTP/1.1 100 Continue\r\n");
  head.AddLine("X-Interim: 1\r\n");
  head.StartWith("HTTP/1.1 200 OK\r\n");
  head.AddLine("Content-Type:text/html\r\n");
  head.AddLine("X-Long: a\r\n");
  head.AddLine("  b\r\n");
  head.AddLine("garbage\r\n");
  head.AddLine("Set-Cookie: a=1\r\n");
  head.AddLine("set-cookie: b=2\r\n");
  EXPECT_EQ(head.Status(), 200);
  EXPECT_EQ(head.StatusText(), "OK");
  EXPECT_EQ(head.RawCrlf(),
            "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nX-Long: a b\r\nSet-Cookie: a=1\r\nset-cookie: b=2\r\n\r\n");
  ASSERT_TRUE(head.Find("SET-COOKIE", 1));
  EXPECT_EQ(*head.Find("SET-COOKIE", 1), "b=2");
  EXPECT_FALSE(head.Find("Set-Cookie", 2));
  EXPECT_FALSE(head.Find("X-Interim"));
}

TEST(ConnectToMap, EntriesInLibcurlSyntax) {
  EXPECT_EQ(ParseConnectTo(" pan.baidu.com:80=127.0.0.1:8080 , yunpan.360.cn=127.0.0.1,junk,=x:1,[::1]:81=[::1]:9 "),
            (std::vector<std::string>{"pan.baidu.com:80:127.0.0.1:8080", "yunpan.360.cn::127.0.0.1:",
                                      "[::1]:81:[::1]:9"}));
  EXPECT_TRUE(ParseConnectTo("").empty());

  const auto map = ParseConnectTo("pan.baidu.com:80=127.0.0.1:8080,yunpan.360.cn=127.0.0.1,[::1]:81=[::1]:9");
  EXPECT_TRUE(IsAimed(map, "PAN.baidu.com", 80));
  EXPECT_FALSE(IsAimed(map, "pan.baidu.com", 8080));
  EXPECT_FALSE(IsAimed(map, "baidu.com", 80));
  EXPECT_TRUE(IsAimed(map, "yunpan.360.cn", 443));  // no port given: every port
  EXPECT_TRUE(IsAimed(map, "::1", 81));
  EXPECT_FALSE(IsAimed(map, "::1", 80));
}

TEST(ByteRingBuffer, WrapsAroundAndGrowsWithoutLosingBytes) {
  ByteRing ring(8);
  char out[16] = {};
  ring.Write("abcdef", 6);
  EXPECT_EQ(ring.Read(out, 4), 4u);
  ring.Write("ghijk", 5);  // wraps
  EXPECT_EQ(ring.Free(), 1u);
  ring.Reserve(12);
  ring.Write("lmn", 3);
  EXPECT_EQ(ring.Read(out, sizeof out), 10u);
  EXPECT_EQ(std::string(out, 10), "efghijklmn");
  EXPECT_EQ(ring.Size(), 0u);
}

}  // namespace

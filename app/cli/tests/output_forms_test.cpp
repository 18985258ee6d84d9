// The output forms byte for byte, and what keeps a hostile file name or address from
// reaching a shell or a downloader's input as anything but data.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "output_forms.h"

namespace cli {
namespace {

LinkResult Resolved() {
  return {"http://kuai.xunlei.com/d/ABC", Service::Xunlei, "视频 1.mp4", "MP4视频文件", "1.5MB", "0a1b",
          "http://127.0.0.1:8080/dl/ABC?k=1"};
}

TEST(OutputForms, LinesAndUrl) {
  EXPECT_EQ(FormatLines(Resolved()),
            "link: http://kuai.xunlei.com/d/ABC\nname: 视频 1.mp4\nextension: MP4视频文件\nsize: 1.5MB\n"
            "hash: 0a1b\nurl: http://127.0.0.1:8080/dl/ABC?k=1\n\n");
  EXPECT_EQ(FormatUrl(Resolved()), "http://127.0.0.1:8080/dl/ABC?k=1\n");
  LinkResult broken = Resolved();
  broken.name = "a\r\nurl: http://evil/";
  EXPECT_NE(FormatLines(broken).find("name: a  url: http://evil/\n"), std::string::npos) << "one line per box";
}

TEST(OutputForms, Json) {
  LinkResult r = Resolved();
  r.name = "say \"hi\"\\\t\x01.txt";
  const std::string line = FormatJson(r);
  EXPECT_EQ(line,
            "{\"link\": \"http://kuai.xunlei.com/d/ABC\", \"service\": \"xunlei\", \"ok\": true, "
            "\"url\": \"http://127.0.0.1:8080/dl/ABC?k=1\", \"name\": \"say \\\"hi\\\"\\\\\\t\\u0001.txt\", "
            "\"extension\": \"MP4视频文件\", \"size\": \"1.5MB\", \"hash\": \"0a1b\"}\n");
  const nlohmann::json parsed = nlohmann::json::parse(line);
  EXPECT_EQ(parsed["name"], r.name);
  EXPECT_EQ(parsed["extension"], "MP4视频文件");
}

TEST(OutputForms, WhatCountsAsAnAddress) {
  const std::pair<const char*, bool> cases[] = {
      {"http://x/", true}, {"HTTPS://x/", true}, {"", false}, {"{\"errmsg\":\"x\"}", false}, {"ftp://x/", false},
      {"http:/x", false}};
  for (const auto& [url, ok] : cases) {
    LinkResult r = Resolved();
    r.url = url;
    EXPECT_EQ(IsAddress(url), ok) << url;
    EXPECT_EQ(FormatUrl(r).empty(), !ok) << url;
    EXPECT_EQ(FormatCurl(r).empty(), !ok) << url;
    EXPECT_EQ(FormatAria2(r).empty(), !ok) << url;
    EXPECT_NE(FormatJson(r).find(ok ? "\"ok\": true" : "\"ok\": false"), std::string::npos) << url;
  }
}

TEST(OutputForms, CurlAndAria2) {
  EXPECT_EQ(FormatCurl(Resolved()), "curl -L -o '视频 1.mp4' 'http://127.0.0.1:8080/dl/ABC?k=1'\n");
  EXPECT_EQ(FormatAria2(Resolved()), "http://127.0.0.1:8080/dl/ABC?k=1\n  out=视频 1.mp4\n");
  LinkResult plain = Resolved();
  plain.name = "a.zip";
  plain.url = "http://h/a.zip";
  EXPECT_EQ(FormatCurl(plain), "curl -L -o a.zip http://h/a.zip\n");
}

TEST(OutputForms, HostileNamesAndAddresses) {
  struct Case {
    const char* name;
    const char* url;
    const char* curl;
    const char* aria2;
  };
  const Case cases[] = {
      {"it's $(rm -rf ~).txt", "http://h/a", "curl -L -o 'it'\"'\"'s $(rm -rf ~).txt' http://h/a\n",
       "http://h/a\n  out=it's $(rm -rf ~).txt\n"},
      {"../../etc/passwd", "http://h/a", "curl -L -o .._.._etc_passwd http://h/a\n", "http://h/a\n  out=.._.._etc_passwd\n"},
      {"a\n  dir=/tmp", "http://h/a b\tc\nd", "curl -L -o 'a  dir=_tmp' http://h/a%20b%09c%0Ad\n",
       "http://h/a%20b%09c%0Ad\n  out=a  dir=_tmp\n"},
      {"..", "http://h/a", "curl -L -O http://h/a\n", "http://h/a\n"},
      {"", "http://h/a", "curl -L -O http://h/a\n", "http://h/a\n"},
  };
  for (const Case& c : cases) {
    LinkResult r = Resolved();
    r.name = c.name;
    r.url = c.url;
    EXPECT_EQ(FormatCurl(r), c.curl) << c.name;
    EXPECT_EQ(FormatAria2(r), c.aria2) << c.name;
  }
  EXPECT_EQ(ShellQuote(""), "''");
}

}  // namespace
}  // namespace cli

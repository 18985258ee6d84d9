// The share pages, read the way the resolvers read them: the same patterns and markers,
// checked against the catalogue's values for every share.
#include <gtest/gtest.h>

#include <boost/regex.hpp>
#include <nlohmann/json.hpp>

#include "fetch.h"
#include "testsupport/simulator.h"

namespace {

using namespace share_simulator_test;
using testsupport::SimulatedShare;
using testsupport::Simulator;

std::vector<boost::smatch> AllMatches(const std::string& page, const std::string& pattern) {
  boost::regex re(pattern);
  std::vector<boost::smatch> matches;
  for (boost::sregex_iterator it(page.begin(), page.end(), re), end; it != end; ++it) matches.push_back(*it);
  return matches;
}

std::string PageOf(const Simulator& simulator, const SimulatedShare& share) {
  auto [host, path] = SplitLink(share.link);
  Reply reply = Get(simulator.Port(), host, path);
  EXPECT_EQ(reply.status, 200) << share.link;
  return reply.body;
}

const std::string kXunleiKey = "key\\x22 value='(.*?)('>)";
const std::string kXunleiEntry =
    "checked\\x22   file_name=\\x22(.*?)\\x22 file_url=\\x22(.*?)\\x22 file_size=\\x22(.*?)\\x22 ";
const std::string kXunleiExtension =
    "checked=\\x22checked\\x22   file_name=\\x22(.*?)\\.(gho|torrent|wma|aac|mp3|wav|doc|q|txt|iso|exe|ico|gif|png|"
    "jpg|bmp|cab|7z|jar|zip|rar|avi|wmv|mkv|rmvb|rm|mp4|mpg|mpeg|flv|3gp|asf)";
const std::string kBaiduDlink = "dlink\\\\+\\x22:\\\\+\\x22(.*?)(\\\\+\"+\\})";
const std::string kBaiduFilename = "filename=(.*?)(\\\\+\\x22)";
const std::string kBaiduSize = "size\\\\+\\x22:\\\\+\\x22(.*?)(\\\\+\\x22)";
const std::string kBaiduMd5 = "md5\\\\+\\x22:\\\\+\\x22(.*?)(\\\\+\\x22)";

TEST(SimulatorPages, PatternsHaveTheResolversLengths) {
  EXPECT_EQ(kXunleiKey.size(), 24u);
  EXPECT_EQ(kXunleiEntry.size(), 85u);
  EXPECT_EQ(kXunleiExtension.size(), 178u);
  EXPECT_EQ(kBaiduDlink.size(), 34u);
  EXPECT_EQ(kBaiduFilename.size(), 23u);
  EXPECT_EQ(kBaiduSize.size(), 33u);
  EXPECT_EQ(kBaiduMd5.size(), 32u);
}

TEST(SimulatorPages, XunleiFieldsOfTheLastEntry) {
  Simulator simulator;
  for (const SimulatedShare& share : simulator.Shares()) {
    if (share.service != "xunlei") continue;
    SCOPED_TRACE(share.id);
    std::string page = PageOf(simulator, share);
    auto keys = AllMatches(page, kXunleiKey);
    auto entries = AllMatches(page, kXunleiEntry);
    if (!share.hasFields) {
      EXPECT_TRUE(keys.empty());
      EXPECT_TRUE(entries.empty());
      EXPECT_TRUE(AllMatches(page, kXunleiExtension).empty());
      continue;
    }
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0][1], share.md5);
    ASSERT_EQ(entries.size(), share.fileCount);
    EXPECT_EQ(PercentDecode(entries.back()[1]), share.name);
    EXPECT_EQ(entries.back()[2], share.downloadAddress);
    EXPECT_EQ(entries.back()[3], std::to_string(share.size));

    // The page adds no extension matches of its own: they are those of the entries' names.
    std::vector<std::string> expected, found;
    for (const auto& entry : entries) {
      std::string alone = "checked=\"checked\"   file_name=\"" + entry[1].str() + "\"";
      for (const auto& m : AllMatches(alone, kXunleiExtension)) expected.push_back(m[1].str() + "." + m[2].str());
    }
    for (const auto& m : AllMatches(page, kXunleiExtension)) found.push_back(m[1].str() + "." + m[2].str());
    EXPECT_EQ(found, expected);
  }
}

TEST(SimulatorPages, BaiduFieldsOfTheLastRecord) {
  Simulator simulator;
  for (const SimulatedShare& share : simulator.Shares()) {
    if (share.service != "baidu") continue;
    SCOPED_TRACE(share.id);
    std::string page = PageOf(simulator, share);
    auto dlinks = AllMatches(page, kBaiduDlink);
    auto names = AllMatches(page, kBaiduFilename);
    auto sizes = AllMatches(page, kBaiduSize);
    auto md5s = AllMatches(page, kBaiduMd5);
    if (!share.hasFields) {
      EXPECT_TRUE(dlinks.empty() && names.empty() && sizes.empty() && md5s.empty());
      continue;
    }
    ASSERT_EQ(dlinks.size(), share.fileCount);
    ASSERT_FALSE(names.empty());
    ASSERT_FALSE(sizes.empty());
    ASSERT_FALSE(md5s.empty());
    std::string dlink = dlinks.back()[1], unescaped;
    for (std::size_t i = 0; i < dlink.size(); ++i) {
      if (dlink.compare(i, 3, "\\\\/") == 0 && (i == 0 || dlink[i - 1] != '\\')) {
        unescaped += '/';
        i += 2;
      } else {
        EXPECT_NE(dlink[i], '/') << "a slash without two backslashes before it: " << dlink;
        unescaped += dlink[i];
      }
    }
    EXPECT_EQ(unescaped, share.downloadAddress);
    EXPECT_EQ(PercentDecode(names.back()[1]), share.name);
    EXPECT_EQ(sizes.back()[1], std::to_string(share.size));
    EXPECT_EQ(md5s.back()[1], share.md5);
  }
}

nlohmann::json Answer(const Reply& reply) {
  return nlohmann::json::parse(codepage::GbkToUtf8(reply.body), nullptr, false);
}

TEST(SimulatorPages, YunpanConfigurationAndEndpoint) {
  Simulator simulator;
  const std::string left = "var SYS_CONF = ", right = ";</script>";
  for (const SimulatedShare& share : simulator.Shares()) {
    if (share.service != "360") continue;
    SCOPED_TRACE(share.id);
    std::string page = PageOf(simulator, share);
    std::size_t start = page.find(left);
    std::string body = "shorturl=" + share.id + "&nid=";
    if (!share.hasFields) {
      EXPECT_EQ(start, std::string::npos);
      body += "unknown";
    } else {
      ASSERT_NE(start, std::string::npos);
      start += left.size();
      nlohmann::json config =
          nlohmann::json::parse(page.substr(start, page.find(right, start) - start), nullptr, false);
      ASSERT_TRUE(config.is_object());
      EXPECT_EQ(config["surl"], share.id);
      EXPECT_EQ(PercentDecode(config["name"]), share.name);
      EXPECT_EQ(config["size"], std::to_string(share.size));
      EXPECT_EQ(config["fhash"], share.md5);
      body += config["nid"].get<std::string>();
    }
    nlohmann::json answer = Answer(Send(simulator.Port(), "POST", "yunpan.360.cn", "/share/downloadfile/", body));
    ASSERT_TRUE(answer.is_object());
    if (!share.hasFields) {
      EXPECT_EQ(answer["errmsg"], "此文件已不存在!");
      continue;
    }
    EXPECT_EQ(answer["errmsg"], share.errmsg);
    if (share.errmsg == "操作成功") {
      EXPECT_EQ(answer["data"]["downloadurl"], share.downloadAddress);
    }
  }
}

TEST(SimulatorPages, EndpointRefusesBodiesWithoutBothFields) {
  Simulator simulator;
  const SimulatedShare& share = simulator.Share("QzRbXgGxq7d3h");
  for (std::string body : {std::string(), "shorturl=" + share.id, std::string("nid=1"), "shorturl=" + share.id + "&nid=1"}) {
    nlohmann::json answer = Answer(Send(simulator.Port(), "POST", "yunpan.360.cn", "/share/downloadfile/", body));
    EXPECT_NE(answer["errmsg"], "操作成功") << body;
  }
}

TEST(SimulatorPages, PagesAreGbk) {
  Simulator simulator;
  const SimulatedShare& share = simulator.Share("bTZ0X4GE");  // 年度报告.doc
  std::string page = PageOf(simulator, share);
  EXPECT_NE(page.find(codepage::Utf8ToGbk("<title>年度报告.doc - 迅雷快传</title>")), std::string::npos);
}

struct Route {
  const char* method;
  const char* host;
  std::string path;
  int status;
};

TEST(SimulatorPages, RoutesByHostThenPath) {
  Simulator simulator;
  const std::string xunlei = "/d/bTZ0X4GE", baidu = "/s/1kTQdrAe", yunpan = "/QzRbXgGxq7d3h";
  const Route routes[] = {
      {"GET", "kuai.xunlei.com", xunlei, 200},
      {"GET", "KUAI.Xunlei.com:80", xunlei, 200},
      {"GET", "pan.baidu.com", baidu, 200},
      {"GET", "yun.baidu.com", baidu, 200},
      {"GET", "yunpan.cn", yunpan, 200},
      {"GET", "c17.yunpan.cn", yunpan, 200},
      {"GET", "127.0.0.1", "/", 200},
      {"GET", "example.com", xunlei, 404},
      {"GET", "kuai.xunlei.com", "/d/unknown", 404},
      {"GET", "kuai.xunlei.com", "/d/1kTQdrAe", 404},  // a Baidu share's id
      {"GET", "pan.baidu.com", xunlei, 404},
      {"GET", "yunpan.360.cn", yunpan, 404},
      {"GET", "yunpan.360.cn", "/share/downloadfile/", 404},
      {"POST", "yunpan.cn", "/share/downloadfile/", 404},
      {"POST", "kuai.xunlei.com", xunlei, 404},
      {"GET", "127.0.0.1", "/download/bTZ0X4GE/2", 404},
      {"GET", "127.0.0.1", "/download/bTZ0X4GE/x", 404},
      {"GET", "pan.baidu.com", "/download/bTZ0X4GE/1", 404},
  };
  for (const Route& route : routes) {
    EXPECT_EQ(Send(simulator.Port(), route.method, route.host, route.path).status, route.status)
        << route.method << " " << route.host << route.path;
  }
}

}  // namespace

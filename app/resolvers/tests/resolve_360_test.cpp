// 360 Pan share pages and the download endpoint served on loopback: the configuration read
// as JSON, the POST body as the endpoint receives it, and the answer's rows.
#include <string>

#include "app/resolvers/resolvers.h"
#include "app/testing/program_test.h"
#include "share_server.h"

namespace app::testing {
namespace {

using testsupport::HttpResponse;

const std::string kLink = "http://yunpan.cn/lk/Q7tWxyzAb";

std::string SharePage(const std::string& name, const std::string& size, const std::string& surl = "Q7tWxyzAb",
                      const std::string& nid = "13801234567") {
  return "<html><head><script type=\"text/javascript\">var SYS_CONF = {\"surl\":\"" + surl + "\",\"nid\":\"" + nid +
         "\",\"name\":\"" + name + "\",\"size\":" + size +
         ",\"fhash\":\"9f2c1e4d7b3a\"};</script></head><body></body></html>";
}
std::string Success(const std::string& address) {
  return Gbk("{\"errno\":0,\"errmsg\":\"操作成功\",\"data\":{\"downloadurl\":\"" + address + "\"}}");
}

class Pan360Test : public ResolverTest {
 protected:
  std::string ResolvePages(const std::string& page, HttpResponse answer) {
    server_.Route("/lk/Q7tWxyzAb", HttpResponse::Text(page));
    server_.Route("/share/downloadfile/", std::move(answer));
    return Resolve(Resolve360Link, kLink);
  }
};

TEST_F(Pan360Test, SuccessFillsTheBoxesAndReturnsTheAddress) {
  // The two values go out as they stand, without escaping.
  const std::string page = SharePage("%E6%97%85%E8%A1%8C.zip", "5000000000", "a+b/c=", "13 80&x");
  EXPECT_EQ(ResolvePages(page, HttpResponse::Text(Success("http://dl.yunpan.example/f?id=1"))),
            "http://dl.yunpan.example/f?id=1");
  EXPECT_EQ(Boxes(), (DetailBoxes{Gbk("旅行.zip"), Gbk("winrar压缩包文件   (zip)"), "4768MB", "9f2c1e4d7b3a"}));

  const auto requests = server_.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1].method, "POST");
  EXPECT_EQ(requests[1].target, "/share/downloadfile/");
  EXPECT_EQ(requests[1].Header("Host"), "yunpan.360.cn");
  EXPECT_EQ(requests[1].body, "shorturl=a+b/c=&nid=13 80&x");
}

TEST_F(Pan360Test, SizeInWholeMegabytes) {
  struct Case {
    const char* bytes;
    const char* shown;
  };
  for (const Case& c : {Case{"0", "0MB"}, Case{"1048575", "0MB"}, Case{"5000000", "4MB"}, Case{"2147483647", "2047MB"},
                        Case{"2147483648", "2048MB"}, Case{"5000000000", "4768MB"}, Case{"\"5000000000\"", "4768MB"}}) {
    SCOPED_TRACE(c.bytes);
    ResolvePages(SharePage("a.txt", c.bytes), HttpResponse::Text(Success("http://d/1")));
    EXPECT_EQ(Boxes().size, c.shown);
  }
}

TEST_F(Pan360Test, ExtensionIsTheNamesLastThreeBytes) {
  struct Case {
    const char* name;
    const char* shown;  // UTF-8
  };
  for (const Case& c : {Case{"movie.rmvb", "mvb"}, Case{"diary.7z", ".7z"}, Case{"7z", "winrar压缩包文件   (7z)"},
                        Case{"DISK.GHO", "GHO映像文件   (GHO)"}, Case{"%E6%96%87%E6%A1%A3.txt", "文本文档   (txt)"}}) {
    SCOPED_TRACE(c.name);
    ResolvePages(SharePage(c.name, "1"), HttpResponse::Text(Success("http://d/1")));
    EXPECT_EQ(Utf8(Boxes().extension), c.shown);
  }
}

TEST_F(Pan360Test, EveryOtherAnswerLeavesTheBoxesAsTheyWere) {
  const std::string other = Gbk("{\"errno\":1,\"errmsg\":\"分享者已取消分享\"}");
  const std::string notJson = Gbk("<html><body>服务器繁忙</body></html>");
  struct Case {
    const char* what;
    HttpResponse answer;
    std::string returned;
  };
  const Case cases[] = {
      {"the file no longer exists", HttpResponse::Text(Gbk("{\"errno\":3,\"errmsg\":\"此文件已不存在!\"}")), ""},
      {"an empty answer", HttpResponse::Text(""), ""},
      {"no answer at all", HttpResponse::Raw(""), ""},
      {"an answer that is not JSON", HttpResponse::Text(notJson), notJson},
      {"another errmsg", HttpResponse::Text(other), other},
  };
  const DetailBoxes earlier{Gbk("旧.rar"), Gbk("winrar压缩包文件   (rar)"), "12MB", "old"};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetBoxes(earlier);
    EXPECT_EQ(ResolvePages(SharePage("new.txt", "99999999"), c.answer), c.returned);
    EXPECT_EQ(Boxes(), earlier);
  }
}

TEST_F(Pan360Test, PageWithoutTheConfigurationStillAsksTheEndpoint) {
  const std::string other = "{\"errmsg\":\"bad request\"}";
  EXPECT_EQ(ResolvePages("<html>no configuration</html>", HttpResponse::Text(other)), other);
  const auto requests = server_.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1].target, "/share/downloadfile/");
}

}  // namespace
}  // namespace app::testing

// Baidu Pan share pages served on loopback: the escaped JSON fields, the address's slashes
// unescaped, the size in single precision, the last match of each pattern winning.
#include <optional>
#include <string>

#include "app/resolvers/resolvers.h"
#include "app/testing/program_test.h"
#include "share_server.h"

namespace app::testing {
namespace {

using testsupport::HttpResponse;

// One file record as the page's script string carries it: a backslash before each quote.
// The address names the file once more, as the service's addresses do.
std::string Record(const std::string& dlink, const std::string& name, const std::string& size,
                   const std::optional<std::string>& md5) {
  std::string record = R"({\"server_filename\":\"f\",\"size\":\")" + size + R"(\",)";
  if (md5) record += R"(\"md5\":\")" + *md5 + R"(\",)";
  return record + R"(\"dlink\":\")" + dlink + "&filename=" + name + R"(\"})";
}
std::string Page(const std::string& records) {
  return "<html><body><script type=\"text/javascript\">\r\nviewShareData=\"" + records + "\";\r\n</script></body></html>";
}

class BaiduTest : public ResolverTest {
 protected:
  std::string ResolvePage(const std::string& page) {
    server_.Route("/share/link", HttpResponse::Text(page));
    return Resolve(ResolveBaiduLink, "http://pan.baidu.com/share/link?shareid=3851906272&uk=1208763451");
  }
};

std::string Unescaped(std::string url) {
  for (std::size_t at; (at = url.find("\\\\/")) != std::string::npos;) url.replace(at, 3, "/");
  return url;
}

TEST_F(BaiduTest, SamplePage) {
  const std::string page = ReadFixture("baidu_share.html");
  const std::string start = R"(\"dlink\":\")";
  const std::size_t at = page.find(start) + start.size();
  const std::string dlink = page.substr(at, page.find(R"(\"})", at) - at);
  EXPECT_EQ(ResolvePage(page), Unescaped(dlink));
  EXPECT_EQ(Boxes(), (DetailBoxes{Gbk("旅行日记.7z"), ".7z", "50MB", "3f7a9c2e5b8d104f6a2e9c7b1d0f5e84"}));
}

TEST_F(BaiduTest, EscapedSlashesOfTheAddress) {
  struct Case {
    const char* inPage;
    const char* address;
  };
  const Case cases[] = {
      {R"(http:\\/\\/d.example\\/file\\/a?x=1)", "http://d.example/file/a?x=1"},
      {R"(a\\/\\/b\\/\\/c)", "a//b//c"},
      {"http://d.example/file/a", "http://d.example/file/a"},
      {R"(http:\/\/d.example\/a)", R"(http:\/\/d.example\/a)"},  // one backslash: kept
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.inPage);
    EXPECT_EQ(ResolvePage(Page(Record(c.inPage, "a.txt", "1", "m"))), std::string(c.address) + "&filename=a.txt");
  }
}

TEST_F(BaiduTest, EachPatternsLastMatchWinsOnItsOwn) {
  const std::string page = Page(Record(R"(http:\\/\\/d.example\\/1)", "a.txt", "1024", "m1") + "," +
                                Record(R"(http:\\/\\/d.example\\/2)", "b.zip", "2048", std::nullopt));
  EXPECT_EQ(ResolvePage(page), "http://d.example/2&filename=b.zip");
  EXPECT_EQ(Boxes(), (DetailBoxes{"b.zip", Gbk("winrar压缩包文件   (zip)"), "2KB", "m1"}));
}

TEST_F(BaiduTest, RawGbkFieldsStayAsTheyCameAndTheEscapedNameIsDecoded) {
  // 籠 ends in the byte 0x5C, right before an escaped slash.
  const std::string page =
      Page(Record(Gbk(R"(http:\\/\\/d.example\\/籠\\/x)"), "%E7%87%88%E7%B1%A0.mp3", "3", Gbk("籠校验")));
  EXPECT_EQ(ResolvePage(page), Gbk("http://d.example/籠/x&filename=%E7%87%88%E7%B1%A0.mp3"));
  EXPECT_EQ(Boxes(), (DetailBoxes{Gbk("燈籠.mp3"), Gbk("声音文件   (mp3)"), "3B", Gbk("籠校验")}));
}

TEST_F(BaiduTest, SizeIsReadInSinglePrecision) {
  struct Case {
    const char* size;
    const char* shown;
  };
  // 16777217 rounds to 16777216 (a double would show "16.00MB").
  for (const Case& c : {Case{"16777217", "16MB"}, Case{"52428800", "50MB"}, Case{"abc", "0B"}}) {
    SCOPED_TRACE(c.size);
    ResolvePage(Page(Record("http://d.example/a", "a.txt", c.size, "m")));
    EXPECT_EQ(Boxes().size, c.shown);
  }
}

TEST_F(BaiduTest, FieldsAtTheEndOfATenMegabytePage) {
  std::string filler;
  while (filler.size() < 10 * 1024 * 1024) filler += "<div class=\"share-list\">loading the list of shared files...</div>\r\n";
  const std::string page = filler + Page(Record(R"(http:\\/\\/d.example\\/big)", "big.iso", "4294967296", "m"));
  EXPECT_EQ(ResolvePage(page), "http://d.example/big&filename=big.iso");
  EXPECT_EQ(Boxes(), (DetailBoxes{"big.iso", Gbk("光盘映像文件   (iso)"), "4GB", "m"}));
}

TEST_F(BaiduTest, NoFieldsEmptiesTheBoxes) {
  const std::string record = Record("http://d.example/a", "a.txt", "1", "m");
  struct Case {
    const char* what;
    const char* path;
    std::optional<std::string> page;  // none: the server answers 404
  };
  const Case cases[] = {
      {"a page without the fields", "/s/none", "<html>gone</html>"},
      {"a zero byte before the fields", "/s/zero", std::string("<p>\0</p>", 8) + Page(record)},
      {"a share that is gone", "/s/gone", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetBoxes({"old", "old", "old", "old"});
    if (c.page) server_.Route(c.path, HttpResponse::Text(*c.page));
    EXPECT_EQ(Resolve(ResolveBaiduLink, std::string("http://pan.baidu.com") + c.path), "");
    EXPECT_EQ(Boxes(), (DetailBoxes{"", "", "0B", ""}));
  }
}

}  // namespace
}  // namespace app::testing

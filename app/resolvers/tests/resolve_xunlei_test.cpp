// Xunlei Kuaichuan share pages served on loopback: the last match of each pattern wins, the
// page is searched as its bytes came, and a page without the fields empties the boxes.
#include <optional>
#include <string>

#include "app/resolvers/resolvers.h"
#include "app/testing/program_test.h"
#include "share_server.h"

namespace app::testing {
namespace {

using testsupport::HttpResponse;

const std::string kLink = "http://kuai.xunlei.com/s/bTZ0X4GE";

std::string Key(const std::string& value) {
  return "<input type=\"hidden\" name=\"key\" value='" + value + "'>\r\n";
}
// One file of the list as the page writes it; `checked` is the check box's attribute.
std::string Entry(const std::string& name, const std::string& url, const std::string& size,
                  const std::string& checked = "checked=\"checked\"") {
  return "<li><input type=\"checkbox\" name=\"file_check\" " + checked + "   file_name=\"" + name + "\" file_url=\"" +
         url + "\" file_size=\"" + size + "\" /></li>\r\n";
}
std::string Page(const std::string& body) {
  return "<html><head><meta charset=\"gbk\" /></head><body>\r\n" + body + "</body></html>\r\n";
}

class XunleiTest : public ResolverTest {
 protected:
  std::string ResolvePage(const std::string& page) {
    server_.Route("/s/bTZ0X4GE", HttpResponse::Text(page));
    return Resolve(ResolveXunleiLink, kLink);
  }
};

// The second file_url of the sample page.
std::string SecondFileUrl(const std::string& page) {
  const std::string attribute = "file_url=\"";
  std::size_t at = page.find(attribute, page.find(attribute) + 1) + attribute.size();
  return page.substr(at, page.find('"', at) - at);
}

TEST_F(XunleiTest, PageOfTwoFilesShowsTheSecond) {
  const std::string page = ReadFixture("xunlei_share.html");
  EXPECT_EQ(ResolvePage(page), SecondFileUrl(page));
  EXPECT_EQ(Boxes(), (DetailBoxes{Gbk("元宵燈籠.rmvb"), Gbk("媒体视频文件   (rmvb)"), "340MB", "1f0c6e8a93b24d57"}));
}

TEST_F(XunleiTest, EachPatternsLastMatchWinsOnItsOwn) {
  // The second file's box is checked otherwise, so only the first counts for the extension.
  const std::string page = Page(Key("first") + Entry("a.rar", "http://dl.example/1", "1024") + Key("second") +
                                Entry("b.txt", "http://dl.example/2", "2048", "selected=\"checked\""));
  EXPECT_EQ(ResolvePage(page), "http://dl.example/2");
  EXPECT_EQ(Boxes(), (DetailBoxes{"b.txt", Gbk("winrar压缩包文件   (rar)"), "2KB", "second"}));
}

TEST_F(XunleiTest, RawGbkFieldsStayAsTheyCameAndTheEscapedNameIsDecoded) {
  // 籠 ends in the byte 0x5C, a backslash to a byte-wise reader.
  const std::string url = Gbk("http://dl.example/元宵燈籠.rmvb?n=燈籠");
  const std::string page =
      Page(Key(Gbk("钥匙籠")) + Entry("%E5%85%83%E5%AE%B5%E7%87%88%E7%B1%A0.rmvb", url, "356515840"));
  EXPECT_EQ(ResolvePage(page), url);
  EXPECT_EQ(Boxes(), (DetailBoxes{Gbk("元宵燈籠.rmvb"), Gbk("媒体视频文件   (rmvb)"), "340MB", Gbk("钥匙籠")}));
}

TEST_F(XunleiTest, FieldsAtTheEndOfATenMegabytePage) {
  std::string filler;
  while (filler.size() < 10 * 1024 * 1024) filler += Gbk("<p class=\"ad\">免费高速下载 file list loading...</p>\r\n");
  const std::string page = Page(filler + Key("k") + Entry("big.iso", "http://dl.example/big", "4294967296"));
  EXPECT_EQ(ResolvePage(page), "http://dl.example/big");
  EXPECT_EQ(Boxes(), (DetailBoxes{"big.iso", Gbk("光盘映像文件   (iso)"), "4GB", "k"}));
}

TEST_F(XunleiTest, NoFieldsEmptiesTheBoxes) {
  const std::string fields = Key("k") + Entry("a.rar", "http://dl.example/1", "1024");
  struct Case {
    const char* what;
    const char* path;
    std::optional<std::string> page;  // none: the server answers 404
  };
  const Case cases[] = {
      {"a page without the fields", "/s/none", Page("<p>not here</p>")},
      {"a zero byte before the fields", "/s/zero", Page(std::string("<p>\0</p>", 8) + fields)},
      {"a share that is gone", "/s/gone", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetBoxes({"old", "old", "old", "old"});
    if (c.page) server_.Route(c.path, HttpResponse::Text(*c.page));
    EXPECT_EQ(Resolve(ResolveXunleiLink, std::string("http://kuai.xunlei.com") + c.path), "");
    EXPECT_EQ(Boxes(), (DetailBoxes{"", "", "0B", ""}));
  }
}

TEST_F(XunleiTest, ExtensionAndSizeOfOneFile) {
  struct Case {
    const char* name;
    const char* size;
    const char* extension;  // UTF-8
    const char* sizeText;
  };
  const Case cases[] = {
      {"%E5%BD%B1%E7%89%87.wmv", "1024", "wmv", "1KB"},  // accepted, listed in no row
      {"disk.gho", "0", "gho", "0B"},                    // the row holds "GHO" only
      {"DISK.GHO", "12", "", "12B"},                     // the pattern is case-sensitive
      {"movie.part1.rmvb", "1536", "媒体视频文件   (rmvb)", "1.5KB"},
      {"notes.tar.gz", "abc", "", "0B"},  // no extension the pattern knows; no number
      {"setup.exe", " 734003201", "windows可执行文件   (exe)", "700.0MB"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResolvePage(Page(Key("k") + Entry(c.name, "http://dl.example/f?id=1", c.size)));
    const DetailBoxes boxes = Boxes();
    EXPECT_EQ(Utf8(boxes.extension), c.extension);
    EXPECT_EQ(boxes.size, c.sizeText);
  }
}

}  // namespace
}  // namespace app::testing

#include "share_pages.h"

#include "codepage/codepage.h"

namespace bench {
namespace {

std::string Head() { return "<html><head><meta charset=\"gbk\" /></head><body>\r\n"; }
std::string Tail() { return "</body></html>\r\n"; }

// Page text the patterns must walk past: markup, ASCII and Chinese.
const std::string& FillerLine() {
  static const std::string line = codepage::Utf8ToGbk(
      "<p class=\"ad\"><a href=\"/help\">免费高速下载</a> file list loading, 请稍候...</p>\r\n");
  return line;
}

std::string Filler(std::size_t bytes) {
  std::string filler;
  filler.reserve(bytes + FillerLine().size());
  while (filler.size() + FillerLine().size() <= bytes) filler += FillerLine();
  filler.append(bytes - filler.size(), ' ');
  return filler;
}

std::string XunleiEntry(const std::string& name, const std::string& url) {
  return "<li><input type=\"checkbox\" name=\"file_check\" checked=\"checked\"   file_name=\"" + name +
         "\" file_url=\"" + url + "\" file_size=\"356515840\" /></li>\r\n";
}
// A file of a long list, as short as the patterns allow: 100 000 of them make about 10 MB.
std::string XunleiListEntry(const std::string& name, const std::string& url) {
  return "<input checked=\"checked\"   file_name=\"" + name + "\" file_url=\"" + url + "\" file_size=\"1024\" />\r\n";
}
std::string XunleiFields(const std::string& entries) {
  return "<input type=\"hidden\" name=\"key\" value='1f0c6e8a93b24d57'>\r\n<ul>\r\n" + entries + "</ul>\r\n";
}
const char* const kXunleiName = "%E5%85%83%E5%AE%B5%E7%87%88%E7%B1%A0.rmvb";

std::string BaiduFields() {
  return "<script type=\"text/javascript\">\r\nviewShareData=\"{\\\"server_filename\\\":\\\"f\\\",\\\"size\\\":"
         "\\\"356515840\\\",\\\"md5\\\":\\\"1f0c6e8a93b24d57\\\",\\\"dlink\\\":\\\"http:\\\\/\\\\/d.pcs.example"
         "\\\\/file\\\\/1f0c6e8a?fid=1&filename=%E5%85%83%E5%AE%B5.rmvb\\\"}\";\r\n</script>\r\n";
}

std::string Pan360Fields() {
  return "<script type=\"text/javascript\">var SYS_CONF = {\"surl\":\"Q7tWxyzAb\",\"nid\":\"13801234567\","
         "\"name\":\"%E5%85%83%E5%AE%B5.rmvb\",\"size\":\"356515840\",\"fhash\":\"9f2c1e4d7b3a\"};</script>\r\n";
}

std::string Fields(Service service) {
  switch (service) {
    case Service::Xunlei: return XunleiFields(XunleiEntry(kXunleiName, ExpectedAddress(service)));
    case Service::Baidu: return BaiduFields();
    case Service::Pan360: return Pan360Fields();
  }
  return {};
}

}  // namespace

const char* ServiceName(Service service) {
  switch (service) {
    case Service::Xunlei: return "xunlei";
    case Service::Baidu: return "baidu";
    case Service::Pan360: return "360";
  }
  return "";
}

std::string SharePage(Service service, std::size_t bytes) {
  const std::string fields = Fields(service);
  const std::size_t fixed = Head().size() + fields.size() + Tail().size();
  return Head() + Filler(bytes > fixed ? bytes - fixed : 0) + fields + Tail();
}

std::string XunleiListPage(int files) {
  std::string entries;
  for (int i = 1; i <= files; ++i) {
    const std::string n = std::to_string(i);
    entries += XunleiListEntry("f" + n + ".rmvb", i == files ? ExpectedListAddress(files) : "http://dl.example/" + n);
  }
  return Head() + XunleiFields(entries) + Tail();
}

std::string Pan360Answer() {
  return codepage::Utf8ToGbk("{\"errno\":0,\"errmsg\":\"操作成功\",\"data\":{\"downloadurl\":\"") +
         ExpectedAddress(Service::Pan360) + "\"}}";
}

std::string ExpectedAddress(Service service) {
  switch (service) {
    case Service::Xunlei: return "http://dl.example/xunlei/1f0c6e8a";
    case Service::Baidu: return "http://d.pcs.example/file/1f0c6e8a?fid=1&filename=%E5%85%83%E5%AE%B5.rmvb";
    case Service::Pan360: return "http://dl.yunpan.example/f?id=1";
  }
  return {};
}

std::string ExpectedListAddress(int files) { return "http://dl.example/last/" + std::to_string(files); }

}  // namespace bench

// Baidu Pan: the file records as JSON (non-ASCII as \u escapes, slashes as "\/", the way the
// service's JSON encoder wrote them) inside a JavaScript string literal, which adds a
// backslash before each quote and each backslash. So every quote of a field is preceded by a
// backslash and every slash of "dlink" by two. "dlink" comes last in each record, as the
// address pattern expects it before the closing brace.
#include <nlohmann/json.hpp>

#include "pages.h"

namespace share_simulator {
namespace {

nlohmann::ordered_json Record(const ServedFile& file, std::size_t position) {
  nlohmann::ordered_json record;
  record["fs_id"] = 862453981726301ull + position;
  record["server_filename"] = file.name;
  record["size"] = std::to_string(file.size);
  record["isdir"] = 0;
  record["path"] = "/" + file.name;
  record["md5"] = file.md5;
  record["dlink"] = file.downloadAddress;
  return record;
}

std::string EscapedSlashes(const std::string& json) {
  std::string out;
  for (char c : json) {
    if (c == '/') out += '\\';
    out += c;
  }
  return out;
}

std::string JavaScriptString(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

}  // namespace

std::string BaiduPage(const ServedShare& served) {
  const Share& share = *served.share;
  const ServedFile& file = served.files.back();
  std::string name = HtmlEscape(share.hasFields ? file.name : "啊哦，你来晚了，分享的文件已经被取消了");
  std::string page =
      "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n"
      "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\" />\r\n"
      "<title>" + name + "_免费高速下载|百度云 网盘-分享无限制</title>\r\n</head>\r\n<body>\r\n"
      "<div id=\"layoutHeader\"><a class=\"logo\" href=\"http://pan.baidu.com/\">百度云</a></div>\r\n";
  if (!share.hasFields) {
    page += "<div class=\"share-error\">" + name + "</div>\r\n</body>\r\n</html>\r\n";
    return page;
  }
  page += "<div class=\"module-share-header\"><h2 title=\"" + name + "\">" + name + "</h2></div>\r\n"
          "<div id=\"fileDetail\"><span class=\"size\">" + SizeText(file.size) + "</span></div>\r\n";

  nlohmann::ordered_json data;
  if (served.files.size() == 1) {
    data = Record(file, 0);
  } else {
    data = nlohmann::ordered_json::array();
    for (std::size_t i = 0; i < served.files.size(); ++i) data.push_back(Record(served.files[i], i));
  }
  page += "<script type=\"text/javascript\">\r\n"
          "FileUtils.share_id=\"" + share.id + "\";FileUtils.share_public_type=\"1\";\r\n"
          "disk.util.ViewShareUtils.viewShareData=" + JavaScriptString(EscapedSlashes(data.dump(-1, ' ', true))) +
          ";\r\n</script>\r\n</body>\r\n</html>\r\n";
  return page;
}

}  // namespace share_simulator

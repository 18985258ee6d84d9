// Xunlei Kuaichuan: the page key in a hidden input, and one check box per file whose
// attributes carry the escaped name, the address and the size.
#include "pages.h"
#include "share_simulator/addresses.h"

namespace share_simulator {
namespace {

std::string Entry(const ServedFile& file) {
  std::string name = HtmlEscape(file.name);
  return "<li class=\"file_item\">\r\n"
         "<span class=\"c_check\"><input type=\"checkbox\" name=\"file_check\" checked=\"checked\"   file_name=\"" +
         PercentEscape(file.name) + "\" file_url=\"" + file.downloadAddress + "\" file_size=\"" +
         std::to_string(file.size) +
         "\" /></span>\r\n"
         "<span class=\"c_name\"><a href=\"javascript:;\" title=\"" +
         name + "\">" + name + "</a></span>\r\n<span class=\"c_size\">" + SizeText(file.size) +
         "</span>\r\n<span class=\"c_time\">剩余6天</span>\r\n</li>\r\n";
}

}  // namespace

std::string XunleiPage(const ServedShare& served) {
  const Share& share = *served.share;
  std::string title = served.files.back().name;
  if (served.files.size() > 1) title = served.files.front().name + " 等" + std::to_string(served.files.size()) + "个文件";
  if (!share.hasFields) title = "链接已失效";

  std::string page =
      "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n"
      "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\" />\r\n"
      "<title>" + HtmlEscape(title) + " - 迅雷快传</title>\r\n</head>\r\n<body>\r\n"
      "<div class=\"header\"><a href=\"http://kuai.xunlei.com/\" class=\"logo\">迅雷快传</a></div>\r\n"
      "<div class=\"file_box\">\r\n";
  if (!share.hasFields) {
    page += "<p class=\"tips\">抱歉，该分享链接已失效，文件已过期或已被删除。</p>\r\n";
  } else {
    // The page key: the hash of the last file, the one a resolver that keeps the last entry shows.
    page += "<form id=\"down_form\" action=\"" + served.link + "\" method=\"post\">\r\n"
            "<input type=\"hidden\" name=\"key\" value='" + served.files.back().md5 + "'>\r\n"
            "<div class=\"file_tools\"><input type=\"checkbox\" id=\"check_all\" checked=\"checked\" />"
            "<label for=\"check_all\">全选</label></div>\r\n"
            "<ul class=\"file_list\" id=\"file_list\">\r\n";
    for (const ServedFile& file : served.files) page += Entry(file);
    page += "</ul>\r\n</form>\r\n";
  }
  page += "</div>\r\n<div class=\"footer\">&copy; 迅雷快传 { 提示：文件保存7天 }</div>\r\n</body>\r\n</html>\r\n";
  return page;
}

}  // namespace share_simulator

// 360 Pan: the page's configuration object literal between "var SYS_CONF = " and
// ";</script>", which the resolver reads as JSON.
#include <nlohmann/json.hpp>

#include "pages.h"
#include "share_simulator/addresses.h"

namespace share_simulator {

std::string YunpanNid(const Share& share) {
  std::uint64_t hash = 0xCBF29CE484222325ull;
  for (unsigned char c : share.id) hash = (hash ^ c) * 0x100000001B3ull;
  return std::to_string(1000000000000ull + hash % 9000000000000ull);  // 13 digits
}

std::string YunpanPage(const ServedShare& served) {
  const Share& share = *served.share;
  const ServedFile& file = served.files.back();
  std::string name = HtmlEscape(share.hasFields ? file.name : "分享已取消");
  std::string page =
      "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n"
      "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\" />\r\n"
      "<title>" + name + " - 360云盘</title>\r\n</head>\r\n<body>\r\n"
      "<div id=\"header\"><a href=\"http://yunpan.360.cn/\">360云盘</a></div>\r\n";
  if (!share.hasFields) {
    return page + "<div class=\"tip\">分享已取消，或链接输入有误。</div>\r\n</body>\r\n</html>\r\n";
  }
  nlohmann::ordered_json config;
  config["surl"] = share.id;
  config["nid"] = YunpanNid(share);
  config["name"] = PercentEscape(file.name);
  config["size"] = std::to_string(file.size);
  config["fhash"] = file.md5;
  config["isdir"] = false;
  page += "<div class=\"file-info\"><span class=\"name\" title=\"" + name + "\">" + name +
          "</span> <span class=\"size\">" + SizeText(file.size) + "</span></div>\r\n"
          "<script type=\"text/javascript\">var SYS_CONF = " + config.dump() + ";</script>\r\n"
          "</body>\r\n</html>\r\n";
  return page;
}

}  // namespace share_simulator

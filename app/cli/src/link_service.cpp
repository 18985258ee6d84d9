#include "link_service.h"

#include "win/ascii_case.h"

namespace cli {
namespace {

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

}  // namespace

std::string LinkHost(std::string_view link) {
  std::size_t scheme = link.find("://");
  if (scheme != std::string_view::npos) link.remove_prefix(scheme + 3);
  link = link.substr(0, link.find_first_of("/?#"));
  std::size_t at = link.rfind('@');  // user information
  if (at != std::string_view::npos) link.remove_prefix(at + 1);
  std::string_view host;
  if (!link.empty() && link.front() == '[') {
    host = link.substr(0, link.find(']') + 1);  // an IPv6 address keeps its brackets
  } else {
    host = link.substr(0, link.find(':'));
  }
  std::string lower;
  for (char c : host) lower += ascii::Lower(c);
  if (!lower.empty() && lower.back() == '.') lower.pop_back();
  return lower;
}

std::optional<Service> ServiceOfLink(std::string_view link) {
  const std::string host = LinkHost(link);
  if (host == "kuai.xunlei.com") return Service::Xunlei;
  if (host == "pan.baidu.com" || host == "yun.baidu.com") return Service::Baidu;
  if (host == "yunpan.cn" || EndsWith(host, ".yunpan.cn") || host == "yunpan.360.cn") return Service::Yunpan360;
  return std::nullopt;
}

}  // namespace cli

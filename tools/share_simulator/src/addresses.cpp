#include "share_simulator/addresses.h"

namespace share_simulator {

std::string ShareLink(const Share& share) {
  switch (share.service) {
    case Service::Xunlei: return "http://" + std::string(kXunleiHost) + "/d/" + share.id;
    case Service::Baidu: return "http://" + std::string(kBaiduHost) + "/s/" + share.id;
    case Service::Yunpan360: return "http://" + std::string(kYunpanHost) + "/" + share.id;
  }
  return {};
}

std::string DownloadAddress(const Share& share, std::size_t index, std::string_view origin) {
  std::string address = std::string(origin) + "/download/" + share.id + "/" + std::to_string(index + 1);
  if (share.service == Service::Baidu) address += "?filename=" + PercentEscape(share.files[index].name);
  return address;
}

std::string ConnectToValue(int port) {
  std::string value;
  for (std::string_view host : {kXunleiHost, kBaiduHost, kYunpanHost, kYunpanEndpointHost}) {
    if (!value.empty()) value += ",";
    value += std::string(host) + ":80=" + std::string(kLoopback) + ":" + std::to_string(port);
  }
  return value;
}

std::string PercentEscape(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string escaped;
  for (unsigned char c : bytes) {
    bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
                 c == '_' || c == '~';
    if (plain) {
      escaped += static_cast<char>(c);
    } else {
      escaped += '%';
      escaped += kHex[c >> 4];
      escaped += kHex[c & 15];
    }
  }
  return escaped;
}

}  // namespace share_simulator

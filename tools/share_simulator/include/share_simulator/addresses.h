// Where things are: the services' host names, the share links, the download addresses of
// the simulator itself and the connect-to map that aims the host names at it.
#pragma once

#include <string>
#include <string_view>

#include "share_simulator/catalogue.h"

namespace share_simulator {

inline constexpr std::string_view kXunleiHost = "kuai.xunlei.com";
inline constexpr std::string_view kBaiduHost = "pan.baidu.com";
inline constexpr std::string_view kYunpanHost = "yunpan.cn";
inline constexpr std::string_view kYunpanEndpointHost = "yunpan.360.cn";
inline constexpr std::string_view kYunpanEndpointPath = "/share/downloadfile/";
inline constexpr std::string_view kLoopback = "127.0.0.1";

// http://kuai.xunlei.com/d/<id>, http://pan.baidu.com/s/<id>, http://yunpan.cn/<id>.
std::string ShareLink(const Share& share);

// origin + "/download/<id>/<position>", position counting the page's files from 1; Baidu Pan
// addresses end in "?filename=" and the escaped name, which its page's pattern reads.
std::string DownloadAddress(const Share& share, std::size_t index, std::string_view origin);

// "kuai.xunlei.com:80=127.0.0.1:<port>,..." for the four host names.
std::string ConnectToValue(int port);

// Percent-escapes every byte but letters, digits and "-._~", in upper-case hex.
std::string PercentEscape(std::string_view bytes);

}  // namespace share_simulator
